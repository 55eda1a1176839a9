#pragma once

#include <string>

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// Removes the installed product registered under `name` under the Uninstall
// key, with what its Uninstall key and its uninstall data file say, in the
// fixed undo order. Returns true when the product is gone: every step ran
// and nothing failed. Returns false when it is not found, its uninstall
// information is unusable (the user has been told why) or something could
// not be removed (the product stays registered with what is left, so a
// later run can retry). Ends the process with code 1 when the user cancels.
bool RunUninstall(Program& program, InstallUi& ui, const std::string& name);

}  // namespace brennick::win
