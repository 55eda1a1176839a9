#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "run/install_ui.h"
#include "startup/win/program.h"

namespace brennick::win {

// The install log. While the run goes on, every step appends to a temporary
// file; at the end WriteInstallLog turns it into one record of
// "Install.LOG". Appends never fail the step that makes them: without a log
// (its creation failed, or it is already written) they do nothing.

// Creates the temporary log (program.installLog); every way out deletes it.
void OpenInstallLog(Program& program);

// Appends to the temporary log as given; the caller supplies the "\r\n".
void LogText(Program& program, std::string_view text);
void LogTexts(Program& program, std::initializer_list<std::string_view> texts);
void LogFormat(Program& program, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Appends to FailureText. Every failure entry ends with "\r\n\r\n".
void AddFailure(Program& program, std::string_view text);
void AddFailures(Program& program, std::initializer_list<std::string_view> texts);
void AddFailureFormat(Program& program, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The end of the run: tells the user how it went (unless `showMessages` is
// off or the run is automatic), appends the record to "Install.LOG" when
// ProductFlags bit 6 is set or something failed, offers the log after
// failures, and discards the temporary log. `ui` shows the summary page of a
// successful run; without one the plain success message stands in for it.
void WriteInstallLog(Program& program, bool isReinstall, bool showMessages, const std::string& failures,
                     InstallUi* ui = nullptr);

// Opens "Install.LOG" with its default program, else with Notepad.
void ViewInstallLog(Program& program);

// Appends to "Install.LOG" itself, for failures after WriteInstallLog.
// Waits for a program that holds the file (100 tries, 10 ms apart).
void AppendToLogFile(Program& program, std::string_view text);

// "Install.LOG" in the uninstall data folder (or the installation folder).
std::string InstallLogFilePath(const InstallerState& state);

}  // namespace brennick::win
