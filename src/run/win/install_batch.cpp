#include "run/win/install_batch.h"

#include <optional>

#include "foundation/path_text.h"
#include "foundation/win/hidden_batch.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/private_folder.h"
#include "foundation/win/run_and_wait.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/short_path.h"
#include "foundation/win/system_error_text.h"
#include "foundation/win/whole_file.h"
#include "run/install_batch_text.h"
#include "run/win/install_log.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

InstallBatchValues BatchValues(const InstallerState& state) {
  WindowsFacts facts;
  InstallBatchValues values = InstallBatchValuesOf(facts, RunValuesOf(state));
  for (std::string* path : {&values.InstallDir, &values.UninstallDir, &values.SharedDir, &values.InstallerPath}) {
    *path = AnsiPathForBatch(*path);
  }
  return values;
}

// The command line is put together in UTF-8 and started through the wide
// call, so that a "|" path survives in it.
std::string Utf8Path(const std::string& path) { return FromWide(WidePathText(path), CP_UTF8); }

void DeletePath(const std::string& path) { ::DeleteFileW(WidePath(path).c_str()); }

void ReportFailure(Program& program, const char* what, const std::string& batch, DWORD error) {
  if (program.state.AutomaticMode) return;
  ShowMessageBox(program, std::string("Unable to ") + what + " batch file \"" + batch + "\".\r\n\r\n" +
                              SystemErrorText(error),
                 "Error", MB_OK | MB_ICONSTOP);
}

}  // namespace

bool RunInstallBatch(Program& program, const std::string& folder, bool hidden, const std::string& commands,
                     const char* label) {
  if (commands.empty()) return true;
  const InstallerState& state = program.state;
  const std::string text =
      InstallBatchText(BatchValues(state), state.AutomaticMode || hidden ? RemovePauseLines(commands) : commands);

  // The batch runs with the installer's rights, and `folder` may be open to
  // other users: the batch and its output lie where only we can write.
  const PrivateFolder privateFolder;
  if (privateFolder.path().empty()) {
    ReportFailure(program, "create", JoinPath(TemporaryFolder(), kInstallBatchName), ::GetLastError());
    return false;
  }
  const std::string batch = JoinPath(privateFolder.path(), kInstallBatchName);
  if (const DWORD error = WriteWholeFile(batch, text); error != 0) {
    DeletePath(batch);  // nothing half-written stays behind
    ReportFailure(program, "create", batch, error);
    return false;
  }

  std::string output;
  if (label != nullptr) {
    output = JoinPath(privateFolder.path(), kBatchOutputName);
    WriteWholeFile(output, "");  // must exist to have a short name
  }
  const std::string command = InstallBatchCommand(FromWide(CommandInterpreter(), CP_UTF8), Utf8Path(ShortPathOf(batch)),
                                                  output.empty() ? std::string() : Utf8Path(ShortPathOf(output)));
  const DWORD error = RunAndWait(ToWide(command, CP_UTF8), folder, hidden);
  if (error != 0) ReportFailure(program, "launch", batch, error);

  if (!output.empty()) {
    if (error == 0) {
      const std::string logged = BatchOutputLogText(label, ReadWholeFile(output).bytes);
      if (!logged.empty()) LogText(program, logged);
    }
    DeletePath(output);
  }
  DeletePath(batch);
  return error == 0;
}

void RunSettingsBatch(Program& program, SettingsBatch batch) {
  InstallerState& state = program.state;
  const SettingsRecord& s = state.Settings;
  struct Row {
    std::string commands;
    flags::ProductBit hiddenBit;
    std::optional<flags::Product2Bit> logBit;  // none: the output is never logged
    const char* label;
  };
  const Row row = [&]() -> Row {
    switch (batch) {
      case SettingsBatch::PreInstall:
        return {JoinBatchCommands(s.PreInstallBatch, state.PreInstallBatchExtra), flags::kHidePreInstallBatch,
                flags::kLogPreInstallBatch, "Pre-Installation Batch"};
      case SettingsBatch::Upgrade:
        return {s.UpgradeBatch, flags::kHideUpgradeBatch, flags::kLogUpgradeBatch, "Upgrade Batch"};
      case SettingsBatch::Reinstall:
        return {s.ReinstallBatch, flags::kHideReinstallBatch, flags::kLogReinstallBatch, "Reinstall Batch"};
      case SettingsBatch::PostInstall:
        return {JoinBatchCommands(s.PostInstallBatch, state.PostInstallBatchExtra), flags::kHidePostInstallBatch,
                flags::kLogPostInstallBatch, "Post-Installation Batch"};
      case SettingsBatch::Exit:
        break;
    }
    return {JoinBatchCommands(s.ExitBatch, state.ExitBatchExtra), flags::kHideExitBatch, std::nullopt, nullptr};
  }();
  const bool logged = row.logBit && HasFlag(s.ProductFlags2, *row.logBit);
  RunInstallBatch(program, state.InstallDir, HasFlag(s.ProductFlags, row.hiddenBit), row.commands,
                  logged ? row.label : nullptr);
}

}  // namespace brennick::win
