#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {

// One line of comma-separated fields, without its line end. On writing every
// double quote is doubled, and a field is enclosed in double quotes when it
// holds one of ",\"\t\r\n;|", begins with a blank or an apostrophe, or ends
// with a blank.
std::string JoinCommaFields(std::span<const std::string> fields);

// The fields of one line: split at commas outside double quotes, blanks
// before a field skipped, the quotes removed and doubled quotes made single.
// An empty line is one empty field.
std::vector<std::string> SplitCommaFields(std::string_view line);

}  // namespace brennick
