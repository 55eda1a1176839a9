#pragma once

#include <string>

#include "startup/win/program.h"

namespace brennick::win {

// Runs installation batch commands: writes them into "SETUPBAT.BAT" in a
// private folder of the user's temporary folder (PrivateFolder) behind SET
// lines that give the installer's folders and versions, runs that through
// the command interpreter in `folder` (its window hidden when asked),
// waits for it while keeping this thread's windows alive, and deletes the
// file. In automatic mode and for a hidden batch the lines that would wait
// for a key are left out. With a `label`, the batch's output goes to the
// install log under it (nullptr: not captured). Returns true when there was
// nothing to run or the batch ran; false, after telling the user (unless
// automatic), when the file could not be written or the interpreter not be
// started. What the batch itself does is not checked.
bool RunInstallBatch(Program& program, const std::string& folder, bool hidden, const std::string& commands,
                     const char* label);

// The five batches of the installer settings, each run at its moment of
// the installation with its own hidden and output-logging flags.
enum class SettingsBatch { PreInstall, Upgrade, Reinstall, PostInstall, Exit };

// Runs one of them in InstallDir (the settings text followed by the
// command line's extra lines where the batch has them).
void RunSettingsBatch(Program& program, SettingsBatch batch);

}  // namespace brennick::win
