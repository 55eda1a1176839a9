#include "foundation/registry_path.h"

#include "foundation/text.h"

namespace brennick {

namespace {

struct Prefix {
  std::string_view text;
  RegistryRoot root;
};

constexpr Prefix kPrefixes[] = {
    {"\\HKLM\\", RegistryRoot::LocalMachine}, {"\\HKCU\\", RegistryRoot::CurrentUser},
    {"\\HKCR\\", RegistryRoot::ClassesRoot},  {"\\HKU\\", RegistryRoot::Users},
    {"\\HKCC\\", RegistryRoot::CurrentConfig}, {"\\HKDD\\", RegistryRoot::DynData},
};

std::optional<RegistryValuePath> SplitValueName(RegistryPath key) {
  const std::size_t cut = key.subKey.find_last_of('\\');
  RegistryValuePath value;
  if (cut == std::string::npos) {
    value.valueName = key.subKey;
    key.subKey.clear();
  } else {
    value.valueName = key.subKey.substr(cut + 1);
    key.subKey.resize(cut);
  }
  value.key = std::move(key);
  return value;
}

}  // namespace

std::optional<RegistryPath> ParseRegistryPath(std::string_view path) {
  for (const Prefix& p : kPrefixes) {
    if (path.starts_with(p.text)) return RegistryPath{p.root, std::string(path.substr(p.text.size()))};
  }
  for (const Prefix& p : kPrefixes) {
    const std::string_view shorter = p.text.substr(0, p.text.size() - 1);
    if (path.starts_with(shorter)) return RegistryPath{p.root, std::string(path.substr(shorter.size()))};
  }
  return std::nullopt;
}

std::optional<RegistryValuePath> ParseRegistryValuePath(std::string_view path) {
  auto key = ParseRegistryPath(path);
  if (!key) return std::nullopt;
  return SplitValueName(std::move(*key));
}

std::optional<RegistryValuePath> ParseRegistryFolderSetting(std::string_view setting) {
  RegistryPath key;
  if (StartsWithNoCase(setting, "HKLM\\")) {
    key.root = RegistryRoot::LocalMachine;
  } else if (StartsWithNoCase(setting, "HKCU\\")) {
    key.root = RegistryRoot::CurrentUser;
  } else {
    return std::nullopt;
  }
  key.subKey = std::string(setting.substr(5));
  return SplitValueName(std::move(key));
}

}  // namespace brennick
