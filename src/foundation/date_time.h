#pragma once

#include <string>
#include <string_view>

namespace brennick {

// A calendar date and time (file times, the install date).
struct DateTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;
  bool operator==(const DateTime&) const = default;
};

// Formats by pattern letters: "d" day, "m" month number (both without a
// leading zero), "M" the English month's first three letters, "yy" the
// four-digit year, "y" its last two digits, "h" the hour on the 12-hour clock
// (0 and 12 give 12), "ii" minutes and "ss" seconds as two digits, "ap" "a"
// before noon and "p" from noon. Every other character is copied.
// "d-M-yy h:ii:ssap" gives "8-Dec-2026 2:07:24a".
std::string FormatDateTime(std::string_view pattern, const DateTime& when);

}  // namespace brennick
