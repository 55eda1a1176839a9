#pragma once

#include "run/install_ui.h"
#include "startup/win/open_package.h"
#include "startup/win/program.h"

namespace brennick::win {

// The installation, from the admission checks to the process exit, through
// `ui` for every page and the progress. `archive` has had its size and
// checksum checked by the caller, before anything was changed. Ends with exit
// code 1 in every case, a completed installation included.
[[noreturn]] void RunInstall(Program& program, InstallUi& ui, const StoredArchive& archive);

}  // namespace brennick::win
