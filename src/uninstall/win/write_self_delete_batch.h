#pragma once

#include "startup/installer_state.h"

namespace brennick::win {

// Writes "delunins.bat" into the temporary folder and starts it hidden: it
// deletes the running uninstaller once its process has ended, then the
// uninstall data folders and InstallDir when they are empty, then itself.
// False when the batch could not be written or started.
bool WriteSelfDeleteBatch(const InstallerState& state);

}  // namespace brennick::win
