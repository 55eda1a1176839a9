#pragma once

#include <filesystem>

namespace brennick::build {

// Prints what a setup holds (header, settings, files) as JSON on standard
// output. Returns the exit code; throws BuildError for what cannot be read.
int RunInspect(const std::filesystem::path& setup);

}  // namespace brennick::build
