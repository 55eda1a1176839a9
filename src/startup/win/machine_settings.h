#pragma once

#include "startup/installer_settings.h"

namespace brennick::win {

// The settings' view of this Windows: its folders, its version, and the
// switch of file-system redirection.
class MachineSettings final : public SettingsEnvironment {
 public:
  std::string WindowsFolder() override;
  std::string ProgramFilesFolder() override;
  std::string CommonFilesFolder() override;
  std::string CommonAppDataFolder() override;
  std::string ExpandVariables(const std::string& text) override;
  bool ButtonPicturesSupported() override;
  bool TurnOffFileSystemRedirection() override;
};

}  // namespace brennick::win
