#include "uninstall/win/run_uninstall.h"
#include "uninstall/win/background_values.h"

#include <shlobj.h>

#include "foundation/fatal.h"
#include "foundation/message_format.h"
#include "foundation/win/file_system.h"
#include "foundation/win/no_links.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/privilege.h"
#include "foundation/win/registry.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/system_error_text.h"
#include "foundation/win/whole_file.h"
#include "foundation/win/x86_view.h"
#include "run/folder_rules.h"
#include "run/uninstall_key_values.h"
#include "run/win/close_programs.h"
#include "run/win/conditional_deletes.h"
#include "run/win/forget_pending_renames.h"
#include "run/win/message_boxes.h"
#include "run/win/uninstall_data_file.h"
#include "run/win/update_path_variable.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/exit_installer.h"
#include "startup/win/machine_settings.h"
#include "uninstall/win/remove_recorded.h"
#include "uninstall/win/undo_steps.h"
#include "uninstall/win/uninstall_batches.h"

namespace brennick::win {

namespace {

constexpr int kStageTime = 600;  // milliseconds each visible stage stays on screen
constexpr std::uint8_t kBeforeConfirmation = 2;
constexpr std::uint8_t kAfterConfirmation = 4;

// The uninstaller speaks with the strings its installation left in the
// uninstall data file, already in the chosen language.
MessageTable MessagesOf(const UninstallData& data) {
  LanguageStrings strings;
  strings.Names = {"English"};
  const int count = data.Strings.empty() ? 0 : data.Strings.rbegin()->first + 1;
  strings.Messages.resize(static_cast<std::size_t>(count));
  for (const auto& [number, text] : data.Strings) strings.Messages[static_cast<std::size_t>(number)] = {text};
  return MessageTable(std::move(strings));
}

std::uint64_t ReadFlagsText(HKEY key, const char* name) {
  return static_cast<std::uint64_t>(std::strtoll(ReadKeyString(key, name).c_str(), nullptr, 10));
}

// The product's values from its Uninstall key. False (after telling the
// user) when the key does not say where the product is.
bool ReadProductValues(UninstallRun& run) {
  InstallerState& state = run.program.state;
  SettingsRecord& s = state.Settings;
  const HKEY key = run.productKey;
  state.ProductName = ReadKeyString(key, "DisplayName");
  if (state.ProductName.empty()) state.ProductName = state.UninstallName;
  state.InstallDir = ReadKeyString(key, "InstallLocation");
  if (state.InstallDir.empty()) {
    ShowError(run.program, FormatLanguageString("The uninstall information for %s is corrupt.\r\n\r\nThe uninstallation "
                                       "cannot be performed.",
                                       {state.ProductName}));
    return false;
  }
  s.ProductFlags = ReadFlagsText(key, "ProductFlags");
  s.ProductFlags2 = static_cast<std::uint32_t>(std::strtoul(ReadKeyString(key, "ProductFlags2").c_str(), nullptr, 10));
  if (HasFlag(s.ProductFlags, flags::kUninstallAutomatic)) state.AutomaticMode = true;
  s.Bitness = static_cast<std::uint8_t>(ReadKeyNumber(key, "Bitness").value_or(0));
  if (s.Bitness == 1) {
    if (!TurnOffFileSystemRedirection()) FatalError("Wow64DisableWow64FsRedirection() failed");
    run.view = KEY_WOW64_64KEY;
  }
  s.DisplayVersion = ReadKeyString(key, "DisplayVersion");
  s.UninstallSubdir = ReadKeyString(key, "UninstallSubdir");
  state.UninstallDataDir = s.UninstallSubdir.empty() ? state.InstallDir : JoinPath(state.InstallDir, s.UninstallSubdir);
  run.productFonts = ReadKeyString(key, "ProductFonts");
  s.ShortcutMode = static_cast<std::uint8_t>(ReadKeyNumber(key, "ShortcutMode").value_or(0));
  s.NotifyURL = ReadKeyString(key, "NotifyURL");
  if (!HasFlag(s.ProductFlags, flags::kNoBackgroundWindow)) {
    run.ui.ShowBackground([look = ReadBackgroundLook(key, state)] { return look; });
  }
  return true;
}

bool ReadUninstallData(UninstallRun& run) {
  InstallerState& state = run.program.state;
  const std::string path = JoinPath(state.UninstallDataDir, kUninstallDataFileName);
  const SealedUninstallData sealed = ReadSealedUninstallData(path, run.productKey);
  const WholeFile& file = sealed.file;
  if (!file.result.ok()) {
    const int code = static_cast<int>(file.result.outcome);
    ShowError(run.program, FormatLanguageString("The uninstall information for %s could not be loaded.\r\n\r\nFilepath: "
                                       "%s\r\nCode %d: %s",
                                       {state.ProductName, path, code, std::string(FileResultMessage(code))}));
    return false;
  }
  if (!sealed.sealed) {
    // Someone other than the installation wrote the file: none of its lines
    // may decide what an administrator's run deletes.
    ShowError(run.program, FormatLanguageString("The uninstall information for %s has been changed since the "
                                                "installation and is not used.\r\n\r\nFilepath: %s\r\n\r\n"
                                                "Nothing was removed.",
                                                {state.ProductName, path}));
    return false;
  }
  run.data = ReadUninstallDataText(file.bytes);
  state.Messages = MessagesOf(run.data);
  state.LanguageIndex = 0;
  return true;
}

// Removes the Start-menu folder of the product and its parents while they
// are empty.
void RemoveStartMenuFolder(UninstallRun& run) {
  const InstallerState& state = run.program.state;
  const std::string startMenu = ReadKeyString(run.productKey, "ProductStartMenu");
  if (startMenu.empty()) return;
  MachineSettings machine;
  std::string folder = JoinPath(state.Settings.ShortcutMode == 1 ? machine.Folders().SMProgramsAllDir()
                                                                 : machine.Folders().SMProgramsDir(),
                                startMenu);
  for (int level = 0; level < 20; ++level) {
    if (!::RemoveDirectoryW(WidePath(folder).c_str())) break;
    const std::size_t slash = folder.rfind('\\');
    if (slash == std::string::npos) break;
    folder.resize(slash);
  }
}

void DeleteInstallFolder(const InstallerState& state) {
  MachineSettings machine;
  if (IsSameFolder(state.InstallDir, machine.ProgramFilesFolder()) ||
      IsSameFolder(state.InstallDir, machine.WindowsFolder())) {
    return;
  }
  DeleteFolderTree(state.InstallDir, machine.WindowsFolder());
}

void NotifyProgramsFolderChange(const InstallerState& state) {
  wchar_t path[MAX_PATH + 1] = {};
  const int folder = state.Settings.ShortcutMode == 1 ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
  if (::SHGetSpecialFolderPathW(nullptr, path, folder, FALSE)) {
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSH, path, nullptr);
  }
}

// Steps 14 to 16: files, pending restart operations, conditional deletions,
// folders; then the uninstall data file is written again with what is left.
void RemoveFilesAndFolders(UninstallRun& run) {
  InstallerState& state = run.program.state;
  run.ui.SetProgress(10);
  state.Lists = InstallLists();
  const RecordedRemoval removal = DeleteRecordedFiles(run.program, run.ui, run.data.Removals);
  run.ui.SetProgress(92);
  ForgetPendingRenames(run.program, removal.deleted, false);
  RunConditionalDeletes(run.program, DeletionPass::Uninstall, run.data.ConditionalDeletes);
  run.ui.SetProgress(93);
  RemoveRecordedFolders(run.program, run.ui, removal.folders);

  // What is left: the files that could not be deleted, the strings and the
  // program-closing list, the packages that could not be removed, the
  // registry entries and the deletions still to do.
  UninstallData left = run.data;
  left.Removals = state.Lists.Removals;
  left.Associations.clear();
  left.FirewallLines.clear();
  left.DriverLocations.clear();
  left.RegistryValues.clear();
  const std::string path = JoinPath(state.UninstallDataDir, kUninstallDataFileName);
  if (const std::uint32_t error = WriteSealedUninstallData(path, WriteUninstallDataText(left), run.productKey)) {
    // Without it the uninstall cannot be run again for what is left.
    state.FailureText += "Unable to save the uninstall information to " + path + ": " + SystemErrorText(error) + "\r\n";
  }
  ClearRemovalList(state.Lists);
}

void FinalCleanUp(UninstallRun& run) {
  InstallerState& state = run.program.state;
  const SettingsRecord& s = state.Settings;
  if (!s.SharedPath.empty()) ::RemoveDirectoryW(WidePath(s.SharedPath).c_str());
  if (state.FailureText.empty()) {
    DeleteFileWithoutLinks(JoinPath(state.UninstallDataDir, kUninstallDataFileName));
    if (HasFlag(s.ProductFlags, flags::kPathVariable)) {
      const std::string message = UpdatePathVariable(state, PathChange::Remove);
      if (!state.AutomaticMode) ShowError(run.program, message);
    }
    RunUninstallBatch(run, "UninstallBatch2", HasFlag(s.ProductFlags, flags::kUninstallBatch2Hidden));
    // A key that stays lists a product that is gone: the user is told.
    const std::string keyPath = UninstallKeyPathOf(state.UninstallName);
    if (const LONG error = DeleteKeyTree(HKEY_LOCAL_MACHINE, keyPath, 0); error != ERROR_SUCCESS) {
      state.FailureText += "Unable to remove the registry key HKEY_LOCAL_MACHINE\\" + keyPath + ": " +
                           SystemErrorText(static_cast<DWORD>(error)) + "\r\n";
    }
  }
  NotifyProgramsFolderChange(state);
}

void RunUndoSteps(UninstallRun& run) {
  InstallerState& state = run.program.state;
  const SettingsRecord& s = state.Settings;
  InstallUi& ui = run.ui;
  state.Settings.SharedPath = ReadKeyString(run.productKey, "SharedPath");
  RunUninstallBatch(run, "UninstallBatch1", HasFlag(s.ProductFlags, flags::kUninstallBatch1Hidden));

  ui.SetStatus(MessageId::kStatusRemovingAssociations);
  ui.SetProgress(1);
  if (UndoAssociations(run)) ui.WaitStage(kStageTime);

  ui.SetStatus(MessageId::kStatusRemovingFonts);
  ui.SetProgress(3);
  if (UndoFonts(run)) ui.WaitStage(kStageTime);

  ui.SetStatus(MessageId::kStatusRemovingFiles);
  ui.SetProgress(5);
  if (!HasFlag(s.ProductFlags, flags::kKeepInstallLogAtUninstall)) {
    DeleteFileWithoutLinks(JoinPath(state.UninstallDataDir, "Install.LOG"));
  }
  UndoSharedFiles(run);
  UndoMsiPackages(run);

  RemoveFilesAndFolders(run);
  RemoveStartMenuFolder(run);
  ui.WaitStage(kStageTime);

  ui.SetStatus(MessageId::kStatusRemovingRegistry);
  ui.SetProgress(95);
  UndoRegistry(run);
  ui.SetProgress(96);
  UndoFirewall(run);
  ui.SetProgress(97);
  UndoDrivers(run);
  if (HasFlag(s.ProductFlags, flags::kDeleteInstallDir)) DeleteInstallFolder(state);
  ui.SetProgress(98);
  FinalCleanUp(run);

  ui.SetProgress(100);
  if (s.Bitness == 1) RestoreFileSystemRedirection();
  if (HasFlag(s.ProductFlags, flags::kShowProgress)) {
    ui.WaitStage(kStageTime);
    ui.CloseProgressPage();
  }
}

bool ReportOutcome(UninstallRun& run) {
  InstallerState& state = run.program.state;
  if (!state.FailureText.empty()) {
    if (!state.AutomaticMode) {
      ShowMessageBox(run.program,
                     FormatLanguageString(Message(state, MessageId::kUninstallFailed), {state.FailureText}),
                     Message(state, MessageId::kQuestionTitle), MB_OK | MB_ICONWARNING);
    }
    return false;
  }
  if (!state.AutomaticMode)
    ShowInformation(run.program, Message(state, MessageId::kUninstallSucceeded),
                    Message(state, MessageId::kUninstallSuccessTitle));
  if (HasFlag(state.Settings.ProductFlags, flags::kUninstallRestartRequired) &&
      (state.AutomaticMode || AskYesNo(run.program, Message(state, MessageId::kRestartAfterUninstall),
                                       Message(state, MessageId::kQuestionTitle)))) {
    RequestRestart();
  }
  return true;
}

}  // namespace

