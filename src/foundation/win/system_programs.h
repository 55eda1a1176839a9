#pragma once

#include <string>

namespace brennick::win {

// Full paths of the system's own programs. A program started by its bare
// name is searched first in the folder of the program that starts it and in
// the current folder, both places another user may be able to write; ours
// never start one that way.

// `name` in the system folder (System32, or what this process sees as it).
std::wstring SystemProgram(const wchar_t* name);

// `name` in the Windows folder.
std::wstring WindowsProgram(const wchar_t* name);

}  // namespace brennick::win
