#include "startup/win/exit_installer.h"

#include "foundation/win/path_text_win.h"

namespace brennick::win {

namespace {

void DispatchPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

}  // namespace

void ExitInstaller(Program& program, int exitCode) {
  if (program.backgroundWindow != nullptr) {
    ::ShowWindow(program.backgroundWindow, SW_MINIMIZE);
    ::DestroyWindow(program.backgroundWindow);
    program.backgroundWindow = nullptr;
  }
  DispatchPendingMessages();
  if (!program.state.TempLogPath.empty()) {
    ::DeleteFileW(WidePath(program.state.TempLogPath).c_str());
  }
  EndNotification(program.notification);
  ::OleUninitialize();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace brennick::win
