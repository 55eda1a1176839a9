#include "foundation/win/file_version.h"

#include <vector>

#include "foundation/text.h"
#include "foundation/win/dynamic_function.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/win.h"

namespace brennick::win {

namespace {

// version.dll is loaded from the system folder at start-up, never imported:
// an imported DLL would be looked for beside the program first.
using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

HMODULE VersionLibrary() {
  if (const HMODULE loaded = ::GetModuleHandleW(L"version.dll")) return loaded;
  wchar_t system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return ::LoadLibraryW((std::wstring(system, length) + L"\\version.dll").c_str());
}

}  // namespace

std::string ReadFileVersion(const std::string& path) {
  if (VersionLibrary() == nullptr) return {};
  const auto size = LookUpFunction<SizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
  const auto info = LookUpFunction<InfoFn>(L"version.dll", "GetFileVersionInfoW");
  const auto query = LookUpFunction<QueryFn>(L"version.dll", "VerQueryValueW");
  if (size == nullptr || info == nullptr || query == nullptr) return {};

  const std::wstring wide = WidePath(path);
  DWORD ignored = 0;
  const DWORD bytes = size(wide.c_str(), &ignored);
  if (bytes == 0) return {};
  std::vector<std::uint8_t> block(bytes);
  if (!info(wide.c_str(), 0, bytes, block.data())) return {};

  // The string table of the file's first language and code page.
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT translationBytes = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &translationBytes) ||
      translationBytes < sizeof(Translation)) {
    return {};
  }
  wchar_t key[64];
  ::wsprintfW(key, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[0].language, translations[0].codePage);
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!query(block.data(), key, reinterpret_cast<void**>(&text), &length) || text == nullptr || length == 0) return {};

  std::string version = FromWide(std::wstring_view(text), CP_ACP);
  for (char& c : version) {
    if (c == ',') c = '.';
  }
  return std::string(TrimWhiteSpace(version));
}

}  // namespace brennick::win
