#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "package/file_record.h"
#include "startup/installer_state.h"

namespace brennick::win {

// Makes a new empty file "CVX<hex digits>.tmp" in `folder`; when none can be
// made there and `noFallback` is false, in the user's temporary folder. With
// an extension ("bat" or ".bat"), the file is then moved to the same name
// with that extension instead, a new file being made for each of up to 100
// tries. Returns the file's full path (a "|" folder gives a "|" path), empty
// on failure with the Windows error left set.
std::string CreateTempFile(const std::string& folder, const std::string& extension, bool noFallback);

// Asks Windows to move `source` over `destination` at the next restart:
// through the delayed move of Windows NT, or a "[rename]" line of
// "wininit.ini" in `windowsFolder` on Windows 9x and when the delayed move
// fails on an NT system that still has "wininit.exe". Returns true when
// registered, with the last error 170 (busy) as the sign of a delayed move.
// Fails with error 123 for an empty path and 2 for a missing source; a
// source that is the destination succeeds at once.
bool ScheduleReplaceAtReboot(const std::string& source, const std::string& destination, bool isNt,
                             const std::string& windowsFolder);

// Asks Windows to delete `path` at the next restart (its attributes are
// cleared first), by the same routes. Returns true when registered; on
// failure the Windows error is left set.
bool ScheduleDeleteAtReboot(const std::string& path, bool isNt, const std::string& windowsFolder);

// The fallback of the file writer for a destination it cannot write: the
// data goes into a temporary file beside the destination (or in the user's
// temporary folder), open to all users and dated by `stamp`, and that file is
// registered to replace the destination at the next restart. Appends what
// happened to `report` and returns whether the replacement was registered;
// success marks the run as needing a restart (ProductFlags bit 14).
bool ReplaceInUseFile(InstallerState& state, const std::string& destination, std::span<const std::uint8_t> data,
                      const FileStamp& stamp, std::string& report);

}  // namespace brennick::win
