#include "package/line_breaks.h"

namespace brennick {

namespace {

template <class Char>
std::basic_string<Char> Normalized(std::basic_string_view<Char> text) {
  std::basic_string<Char> out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c != Char('\r') && c != Char('\n')) {
      out.push_back(c);
      continue;
    }
    // A pair of different break characters is one break, in either order.
    const Char other = c == Char('\r') ? Char('\n') : Char('\r');
    if (i + 1 < text.size() && text[i + 1] == other) ++i;
    out.push_back(Char('\r'));
    out.push_back(Char('\n'));
  }
  return out;
}

}  // namespace

std::string NormalizeLineBreaks(std::string_view text) { return Normalized(text); }

std::u16string NormalizeLineBreaks(std::u16string_view text) { return Normalized(text); }

}  // namespace brennick
