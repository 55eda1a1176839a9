#pragma once

// toml++, header-only, with exceptions: every file of the builder that reads
// TOML includes it through here, so all agree on the configuration.
#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 1
#include <toml++/toml.h>
