#pragma once

#include <string>

#include "run/install_ui.h"
#include "run/uninstall_data.h"
#include "startup/win/program.h"

namespace brennick::win {

// What the steps of one uninstall run share: the program (its state holds
// the product's values read from the Uninstall key, in the same fields the
// installer fills), the progress seam, the product's Uninstall key and the
// uninstall data file as read.
struct UninstallRun {
  Program& program;
  InstallUi& ui;
  HKEY productKey = nullptr;  // opened for reading and writing; owned by RunUninstall
  REGSAM view = 0;            // KEY_WOW64_64KEY for a 64-bit product, else 0
  UninstallData data;
  std::string productFonts;  // "ProductFonts" as read at the start
};

}  // namespace brennick::win
