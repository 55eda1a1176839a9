#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/unicode_text.h"

namespace brennick::build {

// The program's texts are 8-bit Windows-1252 (the ANSI code page of the
// languages we ship); project files and our catalogue are UTF-8.

// The Windows-1252 form of UTF-8 text, or nothing when the text is not valid
// UTF-8 or holds a character that Windows-1252 has no byte for.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// The first character of `utf8` (valid UTF-8) that Windows-1252 cannot hold,
// as "U+XXXX", or empty when there is none.
std::string FirstCharacterOutside1252(std::string_view utf8);

// UTF-8 text for Windows-1252 text: brennick::Windows1252ToUtf8.
using brennick::Windows1252ToUtf8;

bool IsValidUtf8(std::string_view text);

}  // namespace brennick::build
