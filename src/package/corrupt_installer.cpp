#include "package/corrupt_installer.h"

#include "foundation/fatal.h"
#include "foundation/format_check.h"
#include "package/message_lookup.h"

namespace brennick {

namespace {

// Shown while no language strings are loaded; a package's own text replaces it.
constexpr const char* kBuiltInCorruptMessage =
    "This installation program is corrupt.  This is usually caused by a faulty download, "
    "but it can also be caused by a virus on your computer.  The installation cannot proceed."
    "\r\n\r\n"
    "Delete the corrupted installer (to prevent caching), then re-download it.  "
    "If the problem persists, check your system for viruses.\r\n\r\nError code: %d";

}  // namespace

void CorruptInstaller(int code) {
  // The package's own text, when it has one that takes exactly the code.
  const std::string text = LookUpMessage(13);
  if (!text.empty() && FormatTakes(text, "d")) FatalError(text.c_str(), code);
  FatalError(kBuiltInCorruptMessage, code);
}

}  // namespace brennick
