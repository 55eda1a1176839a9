#include "startup/win/machine_settings.h"

#include "foundation/win/win.h"
#include "foundation/win/x86_view.h"

namespace brennick::win {

std::string MachineSettings::WindowsFolder() { return folders_.WinDir(); }
std::string MachineSettings::ProgramFilesFolder() { return folders_.ProgramsDir(); }
std::string MachineSettings::CommonFilesFolder() { return folders_.CommonDir(); }
std::string MachineSettings::CommonAppDataFolder() { return folders_.AppDataAllDir(); }

std::string MachineSettings::ExpandVariables(const std::string& text, const RunValues& run) {
  std::string expanded = text;
  brennick::ExpandVariables(expanded, facts_, run);
  return expanded;
}

bool MachineSettings::ButtonPicturesSupported() { return SystemShowsButtonPictures(); }

bool MachineSettings::TurnOffFileSystemRedirection() { return win::TurnOffFileSystemRedirection(); }

bool SystemShowsButtonPictures() {
  OSVERSIONINFOEXA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) return false;
  if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
  return version.dwMajorVersion >= 6 ||
         (version.dwMajorVersion == 5 && version.dwMinorVersion == 2 && version.wProductType != VER_NT_WORKSTATION);
}

}  // namespace brennick::win
