#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"
#include "ui/win/progress_page.h"

namespace brennick::win {

// The windows of a run: the wizard pages and the progress page, in the
// install run or in the uninstaller's (which shows only the progress page).
class WizardUi final : public InstallUi {
 public:
  WizardUi(Program& program, ProgressPage::Mode mode) : program_(program), progress_(program, mode) {}

  void ShowBackground(std::function<BackgroundLook()> look) override;
  PageResult ShowGreeting() override;
  bool EnterPassword() override;
  PageResult ShowLicense(const std::string& text) override;
  PageResult ShowReadme(const std::string& text) override;
  PageResult ShowFolderPage(std::string& folder) override;
  PageResult ShowStartMenuPage(std::string& folder) override;
  PageResult ShowMustUninstall() override;
  void ShowSummary() override;

  void OpenProgressPage() override { progress_.Open(); }
  void SetStatus(std::optional<MessageId> message) override { progress_.SetStatus(message); }
  void SetProgress(int percent) override { progress_.SetProgress(percent); }
  void ShowProgressItem(const std::string& path, std::optional<MessageId> message, std::uint64_t bytes) override {
    progress_.ShowItem(path, message, bytes);
  }
  void WaitStage(int milliseconds) override { progress_.WaitStage(milliseconds); }
  void CloseProgressPage() override { progress_.Close(); }

 private:
  Program& program_;
  ProgressPage progress_;
};

}  // namespace brennick::win
