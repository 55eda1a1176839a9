#include "startup/win/dll_search.h"

#include <string>

#include "foundation/win/dynamic_function.h"

namespace brennick::win {

namespace {

// Not in the headers for the Windows versions we compile against.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;

// System DLLs that Windows components load by bare name after start-up.
// A name the system does not have is skipped.
constexpr const wchar_t* kPinnedSystemDlls[] = {
    L"uxtheme.dll", L"msimg32.dll", L"dwmapi.dll",  L"version.dll", L"userenv.dll", L"setupapi.dll",
    L"apphelp.dll", L"propsys.dll", L"cryptbase.dll", L"oleacc.dll", L"clbcatq.dll", L"ntmarta.dll",
};

void PinSystemDlls() {
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  for (const wchar_t* name : kPinnedSystemDlls) {
    const std::wstring path = std::wstring(system, length) + L"\\" + name;
    // Kept loaded for the life of the process on purpose: the pin is the point.
    ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
}

}  // namespace

bool RestrictDllSearch() {
  bool restricted = false;
  // Windows 8, and Windows 7 / Vista with update KB2533623.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const auto setDefault = LookUpFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
      setDefault != nullptr && setDefault(kLoadLibrarySearchSystem32)) {
    restricted = true;
  } else if (const auto setDirectory = LookUpFunction<BOOL(WINAPI*)(LPCWSTR)>(L"kernel32.dll", "SetDllDirectoryW")) {
    setDirectory(L"");  // Windows XP SP1 and later: the current folder leaves the search
  }
  PinSystemDlls();
  return restricted;
}

}  // namespace brennick::win
