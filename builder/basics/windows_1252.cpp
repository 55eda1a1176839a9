#include "builder/basics/windows_1252.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace brennick::build {

namespace {

// Characters of the bytes 0x80 to 0x9F; the five bytes without a character
// stand for the control characters of the same number, as Windows maps them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharacterOf(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::optional<unsigned char> ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// The code points of valid UTF-8 text (no surrogates, no overlong forms).
std::optional<std::vector<char32_t>> Decode(std::string_view text) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + extra >= text.size()) return std::nullopt;  // the sequence is cut short
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += 1 + extra;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view text) { return Decode(text).has_value(); }

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  const auto characters = Decode(utf8);
  if (!characters) return std::nullopt;
  std::string out;
  out.reserve(characters->size());
  for (char32_t c : *characters) {
    const auto byte = ByteOf(c);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

std::string FirstCharacterOutside1252(std::string_view utf8) {
  const auto characters = Decode(utf8);
  if (!characters) return {};
  for (char32_t c : *characters) {
    if (!ByteOf(c)) {
      char text[16];
      std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
      return text;
    }
  }
  return {};
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char byte : text) AppendUtf8(out, CharacterOf(static_cast<unsigned char>(byte)));
  return out;
}

}  // namespace brennick::build
