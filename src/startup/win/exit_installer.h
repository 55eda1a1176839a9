#pragma once

#include "startup/win/program.h"

namespace brennick::win {

// The one orderly exit: closes the background window, lets pending window
// messages run, deletes the temporary install log, waits for the completion
// notification, releases OLE and ends the process with `exitCode`.
[[noreturn]] void ExitInstaller(Program& program, int exitCode);

}  // namespace brennick::win
