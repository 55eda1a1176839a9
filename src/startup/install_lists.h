#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "package/settings_record.h"

namespace brennick {

// Kinds of removal-list entries.
inline constexpr int kRemoveFile = 0;
inline constexpr int kRemoveFolder = 1;  // removed once it is empty

// Something the uninstaller removes: a file (kind 0) or a folder the
// installation created (kind 1).
struct RemovalEntry {
  int kind = 0;
  std::string path;
  bool operator==(const RemovalEntry&) const = default;
};

// An MSI package written by the file loop, for the registration step.
struct MsiPackageEntry {
  std::string path;
  std::int32_t uiLevel = 0;
  bool removeAtUninstall = false;
};

// A control panel applet written by the file loop, for the registration step.
struct AppletEntry {
  std::string name;
  std::string path;
};

// What the file loop hands on to the later steps of the run.
struct InstallLists {
  std::vector<std::string> SharedDllList;    // path + mark: ' ' permanent, '^' COM file, '\xA9' type library
  std::vector<std::string> ComRegisterList;  // COM files to self-register
  std::vector<std::string> TypeLibList;      // type libraries to register
  std::vector<std::string> DriverList;       // INF drivers to install
  std::vector<MsiPackageEntry> MsiPackages;
  std::vector<AppletEntry> Applets;
  std::set<std::string> WrittenSet;             // lower-cased paths of the files written
  std::vector<ShortcutRecord> ShortcutEntries;  // shortcuts of installed files
  std::vector<RemovalEntry> Removals;           // in the order recorded
  std::set<std::string> RecordedFolders;        // upper-cased folders among them
  std::string ProductFonts;                     // "\"label\" \"name\" " per font
  bool FontsInstalled = false;
};

// Records a path for the uninstaller. A path of 3 characters or fewer (a
// drive root) is never recorded; a folder only the first time in the run
// (ASCII letter case ignored, the first form kept); a file at every call.
// False when nothing was recorded.
bool RecordRemoval(InstallLists& lists, int kind, const std::string& path);

// Empties the removal list and the set of recorded folders.
void ClearRemovalList(InstallLists& lists);

}  // namespace brennick
