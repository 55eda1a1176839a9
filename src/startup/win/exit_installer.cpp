#include "startup/win/exit_installer.h"

#include "foundation/win/message_pump.h"

namespace brennick::win {

void ExitInstaller(Program& program, int exitCode) {
  if (program.backgroundWindow != nullptr) {
    ::ShowWindow(program.backgroundWindow, SW_MINIMIZE);
    ::DestroyWindow(program.backgroundWindow);
    program.backgroundWindow = nullptr;
  }
  DispatchPendingMessages();
  program.installLog.Discard();
  EndNotification(program.notification);
  ::OleUninitialize();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace brennick::win
