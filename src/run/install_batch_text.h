#pragma once

#include <string>
#include <string_view>

#include "startup/installer_variables.h"

namespace brennick {

// The batch file of an installation batch and the file that takes its output,
// both in the installation folder.
inline constexpr const char* kInstallBatchName = "SETUPBAT.BAT";
inline constexpr const char* kBatchOutputName = "cs_batch.log";

// What an installation batch finds in its environment: one SET line each.
struct InstallBatchValues {
  std::string InstallDir;     // no InstallDir and InstallDrive lines while empty
  std::string Bits;           // "64" on a 64-bit Windows, else "32"
  std::string UninstallDir;   // UninstallDataDir
  std::string SharedDir;      // SharedPath
  std::string InstallerPath;  // the running installer; its folder, name and drive follow from it
  std::string SystemDir, DeviceDir, MediaDir, FavoritesDir, FavoritesAllDir, FontDir, DesktopDir, DesktopAllDir,
      DocumentDir, DocumentAllDir;
  std::string ProductName;
  std::string ProgramsDir, StartMenuDir, StartMenuAllDir, SMProgramsDir, SMProgramsAllDir, StartupDir, StartupAllDir;
  std::string BootDrive, CommonDir, Inetpub, AppDataDir, AppDataAllDir;
  std::string Version, OldVersion;
};

// The values as this machine and this run give them now.
InstallBatchValues InstallBatchValuesOf(SystemFacts& facts, const RunValues& run);

// The commands of a batch from the installer settings followed by those of
// the command line: the settings text ends with a line break first unless it
// is empty or already does.
std::string JoinBatchCommands(std::string_view settingsText, std::string_view extra);

// The commands without the lines that would wait for a key: a line that,
// blanks and one leading "@" aside, is "PAUSE" in any letter case. Line
// breaks come out as "\r\n".
std::string RemovePauseLines(std::string_view commands);

// The whole batch file: "@echo off", the SET lines, then the commands with
// "\r\n" line breaks and a final one. A value is written so that the variable
// holds it exactly: "%" is doubled and, outside double quotes, "&|<>^" get a
// "^" (otherwise a folder such as "C:\R&D" would end the SET line and run "D"
// as a command); line breaks in a value are dropped.
std::string InstallBatchText(const InstallBatchValues& values, std::string_view commands);

// The command line that runs `batch` through `interpreter`, its output sent
// to `output` when that is not empty. Paths are given in their short form;
// one that still holds a blank (a volume without short names) is quoted, and
// then the whole command after "/c" gets one more pair of quotes, which the
// interpreter takes off.
std::string InstallBatchCommand(std::string_view interpreter, std::string_view batch, std::string_view output);

// The install log's account of a batch's output: empty when the output holds
// nothing but white space.
std::string BatchOutputLogText(std::string_view label, std::string_view output);

}  // namespace brennick
