#include "foundation/win/win.h"

#include <msi.h>

#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/system_error_text.h"
#include "startup/own_file_name.h"
#include "uninstall/win/undo_steps.h"

namespace brennick::win {

namespace {

template <class Function>
Function MsiFunction(HMODULE msi, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(msi, name)));
}

}  // namespace

void UndoMsiPackages(UninstallRun& run) {
  if (run.data.MsiPackages.empty()) return;
  const ScopedModule msi(::LoadLibraryW(L"msi.dll"));
  using SetUiFn = INSTALLUILEVEL(WINAPI*)(INSTALLUILEVEL, HWND*);
  using InstallFn = UINT(WINAPI*)(LPCWSTR, LPCWSTR);
  const auto setUi = msi ? MsiFunction<SetUiFn>(msi.get(), "MsiSetInternalUI") : nullptr;
  const auto install = msi ? MsiFunction<InstallFn>(msi.get(), "MsiInstallProductW") : nullptr;
  std::vector<MsiRemoval> failed;
  for (const MsiRemoval& package : run.data.MsiPackages) {
    UINT result = ERROR_PROC_NOT_FOUND;
    if (setUi != nullptr && install != nullptr) {
      setUi(static_cast<INSTALLUILEVEL>(package.UiLevel), nullptr);
      result = install(WidePath(package.Path).c_str(), L"REBOOT=R REMOVE=ALL");
    }
    if (result == ERROR_SUCCESS) continue;
    run.program.state.FailureText += "Failed to uninstall " + std::string(FileNameOf(PathBody(package.Path))) +
                                     ", code " + std::to_string(result) + ": " + SystemErrorText(result) + "\r\n";
    failed.push_back(package);
  }
  run.data.MsiPackages = std::move(failed);
}

}  // namespace brennick::win
