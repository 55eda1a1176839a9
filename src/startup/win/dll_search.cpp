#include "startup/win/dll_search.h"

#include "foundation/win/dynamic_function.h"

namespace brennick::win {

namespace {
// Not in the headers for the Windows versions we compile against.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;
}  // namespace

bool RestrictDllSearch() {
  // Windows 8, and Windows 7 / Vista with update KB2533623.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const auto setDefault = LookUpFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
      setDefault != nullptr && setDefault(kLoadLibrarySearchSystem32)) {
    return true;
  }
  // Windows XP SP1 and later: at least the current folder leaves the search.
  using SetDllDirectoryWFn = BOOL(WINAPI*)(LPCWSTR);
  if (const auto setDirectory = LookUpFunction<SetDllDirectoryWFn>(L"kernel32.dll", "SetDllDirectoryW")) {
    setDirectory(L"");
  }
  return false;
}

}  // namespace brennick::win
