#include "foundation/win/privilege.h"

#include "foundation/win/scoped_handle.h"

namespace brennick::win {

bool EnablePrivilege(const char* name) {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
  const ScopedKernelHandle token(rawToken);

  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) return false;
  // Succeeds even when the token lacks the privilege; the last error tells.
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
  return ::GetLastError() == ERROR_SUCCESS;
}

void RequestRestart() {
  EnablePrivilege("SeShutdownPrivilege");
  ::ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG,
                  SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED);
}

}  // namespace brennick::win
