#include "run/win/close_programs.h"

#include <algorithm>
#include <vector>

#include "foundation/message_format.h"
#include "foundation/win/message_pump.h"
#include "run/win/message_boxes.h"
#include "run/window_match.h"
#include "startup/installer_settings.h"

namespace brennick::win {

namespace {

constexpr std::uint8_t kInstallPass = 1;
constexpr std::uint8_t kUninstallPasses = 2 | 4;
constexpr DWORD kSettleTime = 333;  // milliseconds for the programs to react

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::string WindowText(HWND window, bool className) {
  char text[512] = {};
  const int length =
      className ? ::GetClassNameA(window, text, sizeof text) : ::GetWindowTextA(window, text, sizeof text);
  return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

// The uninstaller brings the window forward before it asks the program to
// close; the installer only asks.
struct ClosePass {
  std::uint8_t passBit;
  bool bringForward;
  MessageId captionMessage;
  void (*cancel)(Program&);
};

void CloseWindow(Program& program, HWND window, const ProgramToClose& entry, const ClosePass& pass) {
  InstallerState& state = program.state;
  if (pass.bringForward && entry.Action != 2) {
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
  }
  switch (entry.Action) {
    case 0:
      ::PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case 1:
      ::PostMessageA(window, WM_QUIT, 0, 0);
      break;
    case 2:
      while (::IsWindow(window)) {
        if (!AskRetryCancel(program,
                            FormatLanguageString(Message(state, MessageId::kCloseProgramFirst), {entry.DisplayName}),
                            Message(state, pass.captionMessage))) {
          pass.cancel(program);
        }
      }
      break;
    default:
      break;
  }
}

// Each top-level window of another process is handled by the first entry
// of this pass that matches it.
void CloseMatchingWindows(Program& program, const std::vector<ProgramToClose>& list, const ClosePass& pass) {
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  const DWORD self = ::GetCurrentProcessId();
  for (const HWND window : windows) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == self) continue;
    const std::string windowClass = WindowText(window, true);
    const std::string title = WindowText(window, false);
    for (const ProgramToClose& entry : list) {
      if ((entry.PassMask & pass.passBit) == 0 || !MatchesProgramToClose(entry, windowClass, title)) continue;
      CloseWindow(program, window, entry, pass);
      break;
    }
  }
}

// Lets the closing programs run: messages are handled for a third of a
// second, idle rounds sleeping 25 ms and then longer, up to 100 ms.
void Settle() {
  const DWORD start = ::GetTickCount();
  DWORD pause = 25;
  while (::GetTickCount() - start < kSettleTime) {
    MSG message;
    if (::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      DispatchPendingMessages();
      continue;
    }
    ::Sleep(pause);
    pause = std::min<DWORD>(pause + 2, 100);
  }
}

}  // namespace

void CloseProgramsBeforeInstall(Program& program) {
  std::vector<ProgramToClose>& list = program.state.Settings.ProgramsToClose;
  if (list.empty()) return;
  CloseMatchingWindows(program, list,
                       {kInstallPass, false, MessageId::kInstallerCaption, [](Program& p) { CancelInstall(p); }});
  std::erase_if(list, [](const ProgramToClose& e) { return (e.PassMask & kUninstallPasses) == 0; });
  Settle();
}

void CloseListedPrograms(Program& program, const std::vector<ProgramToClose>& list, std::uint8_t pass) {
  if (list.empty()) return;
  CloseMatchingWindows(program, list,
                       {pass, true, MessageId::kUninstallerCaption, [](Program& p) { CancelUninstall(p); }});
}

}  // namespace brennick::win
