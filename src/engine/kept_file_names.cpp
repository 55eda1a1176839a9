#include "engine/kept_file_names.h"

namespace brennick {

std::vector<KeptFile> KeptFileNames(const std::vector<std::string>& texts, std::string_view base) {
  std::vector<KeptFile> files;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].empty()) continue;
    const bool only = files.empty() && i + 1 == texts.size();
    files.push_back({std::string(base) + (only ? "" : std::to_string(files.size() + 1)) + ".txt", i});
  }
  return files;
}

}  // namespace brennick
