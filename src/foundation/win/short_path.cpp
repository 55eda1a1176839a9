#include "foundation/win/short_path.h"

#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/win.h"

namespace brennick::win {

std::string ShortPathOf(const std::string& path) {
  if (PathBody(path).empty()) return path;
  if (IsUtf8Path(path)) {
    const std::wstring wide = WidePath(path);
    const DWORD needed = ::GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring shortPath(needed, L'\0');
    const DWORD length = ::GetShortPathNameW(wide.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed) return path;
    shortPath.resize(length);
    return PathFromWide(shortPath);
  }
  const DWORD needed = ::GetShortPathNameA(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::string shortPath(needed, '\0');
  const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return path;
  shortPath.resize(length);
  return shortPath;
}

}  // namespace brennick::win
