#pragma once

#include <string>
#include <string_view>

namespace brennick {

// ASCII case folding: switch names and file extensions are plain ASCII, and
// folding must not depend on the code page of the machine.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// The text with its ASCII letters in lower or upper case.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);

// Every occurrence of `from` (not empty) replaced by `to`, left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The same, with `from` (ASCII) found in any letter case.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

// The position of `needle` in any letter case, or npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle);

// Blanks, tabs, carriage returns and line feeds.
bool IsWhiteSpace(char c);
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace brennick
