#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennick {

enum class PathChange { Add, Remove };

// The system's "Path" value with the installation folder `folder` added or
// removed; nothing when the value stays as it is (an empty value, or an empty
// folder, is never touched). Letters are compared without regard to case (ASCII). Adding:
// when "folder;" is not in the value and the value does not end with the
// folder, ";" (unless the value ends with one) and the folder are appended.
// Removing: the first "folder;" is cut out; else a value that ends with the
// folder loses it and then one trailing ";".
std::optional<std::wstring> EditPathValue(std::wstring_view value, std::wstring_view folder, PathChange change);

// The "autoexec.bat" line of Windows 9x that puts a folder on the PATH:
// "PATH=%PATH%;" + the folder's short form + "\r\n".
std::string AutoexecPathLine(std::string_view shortFolder);

// "autoexec.bat" with `line` added (appended when it does not occur in any
// letter case, after a "\r\n" when the text is not empty and does not end
// with a line feed) or removed (its first occurrence in any letter case; when
// there is none, the first occurrence of the line without its final "\r\n");
// nothing when the text stays as it is. Only whole lines count: an
// occurrence must start a line, and the line without its "\r\n" must be
// followed by a line end or the end of the text, so that no other line is
// cut apart.
std::optional<std::string> EditAutoexec(std::string_view text, std::string_view line, PathChange change);

// The message for an "autoexec.bat" that cannot be opened:
// "Unable to modify %s.  You will need to manually %s %s %s the PATH
// environment variable.\r\n\r\n" with the file, then "remove", the folder,
// "from" or "add", the folder, "to".
std::string AutoexecFailureText(std::string_view autoexecPath, std::string_view folder, PathChange change);

}  // namespace brennick
