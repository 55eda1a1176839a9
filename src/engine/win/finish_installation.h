#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The steps that close an installation: the restart marker, the last
// progress stage, the restore point commit, the install log record and the
// end messages, the restart decision, removal of folders left empty, and
// then the restart or the launches at exit. Ends the process (exit code 1).
[[noreturn]] void FinishInstallation(Program& program, InstallUi& ui, bool isReinstall);

}  // namespace brennick::win
