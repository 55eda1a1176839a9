#include "foundation/date_time.h"

#include <cstdio>

namespace brennick {

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, const DateTime& when) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const std::string_view rest = pattern.substr(i);
    if (rest.starts_with("yy")) {
      out += std::to_string(when.year);
      i += 2;
    } else if (rest.starts_with("ii")) {
      out += TwoDigits(when.minute);
      i += 2;
    } else if (rest.starts_with("ss")) {
      out += TwoDigits(when.second);
      i += 2;
    } else if (rest.starts_with("ap")) {
      out += when.hour < 12 ? 'a' : 'p';
      i += 2;
    } else {
      switch (pattern[i]) {
        case 'd': out += std::to_string(when.day); break;
        case 'm': out += std::to_string(when.month); break;
        case 'M': out += (when.month >= 1 && when.month <= 12) ? kMonths[when.month - 1] : "???"; break;
        case 'y': out += TwoDigits(((when.year % 100) + 100) % 100); break;
        case 'h': out += std::to_string(when.hour % 12 == 0 ? 12 : when.hour % 12); break;
        default: out += pattern[i];
      }
      ++i;
    }
  }
  return out;
}

}  // namespace brennick
