#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// Asks the programs listed for installation time to close (or tells them to
// quit, or asks the user to close them), then drops the entries that are not
// listed for uninstall time and gives the programs a moment to react.
void CloseProgramsBeforeInstall(Program& program);

}  // namespace brennick::win
