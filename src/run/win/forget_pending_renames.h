#pragma once

#include <set>
#include <string>

#include "startup/win/program.h"

namespace brennick::win {

// Drops from the system's list of operations pending for the next restart
// the moves onto and the deletions of the files in `deleted` (full paths,
// lower-cased), and moves the temporary source files of those moves to the
// recycle bin. With `withLog` each dropped operation is written to the
// install log. Nothing changes when the list cannot be read or written.
void ForgetPendingRenames(Program& program, const std::set<std::string>& deleted, bool withLog);

}  // namespace brennick::win
