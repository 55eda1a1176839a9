#pragma once

#include "foundation/windows_name.h"

namespace brennick {

// The bit of a Windows version in the ExcludedSystems mask, or -1 for a
// version the mask has no bit for:
//   0 Windows 95, 1 Windows 98, 2 Windows Me, 3 Windows NT 4.0, 4 Windows 2000,
//   5 Windows XP, 6 Windows Server 2003, 7 Windows Vista, 8 Windows Server 2008,
//   9 Windows 7, 10 Windows Server 2008 R2, 11 Windows 8, 12 Windows Server 2012,
//   13 Windows 8.1, 14 Windows Server 2012 R2, 15 Windows 10,
//   16 Windows Server 2016 and later, 17 Windows 11.
int ExcludedSystemBit(const WindowsVersion& version);

}  // namespace brennick
