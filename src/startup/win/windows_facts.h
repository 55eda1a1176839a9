#pragma once

#include "startup/installer_variables.h"

namespace brennick::win {

// The machine facts of this Windows, source by source.
class WindowsFacts final : public SystemFacts {
 public:
  std::string ShellFolder(int csidl) override;
  std::string ShellFolderValue(bool allUsers, std::string_view name) override;
  std::string MachineValue(std::string_view key, std::string_view name) override;
  std::string Environment(std::string_view name) override;
  bool ExpandEnvironment(std::string_view text, std::string& expanded) override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string TempFolder() override;
  bool Is64BitWindows() override;
  bool IsNtBased() override;
  std::string InstallerPath() override;
};

}  // namespace brennick::win
