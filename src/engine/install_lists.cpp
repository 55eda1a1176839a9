#include "engine/install_lists.h"

namespace brennick {

bool RecordRemoval(InstallLists& lists, int kind, const std::string& path) {
  if (path.size() <= 3) return false;
  if (kind == kRemoveFolder) {
    std::string upper = path;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (!lists.RecordedFolders.insert(upper).second) return false;
  }
  lists.Removals.push_back({kind, path});
  return true;
}

void ClearRemovalList(InstallLists& lists) {
  lists.Removals.clear();
  lists.RecordedFolders.clear();
}

}  // namespace brennick