bool RunUninstall(Program& program, InstallUi& ui, const std::string& name) {
  InstallerState& state = program.state;
  const std::string keyPath = UninstallKeyPathOf(name);
  {
    const OpenedKey probe = OpenKey(HKEY_LOCAL_MACHINE, keyPath, KEY_READ);
    if (probe.windowsError == ERROR_ACCESS_DENIED) {
      ShowError(program, "Permission denied.  Please login with an administrator account before uninstalling.");
      return false;
    }
    if (!probe.ok()) {
      ShowError(program, FormatLanguageString("No product named '%s' is installed.", {name}));
      return false;
    }
  }
  const OpenedKey productKey = OpenKey(HKEY_LOCAL_MACHINE, keyPath, KEY_READ | KEY_WRITE);
  if (!productKey.ok()) {
    ShowError(program, FormatLanguageString("Unable to access the uninstall information for:\r\n%s\r\n\r\nThe uninstallation "
                                   "cannot be performed.",
                                   {state.ProductName}));
    return false;
  }
  UninstallRun run{program, ui, productKey.get(), 0, {}, {}};
  if (!ReadProductValues(run) || !ReadUninstallData(run)) return false;

  CloseListedPrograms(program, run.data.ProgramsToClose, kBeforeConfirmation);
  if (!state.AutomaticMode &&
      !AskYesNo(program, Message(state, MessageId::kConfirmUninstall), Message(state, MessageId::kUninstallerCaption)))
    ExitInstaller(program, 1);
  CloseListedPrograms(program, run.data.ProgramsToClose, kAfterConfirmation);
  if (HasFlag(state.Settings.ProductFlags, flags::kShowProgress)) ui.OpenProgressPage();

  RunUndoSteps(run);
  return ReportOutcome(run);
}

}  // namespace brennick::win
