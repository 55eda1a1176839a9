#include "foundation/win/path_text_win.h"

#include "foundation/path_text.h"
#include "foundation/win/win.h"
#include "foundation/win/x86_view.h"

namespace brennick::win {

std::wstring ToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), needed);
  return wide;
}

std::string FromWide(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

std::wstring WidePathText(std::string_view path) { return ToWide(PathBody(path), IsUtf8Path(path) ? CP_UTF8 : CP_ACP); }

std::wstring WidePath(std::string_view path) { return RedirectedPath(WidePathText(path)); }

}  // namespace brennick::win

namespace brennick::win {

std::string PathFromWide(std::wstring_view path) {
  if (path.empty()) return {};
  BOOL lossy = FALSE;
  const int size = static_cast<int>(path.size());
  const int needed = ::WideCharToMultiByte(CP_ACP, 0, path.data(), size, nullptr, 0, nullptr, &lossy);
  if (needed > 0 && !lossy) return FromWide(path, CP_ACP);
  std::string marked(1, kUtf8PathMark);
  marked += FromWide(path, CP_UTF8);
  return marked;
}

std::string ModuleFileName(void* module) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(static_cast<HMODULE>(module), name.data(),
                                              static_cast<DWORD>(name.size()));
    if (length < name.size()) {
      name.resize(length);
      return PathFromWide(name);
    }
    name.resize(name.size() * 2);  // cut short: try a larger buffer
  }
}

}  // namespace brennick::win
