#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/message_table.h"
#include "package/settings_record.h"
#include "startup/install_lists.h"

namespace brennick {

// What the user chose on the summary page to happen when the installer ends.
struct EndChoices {
  bool runProgram = false;
  bool launchApplication = false;
  bool viewLog = false;
  bool openDocument = false;
};

// The one process-wide record of installer state. Each group of fields is
// written by the step that owns it and read by the later ones.
struct InstallerState {
  // Start-up.
  std::string FamilyName;    // "Brennick Setup": names the installer itself in messages

  // Command line.
  bool AutomaticMode = false;        // /A: no wizard pages
  std::string InstallDir;            // /D: installation folder
  std::string ProductName;           // /N: wins over the product name of the settings
  bool UninstallRequested = false;   // /U...
  std::string UninstallName;         // /U: product to uninstall
  std::string LaunchOnExit;          // /R: program to run after a successful installation
  std::string PreInstallBatchExtra;  // /B1: lines appended to the pre-installation batch
  std::string PostInstallBatchExtra; // /B2: lines appended to the post-installation batch
  std::string ExitBatchExtra;        // /B3: lines appended to the installation-exit batch
  bool StartMinimized = false;       // /MIN: background window starts minimised

  // Setup package.
  std::int64_t OwnFileSize = 0;        // size of the program's own file
  std::uint32_t SetupFileOffset = 0;   // file offset of the package section's raw data
  std::uint32_t SetupRawSize = 0;      // size of that raw data

  std::vector<std::int32_t> FileDataSizes;  // of every file in the archive, in archive order
  std::size_t ArchiveStart = 0;             // from the package section's start
  std::vector<std::uint8_t> UninstallerImage;  // the uninstaller, when it is not a plain copy
  std::int64_t UninstallerImageSize = 0;

  // Settings, as read from the package with their defaults and derived values
  // applied (Settings.ProductName keeps the name the package gave; the name
  // in force is ProductName above).
  SettingsRecord Settings;
  bool TitleOption = false;         // ProductFlags bit 40
  bool MonoColor = false;           // TopColor equals BottomColor
  bool RedirectionFailed = false;   // a 64-bit product could not turn off file-system redirection
  std::string WindowsFolder;        // without a trailing backslash

  // Language strings.
  MessageTable Messages;
  std::size_t LanguageIndex = 0;

  // Install run.
  std::string FailureText;  // every failure report of the run; empty when nothing failed
  bool InstallDirFixed = false;       // the folder came from the registry or the earlier installation
  bool PreviousInstallFound = false;  // an earlier installation with an existing folder
  std::string PreviousInstallDir;     // its InstallLocation
  std::string OverwritingVersion;     // its DisplayVersion
  std::string PreviousSharedFiles;    // its SharedFiles
  std::string PreviousStartMenu;      // its ProductStartMenu
  bool IsUpgrade = false;
  bool IsReinstall = false;
  bool IsDowngrade = false;
  std::string UninstallDataDir;     // InstallDir joined with UninstallSubdir
  std::int64_t RequiredSpace = -1;  // bytes needed on the install drive; -1 until computed
  InstallLists Lists;               // what the file loop hands on to the later steps
  EndChoices Chosen;                // on the summary page
};

}  // namespace brennick
