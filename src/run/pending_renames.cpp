#include "run/pending_renames.h"

#include <string_view>

#include "foundation/text.h"

namespace brennick {

namespace {

// The path without the object-manager prefix ("\\??\\") and the "replace"
// mark ("!") in front of it.
std::string_view WithoutPrefix(std::string_view path) {
  while (!path.empty() && (path.front() == '\\' || path.front() == '?' || path.front() == '!')) path.remove_prefix(1);
  return path;
}

}  // namespace

PendingRenameCleanup ForgetPendingRenamesIn(std::vector<std::string>& list, const std::set<std::string>& deleted,
                                           bool withLog) {
  PendingRenameCleanup result;
  if (list.empty()) return result;
  if (withLog) result.log = "\r\n";
  if (list.size() % 2 != 0) list.emplace_back();

  std::size_t i = 0;
  while (i < list.size()) {
    const std::string& source = list[i];
    const std::string& destination = list[i + 1];
    bool drop = false;
    if (!destination.empty()) {
      const std::string target = LowerAscii(WithoutPrefix(destination));
      if (deleted.contains(target)) {
        if (withLog) result.log += "File \"" + target + "\" was removed from the list of pending moves.\r\n";
        result.sourcesToDelete.emplace_back(WithoutPrefix(source));
        drop = true;
      }
    } else {
      const std::string doomed = LowerAscii(WithoutPrefix(source));
      if (doomed.empty() || deleted.contains(doomed)) {
        if (withLog) result.log += "File \"" + doomed + "\" was removed from the list of pending deletions.\r\n";
        drop = true;
      }
    }
    if (drop) {
      // The next pair moves into this place and is examined next.
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i), list.begin() + static_cast<std::ptrdiff_t>(i + 2));
      result.changed = true;
    } else {
      i += 2;
    }
  }
  return result;
}

}  // namespace brennick
