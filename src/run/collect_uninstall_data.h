#pragma once

#include "run/uninstall_data.h"
#include "startup/installer_state.h"

namespace brennick {

// What the installation leaves for its uninstaller, as it stands at the end
// of the run: the removal list, the uninstaller's language strings in the
// chosen language with the product-text markers replaced (the uninstaller
// shows them as they are), WindowTitle, the program-closing list, the
// registry entries text line by line, and the file deletions (the writer
// keeps those for the uninstaller).
UninstallData CollectUninstallData(InstallerState& state);

}  // namespace brennick
