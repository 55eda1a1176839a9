#include "startup/win/machine_settings.h"

#include <shlobj.h>

#include "foundation/win/dynamic_function.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

namespace {

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return WithoutTrailingBackslash(path);
}

std::string CurrentVersionValue(const char* name) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &raw) !=
      ERROR_SUCCESS) {
    return {};
  }
  const ScopedRegistryKey key(raw);
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return WithoutTrailingBackslash(value);
}

}  // namespace

std::string MachineSettings::WindowsFolder() {
  char path[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? WithoutTrailingBackslash(path) : "C:\\Windows";
}

std::string MachineSettings::ProgramFilesFolder() {
  std::string folder = ShellFolder(CSIDL_PROGRAM_FILES);
  if (folder.empty()) folder = CurrentVersionValue("ProgramFilesDir");
  if (folder.empty()) folder = WindowsFolder().substr(0, 2) + "\\Program Files";
  return folder;
}

std::string MachineSettings::CommonFilesFolder() {
  std::string folder = ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
  if (folder.empty()) folder = CurrentVersionValue("CommonFilesDir");
  if (folder.empty()) folder = ProgramFilesFolder() + "\\Common Files";
  return folder;
}

std::string MachineSettings::CommonAppDataFolder() {
  std::string folder = ShellFolder(CSIDL_COMMON_APPDATA);
  return folder.empty() ? CommonFilesFolder() : folder;
}

std::string MachineSettings::ExpandVariables(const std::string& text) {
  // The environment's own variables; installer variables join them once the
  // variable table exists.
  std::string expanded(32000, '\0');
  const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
  if (length == 0 || length > expanded.size()) return text;
  expanded.resize(length - 1);
  return expanded;
}

bool MachineSettings::ButtonPicturesSupported() {
  OSVERSIONINFOEXA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) return false;
  if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
  return version.dwMajorVersion >= 6 ||
         (version.dwMajorVersion == 5 && version.dwMinorVersion == 2 && version.wProductType != VER_NT_WORKSTATION);
}

bool MachineSettings::TurnOffFileSystemRedirection() {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  const auto disable = LookUpFunction<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  PVOID old = nullptr;
  return disable != nullptr && disable(&old);
}

}  // namespace brennick::win
