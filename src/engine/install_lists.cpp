#include "engine/install_lists.h"

namespace brennick {

void RecordRemoval(InstallLists& lists, int kind, const std::string& path) {
  if (kind == 1) {
    std::string upper = path;
    for (char& c : upper) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (!lists.RecordedFolders.insert(upper).second) return;
  }
  lists.Removals.push_back({kind, path});
}

}  // namespace brennick
