#pragma once

#include <set>
#include <string>
#include <vector>

namespace brennick {

// What ForgetPendingRenamesIn did to a "PendingFileRenameOperations" list.
struct PendingRenameCleanup {
  bool changed = false;                      // a pair was removed: the list must be written back
  std::vector<std::string> sourcesToDelete;  // temporary files of dropped moves, leading "\\??\\" and "!" stripped
  std::string log;                           // "\r\n" first, then one line per dropped pair (when a log is wanted)
};

// Drops from the system's list of operations pending for the next restart
// (source, destination pairs; an empty destination deletes the source) every
// operation that concerns a file this run deleted. `deleted` holds full
// paths lower-cased (ASCII letters). An odd list is padded with one empty
// string first. A move whose destination (without its leading backslashes,
// question marks and exclamation marks, lower-cased) was deleted is dropped
// and its source named in `sourcesToDelete`, logged as
// "File \"%s\" was removed from the list of pending moves.\r\n"; a deletion
// whose source (stripped and lower-cased the same way) is empty or was
// deleted is dropped, logged as
// "File \"%s\" was removed from the list of pending deletions.\r\n". The log
// names the paths in the form they were compared in. After a dropped pair the
// pair that moved into its place is examined. Other programs' operations stay
// in their order. Nothing happens to an empty list; padding alone does not
// count as a change.
PendingRenameCleanup ForgetPendingRenamesIn(std::vector<std::string>& list, const std::set<std::string>& deleted,
                                           bool withLog);

}  // namespace brennick
