#pragma once

#include <string>
#include <string_view>

namespace brennick {

// What the machine says, source by source. Every answer is empty when the
// source has nothing; the variable table decides the fallbacks.
class SystemFacts {
 public:
  virtual ~SystemFacts() = default;
  // The shell's special folder number `csidl`, without creating it.
  virtual std::string ShellFolder(int csidl) = 0;
  // A value of "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell
  // Folders" under HKEY_LOCAL_MACHINE (all users) or HKEY_CURRENT_USER.
  virtual std::string ShellFolderValue(bool allUsers, std::string_view name) = 0;
  // A string value under HKEY_LOCAL_MACHINE.
  virtual std::string MachineValue(std::string_view key, std::string_view name) = 0;
  // A variable of the environment, and the environment's own expansion of a
  // text (false when that fails).
  virtual std::string Environment(std::string_view name) = 0;
  virtual bool ExpandEnvironment(std::string_view text, std::string& expanded) = 0;
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string TempFolder() = 0;  // as Windows reports it
  virtual bool Is64BitWindows() = 0;
  virtual bool IsNtBased() = 0;
  virtual std::string InstallerPath() = 0;  // the running executable
};

// The values of the current run that variables stand for.
struct RunValues {
  std::string InstallDir;
  std::string ProductName;
  std::string SharedPath;
  std::string UninstallDataDir;
  std::string OldVersion;  // the version of the earlier installation, if any
  std::string Version;     // DisplayVersion
};

// The folders of the variable table, each with its chain of sources.
class InstallerFolders {
 public:
  explicit InstallerFolders(SystemFacts& facts) : facts_(facts) {}

  std::string AppDataAllDir();
  std::string AppDataDir();
  std::string BootDrive();
  std::string CommonDir();
  std::string DesktopAllDir();
  std::string DesktopDir();
  std::string DeviceDir();
  std::string DocumentAllDir();
  std::string DocumentDir();
  std::string FavoritesAllDir();
  std::string FavoritesDir();
  std::string FontDir();
  std::string Inetpub();
  std::string MediaDir();
  std::string ProgramsDir();
  std::string SMProgramsAllDir();
  std::string SMProgramsDir();
  std::string StartMenuAllDir();
  std::string StartMenuDir();
  std::string StartupAllDir();
  std::string StartupDir();
  std::string SystemDir();
  std::string Temp();
  std::string WinDir();

 private:
  std::string Registry(std::string value);  // a registry folder loses a trailing backslash
  std::string AllUsers(std::string_view name);
  std::string User(std::string_view name);
  std::string Setting(std::string_view name);

  SystemFacts& facts_;
};

// Replaces every installer variable (any letter case, in table order, each
// value computed now), then lets the environment expand its own variables.
// A name that neither knows stays as it is. Returns false when the
// environment's expansion failed (the text then keeps the variables' step).
bool ExpandVariables(std::string& text, SystemFacts& facts, const RunValues& run);

}  // namespace brennick
