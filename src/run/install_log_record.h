#pragma once

#include <string>
#include <string_view>

#include "foundation/date_time.h"

namespace brennick {

// The facts of one record of "Install.LOG".
struct InstallLogRecord {
  bool fileWasEmpty = true;        // no separator before the first record
  std::string_view productName;
  DateTime installDate;            // local time
  bool hasUninstaller = false;     // ProductFlags bit 2: the install type line is written
  bool isReinstall = false;
  std::string_view installDir;
  std::string_view displayVersion;      // line left out when empty
  std::string_view overwritingVersion;  // line left out when empty
  std::string_view operatingSystem;     // "Windows 10" ...
  std::string_view body;                // the run's log, byte for byte
  std::string_view failures;            // empty: the run succeeded
  std::string_view successLine;         // language string 43
};

// The record's text as it is appended to the file: an optional separator, the
// header lines, the body and either the failure summary or the success line.
std::string BuildInstallLogRecord(const InstallLogRecord& record);

// "Install.LOG" in the uninstall data folder, or in the installation folder
// while that is not known.
std::string InstallLogPath(std::string_view uninstallDataDir, std::string_view installDir);

}  // namespace brennick
