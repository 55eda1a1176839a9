#include "corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace brennick::bench {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCorpusSize = 32u << 20;

struct Source {
  const char* folder;
  const char* extension;
  bool recursive;
};

// gcc-mingw-w64-i686-posix, mingw-w64-i686-dev and mingw-w64-common.
constexpr Source kSources[] = {
    {"/usr/lib/gcc/i686-w64-mingw32/12-posix", ".a", false},
    {"/usr/i686-w64-mingw32/lib", ".a", false},
    {"/usr/share/mingw-w64/include", ".h", true},
};

std::vector<fs::path> SortedFiles(const Source& source) {
  std::vector<fs::path> files;
  const auto take = [&](const fs::directory_entry& entry) {
    if (entry.is_regular_file() && entry.path().extension() == source.extension) files.push_back(entry.path());
  };
  if (source.recursive) {
    for (const auto& entry : fs::recursive_directory_iterator(source.folder)) take(entry);
  } else {
    for (const auto& entry : fs::directory_iterator(source.folder)) take(entry);
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Append(std::vector<std::uint8_t>& corpus, const Source& source, std::size_t quota) {
  const std::size_t end = corpus.size() + quota;
  for (const fs::path& file : SortedFiles(source)) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t take = std::min(bytes.size(), end - corpus.size());
    corpus.insert(corpus.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    if (corpus.size() == end) return;
  }
  throw std::runtime_error(std::string("not enough data in ") + source.folder + " for the corpus");
}

std::vector<std::uint8_t> Build() {
  std::vector<std::uint8_t> corpus;
  corpus.reserve(kCorpusSize);
  const std::size_t part = kCorpusSize / std::size(kSources);
  for (std::size_t i = 0; i < std::size(kSources); ++i) {
    Append(corpus, kSources[i], i + 1 < std::size(kSources) ? part : kCorpusSize - corpus.size());
  }
  return corpus;
}

}  // namespace

const std::vector<std::uint8_t>& Corpus() {
  static const std::vector<std::uint8_t> corpus = Build();
  return corpus;
}

const char* CorpusDescription() {
  return "32 MiB: mingw gcc 12-posix libraries, mingw-w64 i686 libraries, mingw-w64 headers (a third each, "
         "sorted paths)";
}

}  // namespace brennick::bench
