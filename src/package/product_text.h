#pragma once

#include <string>
#include <string_view>

namespace brennick {

// The values that stand for the product-text markers.
struct ProductText {
  std::string productName;     // "<product>"
  std::string description;     // "<description>"
  std::string windowsFolder;   // "<os>": the Windows folder, without a trailing backslash
};

// Replaces, in this order and ignoring letter case, every "<product>", every
// "<description>" and every "<os>".
std::string ReplaceProductText(std::string_view text, const ProductText& values);

// For licence and readme texts, which may be Unicode: in a text that begins
// with a UTF-16 byte-order mark (FF FE, or FE FF for big-endian) the markers
// are found as 16-bit characters and the values written as such; in one that
// begins with the UTF-8 mark the values are written in UTF-8. The values are
// Windows-1252 text and are converted, so that a value with letters beyond
// ASCII keeps the text readable. Any other text goes through
// ReplaceProductText.
std::string ReplaceProductTextWide(std::string_view text, const ProductText& values);

}  // namespace brennick
