#pragma once

#include <string>

namespace brennick {

// The facts of a Windows version that its name depends on.
struct WindowsVersion {
  bool ntFamily = true;     // false: Windows 95, 98 or Me
  unsigned major = 0;
  unsigned minor = 0;
  unsigned build = 0;
  bool workstation = true;  // false: a server edition
};

// "Windows " and the version's name: "Windows XP", "Windows 7",
// "Windows Server 2008 R2", "Windows 10", "Windows 11" ... A version this
// table does not know is named by its numbers ("Windows NT 12.1").
std::string WindowsNameOf(const WindowsVersion& version);

}  // namespace brennick
