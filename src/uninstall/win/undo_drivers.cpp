#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

void UndoDrivers(UninstallRun& run) {
  if (run.data.DriverLocations.empty()) return;
  const ScopedModule setupApi(::LoadLibraryW(L"Setupapi.dll"));
  if (!setupApi) return;
  using UninstallInfFn = BOOL(WINAPI*)(PCWSTR, DWORD, PVOID);
  const auto uninstallInf = reinterpret_cast<UninstallInfFn>(
      reinterpret_cast<void*>(::GetProcAddress(setupApi.get(), "SetupUninstallOEMInfW")));
  if (uninstallInf == nullptr) return;
  constexpr DWORD kForceDelete = 0x0001;  // SUOI_FORCEDELETE
  for (const std::string& location : run.data.DriverLocations) {
    const std::wstring path = WidePath(location);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const std::size_t slash = path.find_last_of(L"\\/");
    uninstallInf(slash == std::wstring::npos ? path.c_str() : path.c_str() + slash + 1, kForceDelete, nullptr);
  }
}

}  // namespace brennick::win
