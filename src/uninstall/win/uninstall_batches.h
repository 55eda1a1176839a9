#pragma once

#include "uninstall/win/uninstall_run.h"

namespace brennick::win {

// Runs the uninstall batch kept in the product key's value `valueName` in
// InstallDir (hidden or not) and deletes the value: a batch runs once.
void RunUninstallBatch(UninstallRun& run, const char* valueName, bool hidden);

}  // namespace brennick::win
