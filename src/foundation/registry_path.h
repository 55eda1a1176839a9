#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennick {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot, Users, CurrentConfig, DynData };

struct RegistryPath {
  RegistryRoot root = RegistryRoot::LocalMachine;
  std::string subKey;
};

struct RegistryValuePath {
  RegistryPath key;
  std::string valueName;
};

// "\\HKLM\\Software\\Example": one of the six root prefixes ("\\HKLM\\",
// "\\HKCU\\", "\\HKCR\\", "\\HKU\\", "\\HKCC\\", "\\HKDD\\", exact letter case),
// then the sub-key. The prefixes without their last backslash are tried
// second. Nothing for any other root.
std::optional<RegistryPath> ParseRegistryPath(std::string_view path);

// A key path and a value name separated by the last backslash
// ("\\HKLM\\Software\\Example\\Dir").
std::optional<RegistryValuePath> ParseRegistryValuePath(std::string_view path);

// An installation folder setting that names a registry value: "HKLM\\" or
// "HKCU\\" in any letter case, then the key path and the value name.
std::optional<RegistryValuePath> ParseRegistryFolderSetting(std::string_view setting);

}  // namespace brennick
