#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// May this installation run here? The product's bitness, the excluded
// Windows versions, administrator rights, the master product and the single
// instance, in that order. A refusal shows its message (where the run may
// show one) and ends the process with exit code 1.
void AdmitInstallation(Program& program);

}  // namespace brennick::win
