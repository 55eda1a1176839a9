#include "package/line_breaks.h"

namespace brennick {

std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out.push_back(c);
      continue;
    }
    // A pair of different break characters is one break, in either order.
    const char other = c == '\r' ? '\n' : '\r';
    if (i + 1 < text.size() && text[i + 1] == other) ++i;
    out += "\r\n";
  }
  return out;
}

}  // namespace brennick
