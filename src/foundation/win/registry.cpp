#include "foundation/win/registry.h"

#include <vector>

#include "foundation/win/dynamic_function.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/x86_view.h"

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

namespace {

// The key a call gave, or its error.
OpenedKey KeyOrError(LONG result, HKEY raw) {
  OpenedKey key;
  if (result == ERROR_SUCCESS) {
    key.key.reset(raw);
  } else {
    key.windowsError = static_cast<std::uint32_t>(result);
  }
  return key;
}

}  // namespace

OpenedKey OpenKey(HKEY root, const std::string& subKey, REGSAM access, REGSAM view) {
  HKEY raw = nullptr;
  const LONG result = ::RegOpenKeyExA(root, subKey.c_str(), 0, access | RegistryView(view), &raw);
  return KeyOrError(result, raw);
}

OpenedKey CreateKey(HKEY root, const std::string& subKey, REGSAM access, REGSAM view) {
  HKEY raw = nullptr;
  const LONG result =
      ::RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, access | RegistryView(view), nullptr, &raw, nullptr);
  return KeyOrError(result, raw);
}

OpenedKey CreateKey(const RegistryPath& path, REGSAM access, REGSAM view) {
  return CreateKey(RootKeyOf(path.root), path.subKey, access, view);
}

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subKey, const std::string& name) {
  const OpenedKey key = OpenKey(root, subKey, KEY_READ);
  if (!key.ok()) return std::nullopt;
  return ReadKeyString(key.get(), name);
}

std::string ReadKeyString(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::string();
  }
  std::vector<char> data(size + 1, '\0');
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return std::string();
  }
  return std::string(data.data());  // up to the first NUL, stored or not
}

std::optional<DWORD> ReadKeyNumber(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD number = 0;
  DWORD size = sizeof number;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return number;
}

namespace {

// RegDeleteKeyExA, where the system has it (it is the only way to delete a
// key in the other registry view); RegDeleteKeyA otherwise.
LONG DeleteOneKey(HKEY parent, const std::string& subKey, REGSAM view) {
  using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  static const auto deleteKeyEx = LookUpFunction<DeleteKeyExFn>(L"advapi32.dll", "RegDeleteKeyExA");
  if (deleteKeyEx != nullptr) return deleteKeyEx(parent, subKey.c_str(), RegistryView(view), 0);
  return ::RegDeleteKeyA(parent, subKey.c_str());
}

}  // namespace

LONG DeleteKeyTree(HKEY parent, const std::string& subKey, REGSAM view) {
  if (const OpenedKey key = OpenKey(parent, subKey, KEY_READ, view); key.ok()) {
    // Children are collected first: deleting while enumerating shifts the indices.
    std::vector<std::string> children;
    char name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      children.emplace_back(name, length);
    }
    for (const std::string& child : children) DeleteKeyTree(key.get(), child, view);
  }
  return DeleteOneKey(parent, subKey, view);
}

LONG DeleteKeyIfEmpty(HKEY parent, const std::string& subKey, REGSAM view) {
  DWORD subKeys = 0;
  DWORD values = 0;
  {
    const OpenedKey key = OpenKey(parent, subKey, KEY_READ, view);
    if (!key.ok()) return static_cast<LONG>(key.windowsError);
    const LONG queried = ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                            nullptr, nullptr, nullptr, nullptr);
    if (queried != ERROR_SUCCESS) return queried;
  }
  if (subKeys != 0 || values != 0) return ERROR_DIR_NOT_EMPTY;
  return DeleteOneKey(parent, subKey, view);
}

std::string ReadRegistryString(const RegistryValuePath& value) {
  return ReadRegistryString(RootKeyOf(value.key.root), value.key.subKey, value.valueName).value_or(std::string());
}

}  // namespace brennick::win
