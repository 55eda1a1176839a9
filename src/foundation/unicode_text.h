#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brennick {

// The code points of UTF-8 text; nothing for malformed, cut-short, overlong
// or surrogate sequences.
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

// UTF-16 of code points (pairs for those beyond the basic plane).
std::u16string ToUtf16(std::u32string_view text);

// The character of a Windows-1252 byte; the five bytes without one stand
// for the control characters of the same number, as Windows maps them.
char32_t Windows1252Character(unsigned char byte);

// The Windows-1252 byte of a character, or nothing when it has none.
std::optional<unsigned char> Windows1252Byte(char32_t c);

// UTF-8 and UTF-16 forms of Windows-1252 text (every byte has a character).
std::string Windows1252ToUtf8(std::string_view text);
std::u16string Windows1252ToUtf16(std::string_view text);

}  // namespace brennick
