#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennick {

// The folder the user typed, with double quotes removed, when it is an
// absolute path: "\\\\server..." or "X:\\...", followed by no character of
// "/\"<>|*?:;" and no doubled backslash. Nothing otherwise.
std::optional<std::string> AbsoluteFolderText(std::string_view typed);

// The drive letter of an absolute folder ("c:\\x" -> 'C'), or 0 for a network path.
char DriveLetterOfFolder(std::string_view folder);

// The root folder of a drive: 'C' -> "C:\\".
std::string DriveRoot(char letter);

// The root of the volume an absolute folder lies on: "C:\\" for a drive,
// "\\\\server\\share\\" for a network path; empty when there is none.
std::string VolumeRoot(std::string_view folder);

// True for "\\\\server\\share..." paths.
bool IsNetworkFolder(std::string_view folder);

// The folder names `other` itself (letter case and a trailing backslash ignored).
bool IsSameFolder(std::string_view folder, std::string_view other);

}  // namespace brennick
