#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// Begins a System Restore point for the installation (ProductFlags2 bit 1),
// logging the outcome; a failure clears bit 1 so no commit is tried.
void BeginRestorePoint(Program& program);

// Ends the restore point begun by BeginRestorePoint. False when it fails.
bool CommitRestorePoint(Program& program);

}  // namespace brennick::win
