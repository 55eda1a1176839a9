#include "builder/basics/windows_1252.h"

#include <cstdio>

#include "foundation/unicode_text.h"

namespace brennick::build {

bool IsValidUtf8(std::string_view text) { return DecodeUtf8(text).has_value(); }

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  const auto characters = DecodeUtf8(utf8);
  if (!characters) return std::nullopt;
  std::string out;
  out.reserve(characters->size());
  for (char32_t c : *characters) {
    const auto byte = Windows1252Byte(c);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string FirstCharacterOutside1252(std::string_view utf8) {
  const auto characters = DecodeUtf8(utf8);
  if (!characters) return {};
  for (char32_t c : *characters) {
    if (!Windows1252Byte(c)) {
      char text[16];
      std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
      return text;
    }
  }
  return {};
}

}  // namespace brennick::build
