#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The key of the product's uninstall registration, below HKEY_LOCAL_MACHINE.
std::string UninstallKeyPath(const InstallerState& state);

// Looks for an earlier installation of the product (its uninstall
// registration, or the folder value the product records) and fills the
// Previous... fields and OverwritingVersion.
void FindEarlierInstallation(Program& program);

// Installing over the earlier installation: when it must be uninstalled
// first, hands over to its uninstaller through "utrri.bat" and ends the run;
// otherwise classifies the versions and asks whether to go on.
void ConfirmOverEarlierInstallation(Program& program, InstallUi& ui);

}  // namespace brennick::win
