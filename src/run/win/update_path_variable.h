#pragma once

#include <string>

#include "run/path_variable.h"
#include "startup/installer_state.h"

namespace brennick::win {

// Adds InstallDir to the system's PATH or removes it again: the "Path"
// environment value of the machine on Windows NT, "autoexec.bat" on the boot
// drive on Windows 9x. Returns a message for the user when the change could
// not be made and must be done by hand, else empty text.
std::string UpdatePathVariable(const InstallerState& state, PathChange change);

}  // namespace brennick::win
