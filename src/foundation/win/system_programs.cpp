#include "foundation/win/system_programs.h"

#include "foundation/win/win.h"

namespace brennick::win {

namespace {

std::wstring InFolder(UINT(WINAPI* folderOf)(LPWSTR, UINT), const wchar_t* fallback, const wchar_t* name) {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = folderOf(folder, MAX_PATH + 1);
  std::wstring path = length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring(fallback);
  if (!path.ends_with(L'\\')) path += L'\\';
  return path + name;
}

}  // namespace

std::wstring SystemProgram(const wchar_t* name) {
  return InFolder(::GetSystemDirectoryW, L"C:\\Windows\\System32", name);
}

std::wstring WindowsProgram(const wchar_t* name) { return InFolder(::GetWindowsDirectoryW, L"C:\\Windows", name); }

}  // namespace brennick::win
