#include "uninstall/win/run_uninstall.h"

#include <cstdio>

#include "engine/uninstall_key_values.h"
#include "engine/win/message_boxes.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

bool RunUninstall(Program& program, const std::string& name) {
  HKEY rawKey = nullptr;
  const LONG opened = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKeyPathOf(name).c_str(), 0, KEY_READ, &rawKey);
  const ScopedRegistryKey key(rawKey);
  if (opened == ERROR_ACCESS_DENIED) {
    ShowError(program, "Permission denied.  Please login with an administrator account before uninstalling.");
    return false;
  }
  if (opened != ERROR_SUCCESS) {
    ShowError(program, "No product named '" + name + "' is installed.");
    return false;
  }
  // The product is registered, but the removal itself (uninstall data file,
  // undo steps) is not part of this build yet.
  ShowError(program, "'" + name + "' is installed, but this build of " + program.state.FamilyName +
                         " cannot remove products yet.");
  return false;
}

}  // namespace brennick::win
