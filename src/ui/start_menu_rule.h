#pragma once

#include <string_view>

namespace brennick {

// Whether a Start-menu folder text may be accepted: none of the characters
// / " < > | * ? : ; , no backslash at its start and no two backslashes in a
// row. An empty text is accepted (shortcuts then go into Programs itself).
bool IsAcceptableStartMenuFolder(std::string_view text);

}  // namespace brennick
