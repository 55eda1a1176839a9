#include "package/product_text.h"

#include "foundation/text.h"

namespace brennick {

namespace {

// Replaces `marker` (ASCII, any letter case) by `value` in `text`, whose
// characters are `unit` bytes wide, little-endian; matches only at
// character boundaries.
std::string ReplaceMarker(std::string_view text, std::string_view marker, std::string_view value, std::size_t unit) {
  std::string out;
  out.reserve(text.size());
  const std::size_t markerBytes = marker.size() * unit;
  std::size_t i = 0;
  while (i < text.size()) {
    bool match = text.size() - i >= markerBytes;
    for (std::size_t k = 0; match && k < marker.size(); ++k) {
      const std::string_view ch = text.substr(i + k * unit, unit);
      match = EqualsNoCase(ch.substr(0, 1), marker.substr(k, 1)) && (unit == 1 || ch[1] == '\0');
    }
    if (match) {
      for (const char c : value) {
        out.push_back(c);
        if (unit == 2) out.push_back('\0');
      }
      i += markerBytes;
    } else {
      out.append(text.substr(i, std::min(unit, text.size() - i)));
      i += unit;
    }
  }
  return out;
}

std::string ReplaceAllMarkers(std::string_view text, const ProductText& values, std::size_t unit) {
  std::string out = ReplaceMarker(text, "<product>", values.productName, unit);
  out = ReplaceMarker(out, "<description>", values.description, unit);
  return ReplaceMarker(out, "<os>", values.windowsFolder, unit);
}

}  // namespace

std::string ReplaceProductText(std::string_view text, const ProductText& values) {
  return ReplaceAllMarkers(text, values, 1);
}

std::string ReplaceProductTextWide(std::string_view text, const ProductText& values) {
  const bool utf16 = text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                                          (text[0] == '\xFE' && text[1] == '\xFF'));
  return ReplaceAllMarkers(text, values, utf16 ? 2 : 1);
}

}  // namespace brennick
