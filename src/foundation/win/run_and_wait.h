#pragma once

#include <cstdint>
#include <string>

namespace brennick::win {

// Starts `command` (a whole command line) in `folder` (empty: this
// process's current folder), its window hidden when asked, and waits for it
// to end while handling this thread's window messages every 75 ms, so the
// program's own windows stay alive. Returns 0, or the Windows error of a
// start that failed. The exit code of the command is not looked at.
std::uint32_t RunAndWait(std::wstring command, const std::string& folder, bool hidden);

}  // namespace brennick::win
