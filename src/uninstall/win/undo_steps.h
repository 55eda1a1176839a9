#pragma once

#include "uninstall/win/uninstall_run.h"

namespace brennick::win {

// The undo steps of an uninstall run, each in its own file. Each step fails
// silently unless it says otherwise; what must be reported goes to
// FailureText.

// File associations: earlier default values come back from their backup
// values; keys that held only this product's entries are deleted. True when
// the data file listed any.
bool UndoAssociations(UninstallRun& run);

// Fonts of "ProductFonts" (each after a question when the product asks for
// one); the value is deleted afterwards. True when there were any.
bool UndoFonts(UninstallRun& run);

// Shared files: counts under SharedDLLs go down by one; a file whose count
// reaches zero is unregistered and deleted unless it is permanent.
void UndoSharedFiles(UninstallRun& run);

// Windows Installer packages: each is removed; the ones that fail stay in
// run.data.MsiPackages and are named in FailureText.
void UndoMsiPackages(UninstallRun& run);

// "[Registry]" values, the product registry key (machine and every user),
// and the registry entries of "[Registry2]" (values whose keep flag is "1"
// stay).
void UndoRegistry(UninstallRun& run);

// Firewall exceptions for programs and ports.
void UndoFirewall(UninstallRun& run);

// Driver packages installed from INF files.
void UndoDrivers(UninstallRun& run);

}  // namespace brennick::win
