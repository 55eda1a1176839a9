#pragma once

#include <string>
#include <string_view>

namespace brennick {

// Makes a relative path absolute against `base`: empty paths, network paths
// ("\\\\server\\...") and "X:\\..." paths stay as they are; each leading "..\\"
// takes one folder off the base; a path that starts with one backslash gets the
// base's drive in front; anything else is joined to the base with one
// backslash.
std::string ResolvePath(std::string_view path, std::string_view base);

// "a\\b" + "c" -> "a\\b\\c", with exactly one backslash between.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace brennick
