#include "foundation/windows_name.h"

namespace brennick {

namespace {

// First builds of the releases that share version 10.0.
constexpr unsigned kWindows11Build = 22000;
constexpr unsigned kServer2019Build = 17763;
constexpr unsigned kServer2022Build = 20348;

const char* NineXName(unsigned minor) {
  if (minor >= 90) return "Me";
  if (minor >= 10) return "98";
  return "95";
}

const char* WorkstationName(unsigned major, unsigned minor, unsigned build) {
  if (major == 4) return "NT 4.0";
  if (major == 5) return minor == 0 ? "2000" : "XP";  // 5.2 workstation: XP x64
  if (major == 6) {
    switch (minor) {
      case 0: return "Vista";
      case 1: return "7";
      case 2: return "8";
      case 3: return "8.1";
      default: return nullptr;
    }
  }
  if (major == 10 && minor == 0) return build >= kWindows11Build ? "11" : "10";
  return nullptr;
}

const char* ServerName(unsigned major, unsigned minor, unsigned build) {
  if (major == 5 && minor == 0) return "2000 Server";
  if (major == 5 && minor == 2) return "Server 2003";
  if (major == 6) {
    switch (minor) {
      case 0: return "Server 2008";
      case 1: return "Server 2008 R2";
      case 2: return "Server 2012";
      case 3: return "Server 2012 R2";
      default: return nullptr;
    }
  }
  if (major == 10 && minor == 0) {
    if (build >= kServer2022Build) return "Server 2022";
    if (build >= kServer2019Build) return "Server 2019";
    return "Server 2016";
  }
  return WorkstationName(major, minor, build);
}

}  // namespace

std::string WindowsNameOf(const WindowsVersion& v) {
  const char* name = !v.ntFamily    ? NineXName(v.minor)
                     : v.workstation ? WorkstationName(v.major, v.minor, v.build)
                                     : ServerName(v.major, v.minor, v.build);
  if (name != nullptr) return std::string("Windows ") + name;
  return "Windows NT " + std::to_string(v.major) + "." + std::to_string(v.minor);
}

}  // namespace brennick
