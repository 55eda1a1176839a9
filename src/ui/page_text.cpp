#include "ui/page_text.h"

#include <cstdint>

#include "foundation/unicode_text.h"
#include "package/line_breaks.h"

namespace brennick {

namespace {

std::u16string Utf16Of(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<std::uint8_t>(bytes[bigEndian ? i + 1 : i]);
    const auto hi = static_cast<std::uint8_t>(bytes[bigEndian ? i : i + 1]);
    out.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

}  // namespace

PageText DecodePageText(std::string_view bytes) {
  PageText text;
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    text.unicode = true;
    text.wide = NormalizeLineBreaks(Utf16Of(bytes.substr(2), bytes[0] == '\xFE'));
    return text;
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    if (const auto characters = DecodeUtf8(bytes.substr(3))) {
      text.unicode = true;
      text.wide = NormalizeLineBreaks(ToUtf16(*characters));
      return text;
    }
  }
  text.narrow = NormalizeLineBreaks(bytes);
  return text;
}

}  // namespace brennick
