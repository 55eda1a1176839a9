#pragma once

#include <string>

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The install run's modal pages. Each returns Cancel (or false) when the
// user turned it down; the run decides what follows.
PageResult ShowGreeting(Program& program);
PageResult ShowLicensePage(Program& program, const std::string& text);
PageResult ShowReadmePage(Program& program, const std::string& text);
PageResult ShowFolderPage(Program& program, std::string& folder);
PageResult ShowStartMenuPage(Program& program, std::string& folder);
PageResult ShowMustUninstall(Program& program);
bool AskPassword(Program& program);
// The end choices offered to the user go into state.Chosen.
void ShowSummary(Program& program);

}  // namespace brennick::win
