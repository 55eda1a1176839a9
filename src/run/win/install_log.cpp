#include "run/win/install_log.h"

#include <shellapi.h>

#include <cstdarg>
#include <cstdio>

#include "foundation/message_format.h"
#include "foundation/win/file_io.h"
#include "foundation/win/local_time.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/system_programs.h"
#include "foundation/win/windows_version.h"
#include "run/install_log_record.h"
#include "run/win/message_boxes.h"
#include "startup/installer_settings.h"

namespace brennick::win {

namespace {

constexpr int kLockedTries = 100;
constexpr DWORD kLockedPauseMs = 10;

std::string FormatText(const char* format, va_list args) {
  va_list sizing;
  va_copy(sizing, args);
  const int size = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<std::size_t>(size));
  return text;
}

// Appends this run's record to "Install.LOG". False when the file cannot be
// opened.
bool AppendRecord(Program& program, bool isReinstall, const std::string& failures) {
  InstallerState& state = program.state;
  ScopedKernelHandle file(::CreateFileW(WidePath(InstallLogFilePath(state)).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  const bool wasEmpty = !::GetFileSizeEx(file.get(), &size) || size.QuadPart == 0;
  const LARGE_INTEGER zero = {};
  ::SetFilePointerEx(file.get(), zero, nullptr, FILE_END);

  const std::string body = program.installLog.ReadAll();
  const std::string system = WindowsName();
  InstallLogRecord record;
  record.fileWasEmpty = wasEmpty;
  record.productName = state.ProductName;
  record.installDate = LocalTimeNow();
  record.hasUninstaller = HasFlag(state.Settings.ProductFlags, flags::kUninstaller);
  record.isReinstall = isReinstall;
  record.installDir = state.InstallDir;
  record.displayVersion = state.Settings.DisplayVersion;
  record.overwritingVersion = state.OverwritingVersion;
  record.operatingSystem = system;
  record.body = body;
  record.failures = failures;
  record.successLine = Message(state, MessageId::kSuccessTitle);
  // A record that did not get written is no record: nothing to show.
  return WriteAll(file.get(), BuildInstallLogRecord(record)) == 0;
}

// The end message of a run without failures: the plain success box, or the
// summary page when it has end choices to offer.
void TellSuccess(Program& program, InstallUi* ui) {
  InstallerState& state = program.state;
  std::uint64_t& productFlags = state.Settings.ProductFlags;
  if (HasFlag(productFlags, flags::kNoFinishMessage)) return;
  // The log is offered only when it is kept.
  if (!HasFlag(productFlags, flags::kKeepInstallLog)) ClearFlag(productFlags, flags::kOfferViewLog);
  const SettingsRecord& settings = state.Settings;
  const bool nothingToOffer = settings.RunAfterInstall.empty() && settings.LaunchAfterInstall.empty() &&
                              settings.DocumentAfterInstall.empty() && !HasFlag(productFlags, flags::kOfferViewLog);
  if (nothingToOffer || HasFlag(productFlags, flags::kRestartRequired) || ui == nullptr) {
    const std::string text = Message(state, MessageId::kInstallSucceeded);
    ShowInformation(program, text, Message(state, MessageId::kSuccessTitle));
  } else {
    ui->ShowSummary();
  }
}

}  // namespace

std::string InstallLogFilePath(const InstallerState& state) {
  return InstallLogPath(state.UninstallDataDir, state.InstallDir);
}

void OpenInstallLog(Program& program) { program.installLog.Open(); }

void LogText(Program& program, std::string_view text) { program.installLog.Append(text); }

void LogTexts(Program& program, std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) LogText(program, text);
}

void LogFormat(Program& program, const char* format, ...) {
  if (!program.installLog.IsOpen()) return;
  va_list args;
  va_start(args, format);
  const std::string text = FormatText(format, args);
  va_end(args);
  LogText(program, text);
}

void AddFailure(Program& program, std::string_view text) { program.state.FailureText.append(text); }

void AddFailures(Program& program, std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) AddFailure(program, text);
}

void AddFailureFormat(Program& program, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatText(format, args);
  va_end(args);
  AddFailure(program, text);
}

void WriteInstallLog(Program& program, bool isReinstall, bool showMessages, const std::string& failures,
                     InstallUi* ui) {
  InstallerState& state = program.state;
  const bool hasFailures = !failures.empty();
  bool viewLog = false;
  if (showMessages && !state.AutomaticMode) {
    if (hasFailures) {
      const std::string question = FormatLanguageString(Message(state, MessageId::kFailuresViewLog), {failures});
      viewLog = AskYesNo(program, question, Message(state, MessageId::kFailureTitle));
    } else {
      TellSuccess(program, ui);
    }
  }
  if (HasFlag(state.Settings.ProductFlags, flags::kKeepInstallLog) || hasFailures) {
    // No record, nothing to show.
    if (!AppendRecord(program, isReinstall, failures)) viewLog = false;
  }
  if (viewLog) ViewInstallLog(program);
  program.installLog.Discard();
}

void ViewInstallLog(Program& program) {
  const std::wstring path = WidePath(InstallLogFilePath(program.state));
  const HINSTANCE opened =
      ::ShellExecuteW(program.backgroundWindow, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(opened) > 32) return;
  std::wstring command = L"notepad.exe \"" + path + L"\"";
  const std::wstring notepad = WindowsProgram(L"notepad.exe");
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(notepad.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
    const ScopedKernelHandle thread(process.hThread);
    const ScopedKernelHandle child(process.hProcess);
  }
}

void AppendToLogFile(Program& program, std::string_view text) {
  const std::wstring path = WidePath(InstallLogFilePath(program.state));
  ScopedKernelHandle file;
  for (int attempt = 1; attempt <= kLockedTries; ++attempt) {
    if (attempt > 1) ::Sleep(kLockedPauseMs);
    file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (file || ::GetLastError() != ERROR_SHARING_VIOLATION) break;
  }
  if (!file) return;
  const LARGE_INTEGER zero = {};
  if (::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) WriteAll(file.get(), text);
}

}  // namespace brennick::win
