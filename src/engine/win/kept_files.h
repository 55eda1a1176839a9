#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// Files kept beside the installation, each recorded for the uninstaller once
// written: the background bitmap as "Installer Background.BMP" in the
// uninstall data folder (ProductFlags bit 15, for the uninstaller's window),
// the readme texts (bit 46) and the licence texts (bit 47) as "readme*.txt"
// and "eula*.txt" in the installation folder. A file that cannot be written
// is left out silently. Ends the stage at progress 98.
void WriteKeptFiles(Program& program, InstallUi& ui);

}  // namespace brennick::win
