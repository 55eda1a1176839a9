#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace brennick {

// One value for a printf-style language string: a text or a number (a "%c"
// takes a number too).
struct FormatValue {
  FormatValue(std::string_view text) : isText(true), text(text) {}  // NOLINT: values read naturally at call sites
  FormatValue(const std::string& text) : isText(true), text(text) {}
  FormatValue(const char* text) : isText(true), text(text) {}
  FormatValue(int number) : number(number) {}
  FormatValue(char letter) : number(static_cast<unsigned char>(letter)) {}

  bool isText = false;
  std::string_view text;
  long long number = 0;
};

// Formats a language string from the setup package with `values`. A string
// whose conversions do not take exactly these values is never given to
// printf: it is shown as it stands, followed by the values.
std::string FormatLanguageString(std::string_view format, std::initializer_list<FormatValue> values);

}  // namespace brennick
