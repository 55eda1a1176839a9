#pragma once

#include <cstdint>
#include <vector>

#include "startup/win/program.h"

namespace brennick::win {

// Asks the programs listed for installation time to close (or tells them to
// quit, or asks the user to close them), then drops the entries that are not
// listed for uninstall time and gives the programs a moment to react.
void CloseProgramsBeforeInstall(Program& program);

// The uninstaller's passes over its list: pass 2 before the user confirms,
// pass 4 after. A program that must be closed by the user is asked for until
// its window is gone or the user cancels the uninstallation.
void CloseListedPrograms(Program& program, const std::vector<ProgramToClose>& list, std::uint8_t pass);

}  // namespace brennick::win
