#include "foundation/message_format.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/format_check.h"

namespace brennick {

namespace {

std::string Printed(const std::string& conversion, const FormatValue& value) {
  std::vector<char> out(64);
  for (;;) {
    const int size = value.isText ? std::snprintf(out.data(), out.size(), conversion.c_str(), std::string(value.text).c_str())
                                  : std::snprintf(out.data(), out.size(), conversion.c_str(), static_cast<int>(value.number));
    if (size < 0) return {};
    if (static_cast<std::size_t>(size) < out.size()) return std::string(out.data(), static_cast<std::size_t>(size));
    out.resize(static_cast<std::size_t>(size) + 1);
  }
}

}  // namespace

std::string FormatLanguageString(std::string_view format, std::initializer_list<FormatValue> values) {
  std::string expected;
  for (const FormatValue& v : values) expected += v.isText ? 's' : 'd';
  std::string text;
  if (!FormatTakes(format, expected)) {
    text = format;
    for (const FormatValue& v : values) {
      text += ' ';
      text += v.isText ? std::string(v.text) : std::to_string(v.number);
    }
    return text;
  }
  const FormatValue* next = values.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
      continue;
    }
    if (format[i + 1] == '%') {
      text += '%';
      ++i;
      continue;
    }
    // The whole conversion, flags to letter; FormatTakes vouched for its shape.
    std::size_t end = i + 1;
    while (std::strchr("diuxXcs", format[end]) == nullptr) ++end;
    text += Printed(std::string(format.substr(i, end - i + 1)), *next++);
    i = end;
  }
  return text;
}

}  // namespace brennick
