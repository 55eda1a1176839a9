#include "run/win/update_path_variable.h"

#include <vector>

#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/short_path.h"
#include "foundation/win/whole_file.h"
#include "foundation/win/windows_version.h"
#include "foundation/win/x86_view.h"

namespace brennick::win {

namespace {

constexpr const char* kEnvironmentKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

void UpdateEnvironmentPath(const std::string& installDir, PathChange change) {
  const OpenedKey key = OpenKey(HKEY_LOCAL_MACHINE, kEnvironmentKey, KEY_READ | KEY_WRITE);
  if (!key.ok()) return;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), L"Path", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), L"Path", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return;
  }
  const std::wstring value(data.data());
  const std::optional<std::wstring> edited = EditPathValue(value, WidePathText(installDir), change);
  if (!edited) return;
  ::RegSetValueExW(key.get(), L"Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(edited->c_str()),
                   static_cast<DWORD>((edited->size() + 1) * sizeof(wchar_t)));
}

std::string AutoexecPath() {
  const std::string bootDir =
      ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup", "BootDir")
          .value_or("");
  const char drive = bootDir.size() >= 2 && bootDir[1] == ':' ? bootDir[0] : 'C';
  return std::string(1, drive) + ":\\autoexec.bat";
}

std::string UpdateAutoexec(const std::string& installDir, PathChange change) {
  const std::string path = AutoexecPath();
  const WholeFile file = ReadWholeFile(path);
  if (!file.result.ok()) return AutoexecFailureText(path, installDir, change);
  const std::optional<std::string> edited =
      EditAutoexec(file.bytes, AutoexecPathLine(ShortPathOf(installDir)), change);
  if (edited) WriteWholeFile(path, *edited);
  return std::string();
}

}  // namespace

std::string UpdatePathVariable(const InstallerState& state, PathChange change) {
  if (!RunningWindowsVersion().ntFamily) return UpdateAutoexec(state.InstallDir, change);
  UpdateEnvironmentPath(state.InstallDir, change);
  return std::string();
}

}  // namespace brennick::win
