#include "run/win/message_boxes.h"

#include <iterator>

#include "res/resource_ids.h"
#include "run/win/button_pictures.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"
#include "startup/win/machine_settings.h"

namespace brennick::win {

namespace {

// The labels for the box about to be shown. Message boxes are modal and run
// on the main thread, so one hook is pending at a time.
struct PendingRelabel {
  HHOOK hook = nullptr;
  std::string yes, no, cancel, retry;
};

thread_local PendingRelabel* pending = nullptr;

void SetButtonLabel(HWND box, int buttonId, const std::string& label) {
  if (label.empty()) return;
  const HWND button = ::GetDlgItem(box, buttonId);
  if (button != nullptr) ::SetWindowTextA(button, label.c_str());
}

// The buttons' pictures: OK and Yes the accept picture, No and Cancel the
// cancel picture, Retry its own.
constexpr struct {
  int buttonId;
  int bitmapId;
} kButtonPictures[] = {
    {IDOK, IDB_ACCEPT}, {IDYES, IDB_ACCEPT}, {IDNO, IDB_CANCEL}, {IDCANCEL, IDB_CANCEL}, {IDRETRY, IDB_RETRY}};

// Posted to the box when it is activated: some systems place the box's
// buttons only after that, so the buttons grow when this arrives. Until then
// the box's window procedure is wrapped, and the property keeps the original.
constexpr UINT kWidenButtons = WM_APP + 1;
constexpr wchar_t kBoxProcedure[] = L"Brennick.BoxProcedure";

LRESULT CALLBACK WidenButtonsWhenPosted(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto procedure = reinterpret_cast<WNDPROC>(::GetPropW(box, kBoxProcedure));
  if (message == kWidenButtons || message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    ::RemovePropW(box, kBoxProcedure);
    if (message == kWidenButtons) {
      for (const auto& picture : kButtonPictures) {
        if (const HWND button = ::GetDlgItem(box, picture.buttonId)) WidenButtonForPicture(button);
      }
      return 0;
    }
  }
  return ::CallWindowProcW(procedure, box, message, wParam, lParam);
}

// On systems whose buttons show a picture beside the text, the buttons get
// their pictures (their labels stay the language strings as they are); they
// grow to fit label and picture once the box has placed them.
void AddButtonPictures(HWND box) {
  if (!SystemShowsButtonPictures()) return;
  for (const auto& picture : kButtonPictures) {
    const HWND button = ::GetDlgItem(box, picture.buttonId);
    if (button == nullptr) continue;
    AddButtonPicture(button, picture.bitmapId);
  }
  const LONG_PTR procedure = ::GetWindowLongPtrW(box, GWLP_WNDPROC);
  if (procedure != 0 && ::SetPropW(box, kBoxProcedure, reinterpret_cast<HANDLE>(procedure))) {
    ::SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WidenButtonsWhenPosted));
    ::PostMessageW(box, kWidenButtons, 0, 0);
  }
}

bool IsDialogWindow(HWND window) {
  char className[16] = {};
  ::GetClassNameA(window, className, sizeof className);
  return std::string_view(className) == "#32770";
}

LRESULT CALLBACK RelabelOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  PendingRelabel* relabel = pending;
  const HHOOK hook = relabel != nullptr ? relabel->hook : nullptr;
  const LRESULT result = ::CallNextHookEx(hook, code, wParam, lParam);
  if (relabel != nullptr && code == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (IsDialogWindow(box)) {
      SetButtonLabel(box, IDYES, relabel->yes);
      SetButtonLabel(box, IDNO, relabel->no);
      SetButtonLabel(box, IDCANCEL, relabel->cancel);
      SetButtonLabel(box, IDRETRY, relabel->retry);
      AddButtonPictures(box);
      ::UnhookWindowsHookEx(relabel->hook);
      relabel->hook = nullptr;
      pending = nullptr;
    }
  }
  return result;
}

}  // namespace

int ShowMessageBox(Program& program, const std::string& text, const std::string& title, UINT type) {
  return ShowMessageBoxOver(program, program.backgroundWindow, text, title, type);
}

int ShowMessageBoxOver(Program& program, HWND owner, const std::string& text, const std::string& title, UINT type) {
  InstallerState& state = program.state;
  PendingRelabel relabel;
  relabel.yes = Message(state, MessageId::kYesButton);
  relabel.no = Message(state, MessageId::kNoButton);
  relabel.cancel = Message(state, MessageId::kCancelButton);
  relabel.retry = Message(state, MessageId::kRetryButton);
  relabel.hook = ::SetWindowsHookExA(WH_CBT, RelabelOnActivate, nullptr, ::GetCurrentThreadId());
  if (relabel.hook != nullptr) pending = &relabel;

  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  const int answer = ::MessageBoxA(owner, text.c_str(), title.c_str(), type | MB_SETFOREGROUND);

  // A box that never activated leaves its hook behind.
  if (relabel.hook != nullptr) ::UnhookWindowsHookEx(relabel.hook);
  if (pending == &relabel) pending = nullptr;
  return answer;
}

void ShowError(Program& program, const std::string& text) {
  InstallerState& state = program.state;
  if (text.empty()) return;
  if (state.AutomaticMode && !HasFlag(state.Settings.ProductFlags, flags::kErrorsInAutomaticMode)) return;
  std::string title = Message(state, MessageId::kErrorTitle);
  if (title.empty()) title = "Error";
  ShowMessageBox(program, text, title, MB_OK | MB_ICONERROR);
}

bool AskYesNo(Program& program, const std::string& text, const std::string& title) {
  return ShowMessageBox(program, text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool AskOkCancel(Program& program, const std::string& text, const std::string& title) {
  return ShowMessageBox(program, text, title, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

bool AskRetryCancel(Program& program, const std::string& text, const std::string& title) {
  return ShowMessageBox(program, text, title, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

void ShowInformation(Program& program, const std::string& text, const std::string& title) {
  ShowMessageBox(program, text, title, MB_OK | MB_ICONINFORMATION);
}

namespace {

[[noreturn]] void Cancel(Program& program, MessageId textMessage, MessageId titleMessage) {
  if (!program.state.AutomaticMode) {
    // Copies: the second lookup may not invalidate the first.
    const std::string text = Message(program.state, textMessage);
    const std::string title = Message(program.state, titleMessage);
    ShowMessageBox(program, text, title, MB_OK | MB_ICONEXCLAMATION);
  }
  ExitInstaller(program, 1);
}

}  // namespace

void CancelInstall(Program& program) { Cancel(program, MessageId::kInstallCancelled, MessageId::kInstallerCaption); }

void CancelUninstall(Program& program) {
  Cancel(program, MessageId::kUninstallCancelled, MessageId::kUninstallerCaption);
}

}  // namespace brennick::win
