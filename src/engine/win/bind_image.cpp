#include "engine/win/bind_image.h"

#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/win.h"

namespace brennick::win {

namespace {

using BindImageExFn = BOOL(WINAPI*)(DWORD, PCSTR, PCSTR, PCSTR, void*);

// imagehlp.dll by its full path in the system folder: never from beside the program.
ScopedModule LoadImageHelp() {
  char system[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ScopedModule();
  return ScopedModule(::LoadLibraryA((std::string(system, length) + "\\imagehlp.dll").c_str()));
}

}  // namespace

std::uint32_t BindExecutable(const std::string& path) {
  const ScopedModule library = LoadImageHelp();
  if (!library.valid()) return ::GetLastError();
  const auto bind = reinterpret_cast<BindImageExFn>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "BindImageEx")));
  if (bind == nullptr) return ::GetLastError();

  const std::wstring wide = WidePath(path);
  FILETIME created{}, accessed{}, written{};
  {
    const ScopedKernelHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
    if (file.valid()) ::GetFileTime(file.get(), &created, &accessed, &written);
  }
  constexpr DWORD kBindNoUpdate = 0;
  if (!bind(kBindNoUpdate, FromWide(wide, CP_ACP).c_str(), nullptr, nullptr, nullptr)) return ::GetLastError();
  const ScopedKernelHandle file(::CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (file.valid()) ::SetFileTime(file.get(), &created, &accessed, &written);
  return 0;
}

}  // namespace brennick::win
