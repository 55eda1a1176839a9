#include "package/product_text.h"

#include "foundation/text.h"
#include "foundation/unicode_text.h"

namespace brennick {

namespace {

enum class Encoding { k8Bit, kUtf8, kUtf16Le, kUtf16Be };

std::size_t UnitOf(Encoding encoding) {
  return encoding == Encoding::kUtf16Le || encoding == Encoding::kUtf16Be ? 2 : 1;
}

// A Windows-1252 value in the text's own encoding.
std::string Encoded(std::string_view value, Encoding encoding) {
  switch (encoding) {
    case Encoding::k8Bit:
      return std::string(value);
    case Encoding::kUtf8:
      return Windows1252ToUtf8(value);
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: {
      std::string out;
      for (const char16_t c : Windows1252ToUtf16(value)) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        out.push_back(encoding == Encoding::kUtf16Le ? low : high);
        out.push_back(encoding == Encoding::kUtf16Le ? high : low);
      }
      return out;
    }
  }
  return std::string(value);
}

// Whether the character at `at` is the ASCII letter `ascii` (any case).
bool CharacterIs(std::string_view text, std::size_t at, char ascii, Encoding encoding) {
  const std::size_t unit = UnitOf(encoding);
  if (unit == 1) return EqualsNoCase(text.substr(at, 1), std::string_view(&ascii, 1));
  const char letter = text[at + (encoding == Encoding::kUtf16Be ? 1 : 0)];
  const char zero = text[at + (encoding == Encoding::kUtf16Be ? 0 : 1)];
  return zero == '\0' && EqualsNoCase(std::string_view(&letter, 1), std::string_view(&ascii, 1));
}

// Replaces `marker` (ASCII, any letter case) by `value` in `text`; matches
// only at character boundaries.
std::string ReplaceMarker(std::string_view text, std::string_view marker, std::string_view value,
                          Encoding encoding) {
  const std::size_t unit = UnitOf(encoding);
  const std::string encoded = Encoded(value, encoding);
  std::string out;
  out.reserve(text.size());
  const std::size_t markerBytes = marker.size() * unit;
  std::size_t i = 0;
  while (i < text.size()) {
    bool match = text.size() - i >= markerBytes;
    for (std::size_t k = 0; match && k < marker.size(); ++k) match = CharacterIs(text, i + k * unit, marker[k], encoding);
    if (match) {
      out += encoded;
      i += markerBytes;
    } else {
      out.append(text.substr(i, std::min(unit, text.size() - i)));
      i += unit;
    }
  }
  return out;
}

// The byte-order mark is kept as it is: it is no marker.
std::string ReplaceAllMarkers(std::string_view text, const ProductText& values, Encoding encoding,
                              std::size_t markBytes) {
  std::string out(text.substr(markBytes));
  out = ReplaceMarker(out, "<product>", values.productName, encoding);
  out = ReplaceMarker(out, "<description>", values.description, encoding);
  out = ReplaceMarker(out, "<os>", values.windowsFolder, encoding);
  return std::string(text.substr(0, markBytes)) + out;
}

}  // namespace

std::string ReplaceProductText(std::string_view text, const ProductText& values) {
  return ReplaceAllMarkers(text, values, Encoding::k8Bit, 0);
}

std::string ReplaceProductTextWide(std::string_view text, const ProductText& values) {
  if (text.starts_with("\xFF\xFE")) return ReplaceAllMarkers(text, values, Encoding::kUtf16Le, 2);
  if (text.starts_with("\xFE\xFF")) return ReplaceAllMarkers(text, values, Encoding::kUtf16Be, 2);
  if (text.starts_with("\xEF\xBB\xBF")) return ReplaceAllMarkers(text, values, Encoding::kUtf8, 3);
  return ReplaceProductText(text, values);
}

}  // namespace brennick
