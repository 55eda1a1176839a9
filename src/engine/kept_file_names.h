#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {

// One text of a readme or licence list and the file it is written to.
struct KeptFile {
  std::string name;
  std::size_t text = 0;  // index in the list
  bool operator==(const KeptFile&) const = default;
};

// The files for the non-empty texts of a list, in list order: `base` + ".txt"
// when the first non-empty text is also the list's last entry, otherwise
// `base` + 1, 2, 3, ... + ".txt", counting only the non-empty texts.
std::vector<KeptFile> KeptFileNames(const std::vector<std::string>& texts, std::string_view base);

}  // namespace brennick
