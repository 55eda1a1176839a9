#pragma once

#include <string>

#include "startup/win/program.h"

namespace brennick::win {

// Removes the installed product registered under `name`. Returns true when
// the product is gone; false when it is not found or the removal failed
// (the user has been told why).
bool RunUninstall(Program& program, const std::string& name);

}  // namespace brennick::win
