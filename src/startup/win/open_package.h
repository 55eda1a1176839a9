#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "package/archive_reader.h"
#include "startup/win/program.h"

namespace brennick::win {

// Opens the program's own file (by the name on its command line, else by the
// module file name) and locates the setup package section in it. Every
// failure ends through the fatal path.
void OpenPackage(Program& program, const std::function<void()>& atBackgroundPoint);

// The stored archive: a view into the mapped package, or the bytes read from
// the file when the settings say so. Its size must match the header (code 46).
struct StoredArchive {
  std::vector<std::uint8_t> read;       // the bytes read from the file; empty for the mapped package
  std::span<const std::uint8_t> bytes;  // the archive, wherever it is
};
StoredArchive ReadStoredArchive(Program& program);

// What the package header and the settings say about the archive.
ArchiveInfo ArchiveInfoOf(const Program& program);

}  // namespace brennick::win
