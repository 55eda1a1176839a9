#pragma once

#include <string>
#include <string_view>

namespace brennick {

// Every line break as "\r\n": a lone "\n", a lone "\r" and "\n\r" each become
// "\r\n"; an existing "\r\n" stays.
std::string NormalizeLineBreaks(std::string_view text);
std::u16string NormalizeLineBreaks(std::u16string_view text);

}  // namespace brennick
