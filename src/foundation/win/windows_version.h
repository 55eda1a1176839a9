#pragma once

#include <string>

#include "foundation/windows_name.h"

namespace brennick::win {

// The running Windows as it really is: RtlGetVersion where it exists (it is
// not subject to the compatibility shims of GetVersionEx), else GetVersionEx.
WindowsVersion RunningWindowsVersion();

// The running Windows' name, "Windows 7", "Windows 10" ...
std::string WindowsName();

}  // namespace brennick::win
