#include "engine/win/run_install.h"

#include "engine/win/admission.h"
#include "engine/win/earlier_install.h"
#include "engine/win/finish_installation.h"
#include "engine/win/install_files.h"
#include "engine/win/install_folder.h"
#include "engine/win/kept_files.h"
#include "engine/win/register_uninstall.h"
#include "engine/win/restore_point.h"
#include "foundation/win/file_system.h"
#include "foundation/win/grant_access.h"
#include "foundation/win/system_error_text.h"
#include "package/product_text.h"
#include "run/win/close_programs.h"
#include "run/win/conditional_deletes.h"
#include "run/win/forget_pending_renames.h"
#include "run/win/install_batch.h"
#include "run/win/install_log.h"
#include "run/win/message_boxes.h"
#include "run/win/update_path_variable.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/exit_installer.h"
#include "startup/win/machine_settings.h"

namespace brennick::win {

namespace {

void ShowTextPages(Program& program, std::vector<std::string> texts, MessageId firstMessage,
                   PageResult (InstallUi::*show)(const std::string&), InstallUi& ui) {
  InstallerState& state = program.state;
  texts.insert(texts.begin(), Message(state, firstMessage));
  for (const std::string& text : texts) {
    if (text.empty()) continue;
    if ((ui.*show)(ReplaceProductTextWide(text, ProductTextOf(state))) == PageResult::Cancel) CancelInstall(program);
  }
}

// Greeting, password, licence and readme pages, and the programs to close.
void GreetAndAgree(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  if (!state.AutomaticMode && !HasFlag(state.Settings.ProductFlags, flags::kNoGreeting) &&
      ui.ShowGreeting() == PageResult::Cancel) {
    ExitInstaller(program, 1);
  }
  if (!state.Settings.Password.empty() && !ui.EnterPassword()) ExitInstaller(program, 1);
  if (!state.AutomaticMode) {
    ShowTextPages(program, state.Settings.LicenseTexts, MessageId::kLicensePreface, &InstallUi::ShowLicense, ui);
    ShowTextPages(program, state.Settings.ReadmeTexts, MessageId::kReadmePreface, &InstallUi::ShowReadme, ui);
  }
  CloseProgramsBeforeInstall(program);
}

void ChooseStartMenuFolder(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  if (state.PreviousInstallFound) {
    if (!state.PreviousStartMenu.empty()) state.Settings.ProductStartMenu = state.PreviousStartMenu;
    return;
  }
  if (!state.AutomaticMode && HasFlag(state.Settings.ProductFlags, flags::kAskStartMenu) &&
      ui.ShowStartMenuPage(state.Settings.ProductStartMenu) == PageResult::Cancel) {
    CancelInstall(program);
  }
}

void GrantRights(Program& program, const std::string& folder) {
  if (!HasFlag(program.state.Settings.ProductFlags, flags::kGrantInstallDirRights)) return;
  LogTexts(program, {"Granting rights to directory \"", folder, "\"..."});
  const std::uint32_t error = GrantFullAccessToEveryone(folder);
  if (error == 0) {
    LogText(program, "OK\r\n");
  } else {
    LogFormat(program, "FAILED code %d: %s\r\n\r\n", static_cast<int>(error), SystemErrorText(error).c_str());
  }
}

void MakeRunFolder(Program& program, const std::string& folder, const char* what) {
  if (const std::uint32_t error = CreateFolderWithParents(folder); error != 0) {
    LogTexts(program, {"Failed to create ", what, " folder \"", folder, "\": ", SystemErrorText(error), "\r\n"});
  }
}

void Prepare(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  SettingsRecord& s = state.Settings;
  ui.OpenProgressPage();
  OpenInstallLog(program);
  if (HasFlag(s.ProductFlags2, flags::kRestorePoint)) {
    ui.SetStatus(MessageId::kStatusRestorePoint);
    BeginRestorePoint(program);
    ui.SetStatus(std::nullopt);
  }
  ui.SetProgress(1);
  state.UninstallDataDir = s.UninstallSubdir.empty() ? state.InstallDir : JoinPath(state.InstallDir, s.UninstallSubdir);
  GrantRights(program, state.InstallDir);
  if (!s.UninstallSubdir.empty()) MakeRunFolder(program, state.UninstallDataDir, "uninstall data");
  if (!s.SharedPath.empty()) {
    MakeRunFolder(program, s.SharedPath, "shared");
    if (HasFlag(s.ProductFlags, flags::kGrantSharedDirRights)) GrantRights(program, s.SharedPath);
  }
  if (state.RequiredSpace < 0) state.RequiredSpace = ComputeRequiredSpace(program);
  if (HasFlag(s.ProductFlags, flags::kNoUninstallerOnRemovable) && IsRemovableInstallDrive(state.InstallDir)) {
    ClearFlag(s.ProductFlags, flags::kUninstaller);
  }
  RunSettingsBatch(program, SettingsBatch::PreInstall);
  if (state.IsUpgrade) RunSettingsBatch(program, SettingsBatch::Upgrade);
  if (state.PreviousInstallFound &&
      (state.IsReinstall || !HasFlag(s.ProductFlags2, flags::kReinstallBatchSameVersionOnly))) {
    RunSettingsBatch(program, SettingsBatch::Reinstall);
  }
  ui.SetStatus(MessageId::kStatusPreparing);
  ui.SetProgress(2);
}

DestinationFolders FoldersOf(const InstallerState& state) {
  MachineSettings machine;
  return {state.InstallDir, state.Settings.SharedPath, state.UninstallDataDir, machine.Folders().FontDir(),
          machine.Folders().SystemDir()};
}

void InstallArchive(Program& program, InstallUi& ui, const StoredArchive& archive) {
  InstallerState& state = program.state;
  const int stageTime = state.Settings.MinStageTime;
  // The archive's size and checksum were checked before anything changed
  // (the install road): these stages only show that step.
  ui.WaitStage(stageTime);
  ui.SetStatus(MessageId::kStatusCheckingArchive);
  ui.SetProgress(21);
  ui.WaitStage(stageTime);
  ui.SetStatus(MessageId::kInstalling);
  ui.SetProgress(26);
  RunConditionalDeletes(program, DeletionPass::Install, state.Settings.FileDeletions);
  ui.SetProgress(27);
  state.Lists = InstallLists();

  InstallFiles(program, ui, archive.bytes, FoldersOf(state));
  if (state.Lists.FontsInstalled) ::SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
  ui.SetProgress(91);
  // Pending restart operations of earlier runs must not undo or clobber the
  // files just written.
  ForgetPendingRenames(program, state.Lists.WrittenSet, true);
  ui.SetProgress(92);
  // Registration: shared-file counts, then COM servers, type libraries and drivers.
  ui.SetProgress(93);
  ui.WaitStage(stageTime);
  ui.SetStatus(MessageId::kStatusShortcuts);
  ui.SetProgress(95);
}

// The kept files and the search path; shortcuts, registry entries and
// associations come here as they are built. Then the uninstaller and its
// registration.
void RegisterProduct(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  ui.SetProgress(97);
  WriteKeptFiles(program, ui);
  if (HasFlag(state.Settings.ProductFlags, flags::kPathVariable)) {
    AddFailure(program, UpdatePathVariable(state, PathChange::Add));
  }
  ui.SetProgress(99);
  RegisterUninstall(program);
}

}  // namespace

void RunInstall(Program& program, InstallUi& ui, const StoredArchive& archive) {
  AdmitInstallation(program);
  FindEarlierInstallation(program);
  GreetAndAgree(program, ui);
  ChooseInstallFolder(program, ui);
  ChooseStartMenuFolder(program, ui);
  Prepare(program, ui);
  InstallArchive(program, ui, archive);
  RegisterProduct(program, ui);
  FinishInstallation(program, ui, program.state.PreviousInstallFound);
}

}  // namespace brennick::win
