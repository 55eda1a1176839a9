#pragma once

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// Decides InstallDir: from the registry value the settings name, from the
// earlier installation (after its questions), or from the /d: switch or the
// default, through the folder page when the product shows it.
void ChooseInstallFolder(Program& program, InstallUi& ui);

// The bytes the user may still write on the drive of `folder` (or on the
// network share it names); -1 when that cannot be read.
std::int64_t FreeSpace(const std::string& folder);

// RequiredSpace for the drive of InstallDir.
std::int64_t ComputeRequiredSpace(const Program& program);
// The same for installing into `folder`.
std::int64_t ComputeRequiredSpace(const Program& program, const std::string& folder);

// The drive of InstallDir holds removable media (a removable disk or a CD).
bool IsRemovableInstallDrive(const std::string& folder);

}  // namespace brennick::win
