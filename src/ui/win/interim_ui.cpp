#include "ui/win/interim_ui.h"

#include "foundation/win/message_pump.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"

namespace brennick::win {

void InterimUi::PageMissing(const char* page) {
  InstallerState& state = program_.state;
  ShowMessageBox(program_,
                 std::string("This installation needs the ") + page + " page, which is not part of this build of " +
                     state.FamilyName + " yet. Run it with /a to install without pages.",
                 Message(state, MessageId::kInstallerTitle), MB_OK | MB_ICONINFORMATION);
  ExitInstaller(program_, 1);
}

PageResult InterimUi::ShowGreeting() {
  InstallerState& state = program_.state;
  if (state.Settings.PageStyles[0] != 0) PageMissing("greeting");
  // The plain style greets with a message box.
  const int answer = ShowMessageBox(program_, Message(state, MessageId::kGreetingText),
                                    Message(state, MessageId::kInstallerCaption), MB_OKCANCEL | MB_ICONINFORMATION);
  return answer == IDCANCEL ? PageResult::Cancel : PageResult::Continue;
}

bool InterimUi::EnterPassword() { PageMissing("password"); }
PageResult InterimUi::ShowLicense(const std::string&) { PageMissing("licence"); }
PageResult InterimUi::ShowReadme(const std::string&) { PageMissing("readme"); }
PageResult InterimUi::ShowFolderPage(std::string&) { PageMissing("destination folder"); }
PageResult InterimUi::ShowStartMenuPage(std::string&) { PageMissing("Start menu folder"); }
PageResult InterimUi::ShowMustUninstall() { PageMissing("uninstall-first"); }
void InterimUi::ShowSummary() { PageMissing("summary"); }

// The progress page only shows how far the run is; without it the run goes
// on unchanged, so its absence does not stop an installation.
void InterimUi::OpenProgressPage() { stageStart_ = ::GetTickCount(); }

void InterimUi::SetStatus(std::optional<MessageId>) {
  stageStart_ = ::GetTickCount();
  DispatchPendingMessages();
}

// Without a progress window there is nothing to repaint: the file loop's own
// dispatching once per file keeps the program responsive.
void InterimUi::SetProgress(int) {}

void InterimUi::ShowProgressItem(const std::string&, std::optional<MessageId>) {}

void InterimUi::WaitStage(int milliseconds) {
  for (;;) {
    DispatchPendingMessages();
    const unsigned long elapsed = ::GetTickCount() - stageStart_;
    if (elapsed >= static_cast<unsigned long>(milliseconds)) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - elapsed, QS_ALLINPUT);
  }
}

void InterimUi::CloseProgressPage() { DispatchPendingMessages(); }

}  // namespace brennick::win
