#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {

// The language the language page selects first: the first name that begins
// with the user's native language name (cut before any "(" and without
// trailing blanks; letter case ignored), else the first that begins with
// "English", else the first.
std::size_t PreselectLanguage(const std::vector<std::string>& names, std::string_view nativeName);

}  // namespace brennick
