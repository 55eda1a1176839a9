#include "foundation/format_check.h"

#include <cstring>

namespace brennick {

bool FormatTakes(std::string_view format, std::string_view expected) {
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i == format.size()) return false;
    if (format[i] == '%') continue;
    while (i < format.size() && std::strchr("-+ #0", format[i]) != nullptr) ++i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && format[i] == '.') {
      ++i;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    }
    if (i == format.size()) return false;
    const char conversion = format[i];
    char kind;
    if (std::strchr("diuxXc", conversion) != nullptr) {
      kind = 'd';
    } else if (conversion == 's') {
      kind = 's';
    } else {
      return false;  // '*', 'n', length modifiers, floating point, pointers
    }
    if (next == expected.size() || expected[next] != kind) return false;
    ++next;
  }
  return next == expected.size();
}

}  // namespace brennick
