#include "foundation/win/run_and_wait.h"

#include "foundation/win/message_pump.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

namespace {

// How often the program's windows get their messages while the command runs.
constexpr DWORD kMessageInterval = 75;

}  // namespace

std::uint32_t RunAndWait(std::wstring command, const std::string& folder, bool hidden) {
  const std::wstring directory = WidePath(folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
  }
  const ScopedKernelHandle thread(process.hThread);
  const ScopedKernelHandle child(process.hProcess);
  const HANDLE handle = child.get();
  for (;;) {
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, kMessageInterval, QS_ALLINPUT);
    if (woken != WAIT_TIMEOUT && woken != WAIT_OBJECT_0 + 1) break;  // ended, or the wait itself failed
    DispatchPendingMessages();
  }
  return 0;
}

}  // namespace brennick::win
