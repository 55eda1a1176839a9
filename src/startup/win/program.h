#pragma once

#include <span>
#include <string>

#include "foundation/win/file.h"
#include "foundation/win/scoped_handle.h"
#include "package/package_header.h"
#include "startup/installer_state.h"
#include "startup/win/notification.h"
#include "startup/win/temporary_log.h"

namespace brennick::win {

// The installer's state together with the Windows objects that belong to the
// whole run. Lives for the whole process.
struct Program {
  InstallerState state;
  HINSTANCE instance = nullptr;
  HWND backgroundWindow = nullptr;  // the full-screen window behind the wizard, once created
  ScopedIcon largeIcon;             // the program's icon in the system's large size
  ScopedIcon smallIcon;             // ... and in its small size
  Notification notification;
  File ownFile;             // the program's own file; open for the whole installation
  std::string ownFilePath;  // the name it was opened by
  PackageHeader packageHeader;
  std::span<const std::uint8_t> packageSection;  // as mapped with the program
  ScopedKernelHandle singleInstance;  // the named mutex of a single-instance product, held to the end
  std::int64_t restorePointSequence = 0;  // of the restore point begun for the run
  TemporaryLog installLog;  // while the run collects it
};

}  // namespace brennick::win
