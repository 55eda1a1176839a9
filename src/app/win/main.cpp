// The program's entry point: prepares the process, reads the command line and
// takes one of the two roads, uninstall or install.

#include "engine/win/run_install.h"
#include "foundation/fatal.h"
#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/privilege.h"
#include "foundation/win/x86_view.h"
#include "package/archive_reader.h"
#include "res/resource_ids.h"
#include "res/version.h"
#include "startup/command_line.h"
#include "startup/installer_settings.h"
#include "startup/own_file_name.h"
#include "startup/win/dll_search.h"
#include "startup/win/exit_installer.h"
#include "startup/win/fatal_box.h"
#include "startup/win/open_package.h"
#include "ui/win/language_page.h"
#include "ui/win/wizard_ui.h"
#include "uninstall/win/run_uninstall.h"
#include "uninstall/win/write_self_delete_batch.h"

namespace brennick::win {
namespace {

ScopedIcon LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return ScopedIcon(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                    ::GetSystemMetrics(widthMetric),
                                                    ::GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR)));
}

[[noreturn]] void UninstallRoad(Program& program, std::string_view programName) {
  if (program.state.UninstallName.empty()) ShowUsage("Product name required", programName);
  static WizardUi ui(program, ProgressPage::Mode::kUninstall);
  // The uninstaller's own file and folder can only go once its process has
  // ended: a batch outliving it deletes them. A failed removal leaves both
  // for the next try. The exit code is 0 either way.
  if (RunUninstall(program, ui, program.state.UninstallName)) WriteSelfDeleteBatch(program.state);
  ExitInstaller(program, 0);
}

// The archive is checked before anything is changed (its size, its
// checksum, its chunks' framing and checksums): a package damaged on its way
// ends with its code and leaves the machine as it was. Unpacking it all a
// second time would add nothing that these checksums do not already vouch for.
[[noreturn]] void InstallRoad(Program& program) {
  static WizardUi ui(program, ProgressPage::Mode::kInstall);
  OpenPackage(program, [&program] {
    InstallerState& state = program.state;
    if (HasFlag(state.Settings.ProductFlags, flags::kNoBackgroundWindow)) return;
    // The title is the installer title in the language of the moment.
    ui.ShowBackground([&state] { return LookFromSettings(state, Message(state, MessageId::kInstallerTitle)); });
  });
  // The window came up with the first fields only: now it has its colours,
  // its picture and its texts.
  if (program.backgroundWindow != nullptr) {
    ::InvalidateRect(program.backgroundWindow, nullptr, TRUE);
    ::UpdateWindow(program.backgroundWindow);
  }
  const StoredArchive archive = ReadStoredArchive(program);
  const ArchiveInfo info = ArchiveInfoOf(program);
  CheckArchiveSize(archive.bytes, info);
  CheckArchiveChecksum(archive.bytes, info);
  CheckArchiveChunks(archive.bytes, info.productFlags);
  ChooseLanguage(program);
  RunInstall(program, ui, archive);
}

[[noreturn]] void Run(HINSTANCE instance, const char* commandTail) {
  static Program program;  // lives until the process ends; ExitProcess runs no destructors
  program.state.FamilyName = BRENNICK_FAMILY_NAME;
  ::OleInitialize(nullptr);
  EnablePrivilege("SeTakeOwnershipPrivilege");  // failure is of no concern here

  static FatalMessageBox fatalMessageBox(program);
  SetFatalHandler(&fatalMessageBox);

  program.instance = instance;
  program.largeIcon = LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
  program.smallIcon = LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);

  const std::string modulePath = ModuleFileName();
  const std::string_view programName = FileNameOf(PathBody(modulePath));
  ParseCommandLine(commandTail != nullptr ? commandTail : "", programName, program.state);
  if (program.state.UninstallRequested) UninstallRoad(program, programName);

  InstallRoad(program);
}

}  // namespace
}  // namespace brennick::win

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
  // Before anything else can load a DLL.
  brennick::win::RestrictDllSearch();
  // The program for 64-bit Windows starts from the environment a 32-bit
  // process gets, which the programs it starts inherit.
  brennick::win::EnterX86Environment();
  brennick::win::Run(instance, commandTail);
}
