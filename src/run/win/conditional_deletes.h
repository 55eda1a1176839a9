#pragma once

#include <vector>

#include "package/settings_record.h"
#include "startup/win/program.h"

namespace brennick::win {

enum class DeletionPass { Install, Uninstall };

// Deletes the files that the entries of `entries` marked for this pass match
// (names with variables and wildcards, relative to InstallDir) and whose
// condition holds, at once or at the next restart as each entry says. The
// install pass logs each deletion to the install log and adds failures of
// the restart registration to FailureText; the uninstall pass drops from
// `entries` the ones that were carried out and keeps the others silently,
// for the rewritten uninstall data file. A scheduled deletion marks the run
// as needing a restart. A date condition that is not a valid date ends the
// program as a damaged package (code 65).
void RunConditionalDeletes(Program& program, DeletionPass pass, std::vector<FileDeletionEntry>& entries);

}  // namespace brennick::win
