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

}  // namespace

void ProgressPage::Open() {
  InstallerState& state = program_.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kShowProgress) || dialog_ != nullptr) {
    DispatchPendingMessages();
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
  DispatchPendingMessages();
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

void ProgressPage::SetItemLine(const std::wstring& text) {
  if (dialog_ != nullptr) ::SetDlgItemTextW(dialog_, IDC_PROGRESS_ITEM, text.c_str());
}

void ProgressPage::SetStatus(std::optional<MessageId> message) {
  stageStart_ = ::GetTickCount();
  if (dialog_ != nullptr) {
    SetItemText(dialog_, IDC_PROGRESS_ITEM, message ? Message(program_.state, *message) : std::string());
  }
  DispatchPendingMessages();
}

void ProgressPage::ShowItem(const std::string& path, std::optional<MessageId> message) {
  if (dialog_ != nullptr) {
    if (message) {
      SetItemText(dialog_, IDC_PROGRESS_ITEM, Message(program_.state, *message));
    } else {
      SetItemLine(WidePathText(path));
    }
  }
  DispatchPendingMessages();
}

void ProgressPage::SetProgress(int percent) {
  // The file loop asks for the same position for many files in a row; a post
  // that would not move the bar costs a round trip to the window system for
  // nothing. The pump below leaves no earlier position waiting in the queue.
  if (bar_ != nullptr && ::SendMessageW(bar_, PBM_GETPOS, 0, 0) != percent) {
    ::PostMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  }
  DispatchPendingMessages();
}

void ProgressPage::WaitStage(int milliseconds) {
  if (program_.state.AutomaticMode) return;
  if (stageStart_ == 0) {
    stageStart_ = ::GetTickCount();
    return;
  }
  for (int round = 0; round < milliseconds; ++round) {
    if (DispatchPendingMessages()) return;
    const auto elapsed = static_cast<std::int32_t>(::GetTickCount() - stageStart_);
    if (elapsed < 0 || elapsed >= milliseconds) return;
    ::Sleep(kStageSleepMs);
  }
}

void ProgressPage::Close() {
  if (dialog_ != nullptr) ::DestroyWindow(dialog_);
  DispatchPendingMessages();
}

}  // namespace brennick::win
