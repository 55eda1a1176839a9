#pragma once

#include <string>

#include "foundation/windows_name.h"

namespace brennick::win {

// The running Windows as it really is: RtlGetVersion where it exists (it is
// not subject to the compatibility shims of GetVersionEx), else GetVersionEx.
WindowsVersion RunningWindowsVersion();

// The running Windows' name, "Windows 7", "Windows 10" ...
std::string WindowsName();

// The key under HKEY_LOCAL_MACHINE that lists the installed fonts: the
// Windows NT one or the Windows 9x one.
const char* FontsRegistryKey();

}  // namespace brennick::win
