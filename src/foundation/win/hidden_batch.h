#pragma once

#include <string>

namespace brennick::win {

// The user's temporary folder with a trailing backslash; "c:\\temp\\" when
// the system reports none.
std::string TemporaryFolder();

// The command interpreter the system names in %ComSpec% when that is a full
// path; else cmd.exe of the system folder.
std::wstring CommandInterpreter();

// A path as an ANSI batch file can name it: a path that only the wide calls
// can name is given by its short form, which the code page can nearly always
// hold (not on a volume without short names).
std::string AnsiPathForBatch(const std::string& path);

// Starts a batch file through the command interpreter ("/c" and the batch's
// short path) with no window, without waiting for it; when the interpreter
// cannot be started, opens the batch through the shell, hidden. False when
// neither worked.
bool StartHiddenBatch(const std::string& batchPath);

}  // namespace brennick::win
