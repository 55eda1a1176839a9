#include "ui/page_text.h"

#include <cstdint>

namespace brennick {

namespace {

template <typename Text>
Text WithCrLf(const Text& text) {
  Text out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = text[i];
    if (c == '\r') {
      out.push_back('\r');
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out.push_back('\r');
      out.push_back('\n');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

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

bool DecodeUtf8(std::string_view bytes, std::u16string& out) {
  out.clear();
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::uint32_t code = 0;
    int extra = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F, extra = 1, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F, extra = 2, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      code = lead & 0x07, extra = 3, minimum = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i <= static_cast<std::size_t>(extra)) return false;  // cut off at the end
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += 1 + extra;
  }
  return true;
}

PageText DecodePageText(std::string_view bytes) {
  PageText text;
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    text.unicode = true;
    text.wide = WithCrLf(Utf16Of(bytes.substr(2), bytes[0] == '\xFE'));
    return text;
  }
  if (StartsWith(bytes, "\xEF\xBB\xBF") && DecodeUtf8(bytes.substr(3), text.wide)) {
    text.unicode = true;
    text.wide = WithCrLf(text.wide);
    return text;
  }
  text.wide.clear();
  text.narrow = WithCrLf(std::string(bytes));
  return text;
}

}  // namespace brennick
