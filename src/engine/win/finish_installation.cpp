#include "engine/win/finish_installation.h"

#include <shellapi.h>
#include <shlobj.h>

#include "engine/win/register_uninstall.h"
#include "engine/win/restore_point.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/privilege.h"
#include "foundation/win/system_error_text.h"
#include "foundation/win/x86_view.h"
#include "run/win/install_batch.h"
#include "run/win/install_log.h"
#include "run/win/message_boxes.h"
#include "run/win/reboot_replace.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/exit_installer.h"
#include "startup/win/machine_settings.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

void LeaveRestartMarker(Program& program) {
  InstallerState& state = program.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kRestartMarker)) return;
  const std::string marker = JoinPath(state.InstallDir, "reboot.dat");
  const ScopedKernelHandle file(::CreateFileW(WidePath(marker).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) ScheduleDeleteAtReboot(marker, WindowsFacts().IsNtBased(), state.WindowsFolder);
}

void NotifyDesktopChange(const InstallerState& state) {
  const int folder = state.Settings.ShortcutMode == 1 ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY;
  char path[MAX_PATH + 1] = {};
  if (::SHGetSpecialFolderPathA(nullptr, path, folder, FALSE)) {
    ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA | SHCNF_FLUSH, path, nullptr);
  }
}

bool DecideRestart(Program& program) {
  InstallerState& state = program.state;
  const std::uint64_t flagsWord = state.Settings.ProductFlags;
  if (!HasFlag(flagsWord, flags::kRestartRequired)) return false;
  if (state.AutomaticMode && !HasFlag(flagsWord, flags::kAskRestartInAutomaticMode)) return true;
  return AskYesNo(program, Message(state, MessageId::kRestartAfterInstall), Message(state, MessageId::kQuestionTitle));
}

void RemoveIfEmpty(const std::string& folder) {
  if (!folder.empty()) ::RemoveDirectoryW(WidePath(folder).c_str());
}

[[noreturn]] void Restart(Program& program) {
  RequestRestart();
  ExitInstaller(program, 1);
}

void LaunchOnExit(Program& program) {
  InstallerState& state = program.state;
  if (!state.FailureText.empty() || state.LaunchOnExit.empty()) return;
  std::string command = state.LaunchOnExit;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    AppendToLogFile(program,
                    "Failed to launch command: " + state.LaunchOnExit + "\r\n" + SystemErrorText(::GetLastError()) + "\r\n");
    return;
  }
  const ScopedKernelHandle thread(process.hThread);
  const ScopedKernelHandle child(process.hProcess);
}

std::string Expanded(const Program& program, const std::string& text) {
  MachineSettings machine;
  return machine.ExpandVariables(text, RunValuesOf(program.state));
}

void OpenThroughShell(const std::string& path) {
  ::ShellExecuteW(nullptr, L"open", WidePathText(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void LaunchApplication(Program& program) {
  const InstallerState& state = program.state;
  const std::string path = Expanded(program, state.Settings.LaunchAfterInstall);
  std::wstring command = WidePathText(path);
  const std::wstring folder = WidePath(state.InstallDir);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
    AppendToLogFile(program, "Failed to launch app: " + path + "\r\n" + SystemErrorText(::GetLastError()) + "\r\n");
    return;
  }
  const ScopedKernelHandle thread(process.hThread);
  const ScopedKernelHandle child(process.hProcess);
}

// What the user ticked on the summary page.
void CarryOutEndChoices(Program& program) {
  const InstallerState& state = program.state;
  const EndChoices& chosen = state.Chosen;
  if (chosen.runProgram) {
    OpenThroughShell(ResolvePath(Expanded(program, state.Settings.RunAfterInstall), state.InstallDir));
  }
  if (chosen.launchApplication) LaunchApplication(program);
  if (chosen.viewLog) ViewInstallLog(program);
  if (chosen.openDocument) {
    OpenThroughShell(ResolvePath(Expanded(program, state.Settings.DocumentAfterInstall), state.InstallDir));
  }
}

}  // namespace

void FinishInstallation(Program& program, InstallUi& ui, bool isReinstall) {
  InstallerState& state = program.state;
  const int stageTime = state.Settings.MinStageTime;
  LeaveRestartMarker(program);
  ui.WaitStage(stageTime);
  ui.SetStatus(MessageId::kStatusFinishing);
  ui.SetProgress(100);
  WriteUninstallDataFile(program);
  RunSettingsBatch(program, SettingsBatch::PostInstall);
  NotifyDesktopChange(state);
  if (HasFlag(state.Settings.ProductFlags2, flags::kRestorePoint) && !CommitRestorePoint(program)) {
    LogText(program, "Failed to commit restore point.\r\n");
  }
  ui.WaitStage(stageTime);
  ui.CloseProgressPage();
  if (!state.LaunchOnExit.empty()) LogFormat(program, "Launch on exit: %s\r\n", state.LaunchOnExit.c_str());
  WriteInstallLog(program, isReinstall, true, state.FailureText, &ui);
  const bool restart = DecideRestart(program);
  RunSettingsBatch(program, SettingsBatch::Exit);
  RemoveIfEmpty(state.Settings.SharedPath);
  RemoveIfEmpty(state.UninstallDataDir);
  RemoveIfEmpty(state.InstallDir);
  if (state.Settings.Bitness == 1) RestoreFileSystemRedirection();
  if (restart) Restart(program);
  ::SetCurrentDirectoryW(WidePath(state.InstallDir).c_str());
  LaunchOnExit(program);
  CarryOutEndChoices(program);
  ExitInstaller(program, 1);
}

}  // namespace brennick::win
