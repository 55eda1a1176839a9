#pragma once

#include <string>
#include <string_view>

namespace brennick {

// A licence or readme text as the page shows it: Unicode when the text says
// it is (a UTF-16 byte-order mark, or a UTF-8 one followed by valid UTF-8),
// else the 8-bit text in the language's code page. Line breaks are made
// "\r\n" in both, as the multi-line edit needs them.
struct PageText {
  bool unicode = false;
  std::u16string wide;   // when unicode
  std::string narrow;    // otherwise
};

PageText DecodePageText(std::string_view bytes);

}  // namespace brennick
