#pragma once

#include <string_view>

namespace brennick {

// Paths are ANSI text, except that a path beginning with "|" carries the rest
// in UTF-8 and goes through the wide Windows calls. Every place that turns a
// path into a system call asks these two, so the rule lives in one spot.
constexpr char kUtf8PathMark = '|';

inline bool IsUtf8Path(std::string_view path) { return !path.empty() && path.front() == kUtf8PathMark; }

// The path without its "|" mark.
inline std::string_view PathBody(std::string_view path) {
  return IsUtf8Path(path) ? path.substr(1) : path;
}

}  // namespace brennick
