#pragma once

#include <string>
#include <string_view>

#include "startup/win/program.h"

namespace brennick::win {

// Gives the uninstaller at `path` the icon of an icon file (the setup's
// uninstaller icon): every image becomes an icon resource 1, 2, 3, ... and
// one icon group 1 lists them, all in language 1033; the other resources of
// the file stay. A file that cannot be opened for the update logs "Failed to
// open uninstaller for icon replacement."; a damaged icon or a failed write
// logs "Failed to replace uninstaller icon." and leaves the file as it was.
// True when the new icon is in the file.
bool ReplaceUninstallerIcon(Program& program, const std::string& path, std::string_view iconFile);

}  // namespace brennick::win
