#pragma once

#include <optional>
#include <string>

#include "foundation/registry_path.h"
#include "foundation/win/win.h"

namespace brennick::win {

HKEY RootKeyOf(RegistryRoot root);

// A string value of a key opened for reading: nothing when the key cannot be
// opened, empty text when the value is missing or not a string.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subKey, const std::string& name);

// The same for a value named by a registry path; empty when it is missing.
std::string ReadRegistryString(const RegistryValuePath& value);

}  // namespace brennick::win
