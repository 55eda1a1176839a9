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

// For licence and readme texts, which may be UTF-16: a text that begins with
// the byte pair FF FE or FE FF has the markers and values replaced as 16-bit
// little-endian characters in its raw bytes (each 8-bit character widened by
// a zero high byte); any other text goes through ReplaceProductText.
std::string ReplaceProductTextWide(std::string_view text, const ProductText& values);

}  // namespace brennick
