#pragma once

#include "startup/installer_settings.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

// The settings' view of this Windows: its folders (through the installer
// variables' table), its version, and the switch of file-system redirection.
class MachineSettings final : public SettingsEnvironment {
 public:
  std::string WindowsFolder() override;
  std::string ProgramFilesFolder() override;
  std::string CommonFilesFolder() override;
  std::string CommonAppDataFolder() override;
  std::string ExpandVariables(const std::string& text, const RunValues& run) override;
  bool ButtonPicturesSupported() override;
  bool TurnOffFileSystemRedirection() override;

  // Every folder of the installer variables.
  InstallerFolders& Folders() { return folders_; }

 private:
  WindowsFacts facts_;
  InstallerFolders folders_{facts_};
};

// Whether this Windows shows pictures on push buttons together with their
// text: NT-family systems of version 6 or later, and version 5.2 but for its
// workstation edition.
bool SystemShowsButtonPictures();

}  // namespace brennick::win
