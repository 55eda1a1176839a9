#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brennick::build {

// Wildcards of project file paths, over "/"-separated components ("\" counts
// as "/" too): "*" any run of characters within a component, "?" one
// character, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a
// set, and a whole component "**" any number of folders, none included.
// A name that begins with "." is matched only by a pattern component that
// begins with "." too, and "**" does not enter such folders.

// Whether one name matches one pattern component.
bool MatchName(std::string_view pattern, std::string_view name);

// Whether a "/"-separated relative path matches a "/"-separated pattern.
bool MatchPath(std::string_view pattern, std::string_view path);

struct GlobMatch {
  std::filesystem::path file;  // absolute
  std::string relative;        // "/"-separated, from the pattern's last folder without wildcards
};

// The regular files that `pattern` names, relative to `folder` unless it is
// absolute, sorted by their relative path (byte order), each once. A pattern
// without wildcards names one file; its relative path is its file name.
std::vector<GlobMatch> ExpandGlob(const std::filesystem::path& folder, std::string_view pattern);

// Whether a pattern holds a wildcard at all.
bool HasWildcards(std::string_view pattern);

}  // namespace brennick::build
