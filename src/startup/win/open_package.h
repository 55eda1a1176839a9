#pragma once

#include <cstdint>
#include <vector>

#include "startup/win/program.h"

namespace brennick::win {

// Opens the program's own file (by the name on its command line, else by the
// module file name) and locates the setup package section in it. Every
// failure ends through the fatal path.
void OpenPackage(Program& program);

// The stored archive: from the mapped package, or from the file when the
// settings say so. Its size must match the header (code 46).
std::vector<std::uint8_t> ReadStoredArchive(Program& program);

}  // namespace brennick::win
