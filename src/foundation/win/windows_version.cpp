#include "foundation/win/windows_version.h"

#include "foundation/win/dynamic_function.h"

namespace brennick::win {

namespace {

// GetVersionEx: the long structure where the system knows it (NT 4 SP6 and
// later), else the short one (Windows 9x); its product type stays 0 then.
bool VersionFromGetVersionEx(OSVERSIONINFOEXA& info) {
  info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return true;
  info = {};
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != 0;
}

}  // namespace

WindowsVersion RunningWindowsVersion() {
  WindowsVersion version;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  const auto rtlGetVersion = LookUpFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOEXW wide = {};
  wide.dwOSVersionInfoSize = sizeof wide;
  OSVERSIONINFOEXA ansi;
  if (rtlGetVersion != nullptr && rtlGetVersion(&wide) == 0) {
    version.ntFamily = wide.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = wide.dwMajorVersion;
    version.minor = wide.dwMinorVersion;
    version.build = wide.dwBuildNumber;
    version.workstation = wide.wProductType != VER_NT_DOMAIN_CONTROLLER && wide.wProductType != VER_NT_SERVER;
  } else if (VersionFromGetVersionEx(ansi)) {
    version.ntFamily = ansi.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = ansi.dwMajorVersion;
    version.minor = ansi.dwMinorVersion;
    version.build = ansi.dwBuildNumber & 0xFFFF;  // 9x keeps the version in the high word
    version.workstation = ansi.wProductType != VER_NT_DOMAIN_CONTROLLER && ansi.wProductType != VER_NT_SERVER;
  }
  return version;
}

std::string WindowsName() { return WindowsNameOf(RunningWindowsVersion()); }

const char* FontsRegistryKey() {
  return RunningWindowsVersion().ntFamily ? "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                                          : "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
}

}  // namespace brennick::win
