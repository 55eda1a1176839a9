#include <functional>
#include <vector>

#include "foundation/registry_path.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/x86_view.h"
#include "uninstall/undo_lists.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

namespace {

// Entries for every user carry this root; they apply to each profile under
// HKEY_USERS.
constexpr std::string_view kAllUsersRoot = "\\HKAU\\";

void DeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
  const OpenedKey key = OpenKey(root, subKey, KEY_READ | KEY_WRITE, view);
  if (!key.ok()) return;
  ::RegDeleteValueA(key.get(), name.c_str());
}

std::vector<std::string> UserProfiles() {
  std::vector<std::string> profiles;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (::RegEnumKeyExA(HKEY_USERS, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    profiles.emplace_back(name, length);
  }
  return profiles;
}

// "a\\b\\c" -> "a\\b"; false when there is no parent left.
bool ToParent(std::string& path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return false;
  path.resize(slash);
  return true;
}

// Deletes a key with everything under it, then its parents while they are
// empty, as long as `keepWalking` allows the remaining path.
void DeleteKeyAndEmptyParents(HKEY root, std::string path, REGSAM view, int levels,
                              const std::function<bool(const std::string&)>& keepWalking) {
  LONG result = DeleteKeyTree(root, path, view);
  for (int level = 0; result == ERROR_SUCCESS && level < levels && ToParent(path) && keepWalking(path); ++level) {
    result = DeleteKeyIfEmpty(root, path, view);
  }
}

void DeleteProductRegistryKey(UninstallRun& run) {
  const std::string productRegistry = ReadKeyString(run.productKey, "ProductRegistry");
  if (productRegistry.empty()) return;
  const std::string path = "Software\\" + productRegistry;
  DeleteKeyAndEmptyParents(HKEY_LOCAL_MACHINE, path, run.view, 20, [](const std::string&) { return true; });
  // In the user profiles the walk stops above "Software\\x": the key
  // Software itself is never touched.
  for (const std::string& profile : UserProfiles()) {
    const std::string profilePrefix = profile + "\\";
    DeleteKeyAndEmptyParents(HKEY_USERS, profilePrefix + path, run.view, 20, [&](const std::string& remaining) {
      return remaining.size() >= profilePrefix.size() + 10;
    });
  }
  ::RegDeleteValueA(run.productKey, "ProductRegistry");
}

void UndoRegistryEntry(const RegistryEntryUndo& undo, REGSAM view) {
  const bool allUsers = undo.Key.starts_with(kAllUsersRoot);
  if (allUsers) {
    const std::string subKey = undo.Key.substr(kAllUsersRoot.size());
    for (const std::string& profile : UserProfiles()) {
      if (undo.kind == RegistryEntryUndo::Kind::Key) {
        DeleteKeyIfEmpty(HKEY_USERS, profile + "\\" + subKey, view);
      } else {
        DeleteValue(HKEY_USERS, profile + "\\" + subKey, undo.ValueName, view);
      }
    }
    return;
  }
  const std::optional<RegistryPath> key = ParseRegistryPath(undo.Key);
  if (!key) return;
  if (undo.kind == RegistryEntryUndo::Kind::Key) {
    DeleteKeyIfEmpty(RootKeyOf(key->root), key->subKey, view);
  } else {
    DeleteValue(RootKeyOf(key->root), key->subKey, undo.ValueName, view);
  }
}

}  // namespace

void UndoRegistry(UninstallRun& run) {
  for (const std::string& line : run.data.RegistryValues) {
    const std::optional<RegistryValuePath> value = ParseRegistryValuePath(line);
    if (value) DeleteValue(RootKeyOf(value->key.root), value->key.subKey, value->valueName, 0);
  }
  DeleteProductRegistryKey(run);
  for (const std::string& line : run.data.RegistryEntries) {
    const RegistryEntryUndo undo = ClassifyRegistryEntry(line);
    if (undo.kind != RegistryEntryUndo::Kind::Nothing) UndoRegistryEntry(undo, run.view);
  }
}

}  // namespace brennick::win
