#pragma once

#include <string>

#include "startup/win/program.h"

namespace brennick::win {

// Every message box of the program goes through here: owned by the
// background window (when there is one), shown with the arrow cursor, and
// with its Yes, No, Cancel and Retry buttons relabelled in the current
// language (language strings 79, 80, 49 and 100; a string that is empty
// keeps the system's label). `type` takes the MB_ button and icon flags;
// returns what MessageBoxA returns.
int ShowMessageBox(Program& program, const std::string& text, const std::string& title, UINT type);
// The same over a page instead of the background window.
int ShowMessageBoxOver(Program& program, HWND owner, const std::string& text, const std::string& title, UINT type);

// An error box (stop icon) titled by language string 21, or "Error" while
// that is empty. Shown when AutomaticMode is off, and in automatic mode only
// with ProductFlags bit 35. An empty text shows nothing.
void ShowError(Program& program, const std::string& text);

// Questions (question icon): true on Yes, on OK.
bool AskYesNo(Program& program, const std::string& text, const std::string& title);
bool AskOkCancel(Program& program, const std::string& text, const std::string& title);

// A Retry/Cancel box (exclamation icon): true on Retry.
bool AskRetryCancel(Program& program, const std::string& text, const std::string& title);

// A message with the information icon.
void ShowInformation(Program& program, const std::string& text, const std::string& title);

// The user cancelled: unless AutomaticMode, an exclamation box with language
// string 98 titled 65; then the orderly exit with code 1.
[[noreturn]] void CancelInstall(Program& program);

// The same for the uninstaller, with language strings 101 and 55.
[[noreturn]] void CancelUninstall(Program& program);

}  // namespace brennick::win
