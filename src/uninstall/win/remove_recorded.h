#pragma once

#include <set>
#include <string>
#include <vector>

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// What DeleteRecordedFiles leaves for the later steps.
struct RecordedRemoval {
  std::vector<std::string> folders;  // the folder entries, without their "~"
  std::set<std::string> deleted;     // full paths of the deleted files, lower-cased (ASCII)
};

// Deletes every file of the removal list at once (read-only or not; a file
// in use is not scheduled for the next restart). A file that cannot be
// deleted is named in FailureText after language string 58 and recorded
// again in state.Lists, so the rewritten uninstall data file names it. The
// progress bar runs from 11 to 92 percent over the entries.
RecordedRemoval DeleteRecordedFiles(Program& program, InstallUi& ui, const std::vector<RemovalEntry>& entries);

// Removes each recorded folder, deepest first, and then its parents while
// they are empty, up to InstallDir (which stays for the last steps). Also
// deletes "thumbs.db" in each of them, in InstallDir and in UninstallDataDir.
// A recorded folder that cannot be removed is recorded again in state.Lists
// for the rewritten uninstall data file.
void RemoveRecordedFolders(Program& program, InstallUi& ui, const std::vector<std::string>& folders);

}  // namespace brennick::win
