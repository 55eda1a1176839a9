#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// The uninstaller's path in the uninstall data folder (empty without an
// uninstaller).
std::string UninstallerPath(const InstallerState& state);

// Writes the uninstaller and the product's Uninstall key (ProductFlags bit
// 2): a copy of the running program (replaced at restart when an older
// uninstaller is running), or the program without its package; then every
// value, the author's extra values, the installation folder and date, the
// read-back check and the installation folder's own registry value. Failures
// go to the failure text.
void RegisterUninstall(Program& program);

// Writes "Uninstall.DAT" into the uninstall data folder (ProductFlags bit 2);
// a failure goes to the failure text.
void WriteUninstallDataFile(Program& program);

}  // namespace brennick::win
