#include "engine/win/earlier_install.h"

#include "foundation/version_compare.h"
#include "foundation/win/file_system.h"
#include "foundation/win/hidden_batch.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/registry.h"
#include "foundation/win/whole_file.h"
#include "run/uninstall_key_values.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/win/exit_installer.h"

namespace brennick::win {

namespace {

// "utrri.bat" runs the earlier version's uninstaller, starts this installer
// again with its own command line, and deletes itself.
void HandOverToUninstaller(const std::string& uninstallCommand) {
  const std::string batch = TemporaryFolder() + "utrri.bat";
  std::string text = uninstallCommand;
  text.append("\r\n").append(::GetCommandLineA()).append("\r\n");
  text.append("del \"").append(batch).append("\"\r\n");
  if (WriteWholeFile(batch, text) == 0) StartHiddenBatch(batch);
}

[[noreturn]] void MustUninstallFirst(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  state.AutomaticMode = false;  // the user must see why the installer stops
  const std::string key = UninstallKeyPath(state);
  std::string command = ReadRegistryString(HKEY_LOCAL_MACHINE, key, "QuietUninstallString").value_or("");
  if (command.empty()) command = ReadRegistryString(HKEY_LOCAL_MACHINE, key, "UninstallString").value_or("");
  if (command.empty()) {
    ShowError(program, Message(state, MessageId::kMustUninstallFirst));
    ExitInstaller(program, 1);
  }
  if (ui.ShowMustUninstall() == PageResult::Continue) HandOverToUninstaller(command);
  ExitInstaller(program, 1);
}

// The message that introduces the question, with the comparison it implies.
MessageId ClassifyVersions(InstallerState& state) {
  const std::string& installed = state.OverwritingVersion;
  const std::string& packaged = state.Settings.DisplayVersion;
  if (!HasFlag(state.Settings.ProductFlags, flags::kCompareVersions) || installed.empty() || packaged.empty()) {
    return MessageId::kEarlierInstallFound;
  }
  const int order = CompareVersions(installed, packaged);
  state.IsReinstall = order == 0;
  state.IsUpgrade = order < 0;
  state.IsDowngrade = order > 0;
  if (order == 0) return MessageId::kSameVersionInstalled;
  return order < 0 ? MessageId::kOlderVersionInstalled : MessageId::kNewerVersionInstalled;
}

}  // namespace

std::string UninstallKeyPath(const InstallerState& state) { return UninstallKeyPathOf(state.Settings.UninstallKeyName); }

void FindEarlierInstallation(Program& program) {
  InstallerState& state = program.state;
  if (!HasFlag(state.Settings.ProductFlags, flags::kUninstaller)) return;
  const std::string key = UninstallKeyPath(state);
  const auto value = [&](const char* name) {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, key, name).value_or("");
  };
  state.PreviousInstallDir = value("InstallLocation");
  state.OverwritingVersion = value("DisplayVersion");
  state.PreviousSharedFiles = value("SharedFiles");
  state.PreviousStartMenu = value("ProductStartMenu");
  if (state.PreviousInstallDir.empty()) {
    if (const auto path = ParseRegistryValuePath(state.Settings.InstallDirRegistryValue)) {
      state.PreviousInstallDir = ReadRegistryString(*path);
    }
  }
  state.PreviousInstallFound = !state.PreviousInstallDir.empty() && IsFolder(state.PreviousInstallDir);
}

void ConfirmOverEarlierInstallation(Program& program, InstallUi& ui) {
  InstallerState& state = program.state;
  const SettingsRecord& s = state.Settings;
  if (HasFlag(s.ProductFlags, flags::kMustUninstallFirst) &&
      (s.MustUninstallBelow.empty() || CompareVersions(state.OverwritingVersion, s.MustUninstallBelow) < 0)) {
    MustUninstallFirst(program, ui);
  }
  // The comparison is made whether or not the question is asked: the batches
  // and notifications of an upgrade depend on it in automatic mode too.
  const MessageId message = ClassifyVersions(state);
  if (state.AutomaticMode || HasFlag(s.ProductFlags, flags::kNoPreviousInstallQuestion)) return;
  const std::string question = Message(state, message) + "\r\n" + state.PreviousInstallDir + "\r\n\r\n" +
                               Message(state, MessageId::kInstallOverEarlier);
  if (!AskYesNo(program, question, Message(state, MessageId::kEarlierInstallTitle))) CancelInstall(program);
  if (HasFlag(s.ProductFlags, flags::kConfirmUpgrade) && !state.OverwritingVersion.empty() &&
      (s.UpgradeWarnBelow.empty() || CompareVersions(state.OverwritingVersion, s.UpgradeWarnBelow) < 0) &&
      !AskOkCancel(program, Message(state, MessageId::kConfirmUpgrade), Message(state, MessageId::kQuestionTitle))) {
    ExitInstaller(program, 1);
  }
}

}  // namespace brennick::win
