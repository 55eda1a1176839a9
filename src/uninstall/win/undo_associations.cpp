#include "foundation/win/win.h"

#include <shlobj.h>

#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/x86_view.h"
#include "uninstall/undo_lists.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

namespace {

// A key to edit; none below a key that could not be opened.
OpenedKey OpenToEdit(HKEY parent, const std::string& subKey) {
  return parent == nullptr ? OpenedKey{} : OpenKey(parent, subKey, KEY_READ | KEY_WRITE);
}

// A non-empty backup value becomes the key's default value again. True when
// there was one.
bool RestoreBackup(HKEY key, const std::string& backupName) {
  if (key == nullptr) return false;
  const std::string backup = ReadKeyString(key, backupName);
  if (backup.empty()) return false;
  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(backup.c_str()),
                   static_cast<DWORD>(backup.size() + 1));
  ::RegDeleteValueA(key, backupName.c_str());
  return true;
}

bool HasSubKeys(HKEY key) {
  DWORD subKeys = 0;
  return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
         subKeys != 0;
}

void UndoAssociation(const FileAssociation& association, const std::string& backupName) {
  const bool deleteExtension = !RestoreBackup(OpenToEdit(HKEY_CLASSES_ROOT, association.ExtensionKey).get(), backupName);
  OpenedKey fileType = OpenToEdit(HKEY_CLASSES_ROOT, association.FileTypeKey);
  if (!fileType.ok()) return;
  RestoreBackup(fileType.get(), backupName);
  RestoreBackup(OpenToEdit(fileType.get(), "DefaultIcon").get(), backupName);
  {
    const OpenedKey shell = OpenToEdit(fileType.get(), "shell");
    if (shell.ok()) {
      RestoreBackup(shell.get(), backupName);
      if (!RestoreBackup(OpenToEdit(shell.get(), association.Verb + "\\command").get(), backupName)) {
        DeleteKeyTree(shell.get(), association.Verb, 0);
      }
    }
    if (shell.ok() && !HasSubKeys(shell.get())) DeleteKeyTree(fileType.get(), "shell", 0);
  }
  if (HasSubKeys(fileType.get())) return;
  fileType.key.reset();
  DeleteKeyTree(HKEY_CLASSES_ROOT, association.FileTypeKey, 0);
  if (deleteExtension) DeleteKeyTree(HKEY_CLASSES_ROOT, association.ExtensionKey, 0);
}

}  // namespace

bool UndoAssociations(UninstallRun& run) {
  const std::string backupName = AssociationBackupName(run.program.state.ProductName);
  bool any = false;
  for (const FileAssociation& association : run.data.Associations) {
    if (association.ExtensionKey.empty() || association.FileTypeKey.empty()) continue;
    UndoAssociation(association, backupName);
    any = true;
  }
  if (any) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return any;
}

}  // namespace brennick::win
