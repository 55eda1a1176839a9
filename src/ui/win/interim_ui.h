#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The install run's windows as far as this build has them: the greeting of
// the plain style (a message box), the stage clock and message dispatching
// of the progress page (whose window is not built yet). A wizard page this
// build does not have yet ends the run with a plain message saying so,
// instead of pretending it was shown.
class InterimUi final : public InstallUi {
 public:
  explicit InterimUi(Program& program) : program_(program) {}

  PageResult ShowGreeting() override;
  bool EnterPassword() override;
  PageResult ShowLicense(const std::string& text) override;
  PageResult ShowReadme(const std::string& text) override;
  PageResult ShowFolderPage(std::string& folder) override;
  PageResult ShowStartMenuPage(std::string& folder) override;
  PageResult ShowMustUninstall() override;
  void ShowSummary() override;

  void OpenProgressPage() override;
  void SetStatus(std::optional<MessageId> message) override;
  void SetProgress(int percent) override;
  void ShowProgressItem(const std::string& path, std::optional<MessageId> message) override;
  void WaitStage(int milliseconds) override;
  void CloseProgressPage() override;

 private:
  [[noreturn]] void PageMissing(const char* page);

  Program& program_;
  unsigned long stageStart_ = 0;  // GetTickCount at the last status change
};

}  // namespace brennick::win
