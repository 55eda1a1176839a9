#pragma once

#include <string>

namespace brennick::win {

// The short (8.3) form the system reports for an existing path; the path
// unchanged when it reports none. A "|" path gives its short form in our path
// text (ANSI when the code page holds it).
std::string ShortPathOf(const std::string& path);

}  // namespace brennick::win
