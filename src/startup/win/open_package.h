#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// Opens the program's own file (by the name on its command line, else by the
// module file name) and locates the setup package section in it. Every
// failure ends through the fatal path.
void OpenPackage(Program& program);

}  // namespace brennick::win
