#pragma once

#include <string_view>

namespace brennick {

// Compares two version texts: their runs of decimal digits one by one as
// integers ("2.10" is above "2.9"); a text whose numbers run out first is the
// smaller ("1.0" is below "1.0.0"); with the same numbers, the last letter of
// each text decides by its character code, no letter counting as 0 ("1.0b"
// is above "1.0a" and "1.0"). A text that begins with "." reads as if it
// began with "0.". Returns less than, equal to or greater than 0.
int CompareVersions(std::string_view a, std::string_view b);

}  // namespace brennick
