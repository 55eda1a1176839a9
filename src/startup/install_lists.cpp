#include "startup/install_lists.h"

#include "foundation/text.h"

namespace brennick {

bool RecordRemoval(InstallLists& lists, int kind, const std::string& path) {
  if (path.size() <= 3) return false;
  if (kind == kRemoveFolder) {
    if (!lists.RecordedFolders.insert(UpperAscii(path)).second) return false;
  }
  lists.Removals.push_back({kind, path});
  return true;
}

void ClearRemovalList(InstallLists& lists) {
  lists.Removals.clear();
  lists.RecordedFolders.clear();
}

}  // namespace brennick
