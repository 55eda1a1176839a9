#include "engine/excluded_systems.h"

namespace brennick {

int ExcludedSystemBit(const WindowsVersion& v) {
  if (!v.ntFamily) {
    if (v.major != 4) return -1;
    if (v.minor < 10) return 0;
    return v.minor < 90 ? 1 : 2;
  }
  const bool server = !v.workstation;
  switch (v.major * 10 + v.minor) {
    case 40:
      return 3;
    case 50:
      return 4;
    case 51:
      return 5;
    case 52:
      return server ? 6 : 5;  // the workstation edition of 5.2 is XP x64
    case 60:
      return server ? 8 : 7;
    case 61:
      return server ? 10 : 9;
    case 62:
      return server ? 12 : 11;
    case 63:
      return server ? 14 : 13;
    case 100:
      if (server) return 16;
      return v.build >= 22000 ? 17 : 15;
    default:
      return -1;
  }
}

}  // namespace brennick
