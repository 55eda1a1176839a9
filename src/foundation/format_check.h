#pragma once

#include <string_view>

namespace brennick {

// Whether a printf format taken from package data asks for exactly the values
// the caller passes: `expected` lists one letter per value, 'd' for an int,
// 's' for a text (for example "sd"). "%%" is a plain percent sign. Formats
// with a '*' width or precision, an 'n', or a length modifier never match.
// A format that fails this test must not be given to printf: it would read
// values that were never passed.
bool FormatTakes(std::string_view format, std::string_view expected);

}  // namespace brennick
