#include "ui/win/progress_page.h"

#include <commctrl.h>

#include "foundation/win/message_pump.h"
#include "foundation/win/path_text_win.h"
#include "res/resource_ids.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "ui/page_templates.h"
#include "ui/win/modal_page.h"
#include "ui/win/page_setup.h"

namespace brennick::win {

namespace {

constexpr DWORD kStageSleepMs = 50;
// The item line changes at most this often: a faster change is a flicker
// nobody can read, and each one costs a round trip to the window system.
constexpr DWORD kItemLineMs = 50;
// An item this large takes long enough to write that its name is always shown.
constexpr std::uint64_t kLargeItemBytes = 1 << 20;
// Calls closer together than this leave the waiting messages, and the bar's
// new position, to a later call: the page still answers and moves at 25
// frames a second, and a large item or a new stage is drawn at once.
constexpr DWORD kPumpMs = 40;

// True when `milliseconds` have passed since `since`, which then becomes now.
bool Due(DWORD& since, DWORD milliseconds) {
  const DWORD now = ::GetTickCount();
  if (since != 0 && now - since < milliseconds) return false;
  since = now;
  return true;
}

}  // namespace

void ProgressPage::Open() {
  InstallerState& state = program_.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kShowProgress) || dialog_ != nullptr) {
    Pump();
    return;
  }
  // The uninstaller always shows the banner look.
  const std::uint32_t style =
      mode_ == Mode::kUninstall ? 2 : state.Settings.PageStyles[static_cast<int>(PageKind::kProgress)];
  const std::string name = PageTemplateName(PageKind::kProgress, style);
  dialog_ = ::CreateDialogParamW(program_.instance, ToWide(name, CP_ACP).c_str(), program_.backgroundWindow,
                                 RouteDialogMessages<ProgressPage>, reinterpret_cast<LPARAM>(this));
  if (dialog_ == nullptr && ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    dialog_ = ::CreateDialogParamA(program_.instance, name.c_str(), program_.backgroundWindow,
                                   RouteDialogMessages<ProgressPage>, reinterpret_cast<LPARAM>(this));
  }
  if (dialog_ != nullptr) {
    SetPageTitles(
        program_, dialog_, TemplateLook(PageKind::kProgress, style),
        Message(state, mode_ == Mode::kUninstall ? MessageId::kUninstallerCaption : MessageId::kInstalling),
        Message(state, mode_ == Mode::kUninstall ? MessageId::kUninstallerCaption : MessageId::kInstallerCaption),
        state.ProductName);
    SetItemText(
        dialog_, IDC_PAGE_TEXT,
        Message(state, mode_ == Mode::kUninstall ? MessageId::kUninstallProgressHeading : MessageId::kProgressHeading));
    ::ShowWindow(dialog_, SW_SHOW);
    SetPumpDialog(dialog_);
  }
  Pump();
}

void ProgressPage::Attach(HWND dialog) {
  dialog_ = dialog;
  InitPage(program_, dialog_);
  bar_ = ::GetDlgItem(dialog_, IDC_PROGRESS_BAR);
  if (bar_ != nullptr) ::SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SetButtonLabel(program_, dialog_, IDC_CANCEL_PAGE, MessageId::kCancelButton, IDB_CANCEL);
  if (!CancelAllowed()) ::EnableWindow(::GetDlgItem(dialog_, IDC_CANCEL_PAGE), FALSE);
}

bool ProgressPage::CancelAllowed() const {
  return mode_ == Mode::kInstall && !HasFlag(program_.state.Settings.ProductFlags, flags::kNoProgressCancel);
}

INT_PTR ProgressPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_CANCEL_PAGE || LOWORD(wParam) == IDCANCEL) {
        AskToCancel();
        return TRUE;
      }
      return FALSE;
    case WM_QUERYENDSESSION:
      // No log-off or shutdown in the middle of an installation.
      ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, FALSE);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return ColourBannerText(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)).value_or(FALSE);
    case WM_DESTROY:
      SetPumpDialog(nullptr);
      bar_ = nullptr;
      dialog_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void ProgressPage::AskToCancel() {
  if (!CancelAllowed() || asking_) return;
  InstallerState& state = program_.state;
  asking_ = true;
  const std::string question = Message(state, MessageId::kCancelQuestion);
  const std::string title = Message(state, MessageId::kQuestionTitle);
  const bool yes = ShowMessageBoxOver(program_, dialog_, question, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
  asking_ = false;
  if (yes) CancelInstall(program_);  // nothing done so far is undone
}

bool ProgressPage::Pump() {
  lastPump_ = ::GetTickCount();
  // Each position the bar is given is drawn when it is handled, so one
  // position per dispatch: the latest.
  if (bar_ != nullptr && position_ != posted_) {
    posted_ = position_;
    ::PostMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(posted_), 0);
  }
  return DispatchPendingMessages();
}

void ProgressPage::PumpWhenDue() {
  if (Due(lastPump_, kPumpMs)) Pump();
}

void ProgressPage::SetItemLine(const std::string& text) {
  lastItem_ = ::GetTickCount();
  if (dialog_ != nullptr) SetItemText(dialog_, IDC_PROGRESS_ITEM, text);
}

void ProgressPage::SetItemPath(const std::string& path) {
  lastItem_ = ::GetTickCount();
  if (dialog_ != nullptr) ::SetDlgItemTextW(dialog_, IDC_PROGRESS_ITEM, WidePathText(path).c_str());
}

void ProgressPage::SetStatus(std::optional<MessageId> message) {
  stageStart_ = ::GetTickCount();
  // The archive stage begins again for every chunk, between the names of the
  // files it holds: a repeat is one more item line.
  if (message && message == lastStatus_ && !Due(lastItem_, kItemLineMs)) {
    PumpWhenDue();
    return;
  }
  lastStatus_ = message;
  SetItemLine(message ? Message(program_.state, *message) : std::string());
  Pump();
}

void ProgressPage::ShowItem(const std::string& path, std::optional<MessageId> message, std::uint64_t bytes) {
  if (dialog_ == nullptr || (bytes < kLargeItemBytes && !Due(lastItem_, kItemLineMs))) {
    PumpWhenDue();
    return;
  }
  if (message) {
    SetItemLine(Message(program_.state, *message));
  } else {
    SetItemPath(path);
  }
  Pump();
}

void ProgressPage::SetProgress(int percent) {
  position_ = percent;
  PumpWhenDue();
}

void ProgressPage::WaitStage(int milliseconds) {
  if (program_.state.AutomaticMode) return;
  if (stageStart_ == 0) {
    stageStart_ = ::GetTickCount();
    return;
  }
  for (int round = 0; round < milliseconds; ++round) {
    if (Pump()) return;
    const auto elapsed = static_cast<std::int32_t>(::GetTickCount() - stageStart_);
    if (elapsed < 0 || elapsed >= milliseconds) return;
    ::Sleep(kStageSleepMs);
  }
}

void ProgressPage::Close() {
  if (dialog_ != nullptr) ::DestroyWindow(dialog_);
  Pump();
}

}  // namespace brennick::win
