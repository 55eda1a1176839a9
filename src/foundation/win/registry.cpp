#include "foundation/win/registry.h"

#include <vector>

#include "foundation/win/scoped_handle.h"

namespace brennick::win {

HKEY RootKeyOf(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::Users:
      return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
      return HKEY_DYN_DATA;
  }
  return HKEY_LOCAL_MACHINE;
}

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subKey, const std::string& name) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return std::nullopt;
  const ScopedRegistryKey key(raw);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::string();
  }
  std::vector<char> data(size + 1, '\0');
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return std::string();
  }
  return std::string(data.data());  // up to the first NUL, stored or not
}

std::string ReadRegistryString(const RegistryValuePath& value) {
  return ReadRegistryString(RootKeyOf(value.key.root), value.key.subKey, value.valueName).value_or(std::string());
}

}  // namespace brennick::win
