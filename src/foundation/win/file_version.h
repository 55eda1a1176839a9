#pragma once

#include <string>

namespace brennick::win {

// The "FileVersion" text of a file's version resource, commas turned into
// points and blanks and line breaks trimmed; empty when the file has none.
std::string ReadFileVersion(const std::string& path);

}  // namespace brennick::win
