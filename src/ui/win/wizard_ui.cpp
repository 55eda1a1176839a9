#include "ui/win/wizard_ui.h"

#include "ui/win/background_window.h"
#include "ui/win/wizard_pages.h"

namespace brennick::win {

void WizardUi::ShowBackground(std::function<BackgroundLook()> look) {
  program_.backgroundWindow = CreateBackgroundWindow(program_, std::move(look));
}

PageResult WizardUi::ShowGreeting() { return win::ShowGreeting(program_); }
bool WizardUi::EnterPassword() { return AskPassword(program_); }
PageResult WizardUi::ShowLicense(const std::string& text) { return ShowLicensePage(program_, text); }
PageResult WizardUi::ShowReadme(const std::string& text) { return ShowReadmePage(program_, text); }
PageResult WizardUi::ShowFolderPage(std::string& folder) { return win::ShowFolderPage(program_, folder); }
PageResult WizardUi::ShowStartMenuPage(std::string& folder) { return win::ShowStartMenuPage(program_, folder); }
PageResult WizardUi::ShowMustUninstall() { return win::ShowMustUninstall(program_); }
void WizardUi::ShowSummary() { win::ShowSummary(program_); }

}  // namespace brennick::win
