#include "builder/project/file_glob.h"

#include <algorithm>
#include <system_error>

namespace brennick::build {

namespace {

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

bool IsHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

// One character against a set that starts after "[" at `pos`; moves `pos`
// past the closing "]". A set without a closing "]" is taken literally.
bool MatchSet(std::string_view pattern, std::size_t& pos, char c, bool& wellFormed) {
  std::size_t i = pos;
  bool negate = false;
  if (i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^')) negate = true, ++i;
  bool found = false;
  bool first = true;
  for (; i < pattern.size() && (first || pattern[i] != ']'); ++i, first = false) {
    if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
      if (pattern[i] <= c && c <= pattern[i + 2]) found = true;
      i += 2;
    } else if (pattern[i] == c) {
      found = true;
    }
  }
  wellFormed = i < pattern.size();
  if (wellFormed) pos = i + 1;
  return found != negate;
}

bool MatchFrom(std::string_view pattern, std::size_t p, std::string_view name, std::size_t n) {
  while (p < pattern.size()) {
    const char c = pattern[p];
    if (c == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      for (std::size_t k = n; k <= name.size(); ++k) {
        if (MatchFrom(pattern, p, name, k)) return true;
      }
      return false;
    }
    if (n >= name.size()) return false;
    if (c == '?') {
      ++p, ++n;
      continue;
    }
    if (c == '[') {
      std::size_t q = p + 1;
      bool wellFormed = false;
      const bool in = MatchSet(pattern, q, name[n], wellFormed);
      if (wellFormed) {
        if (!in) return false;
        p = q, ++n;
        continue;
      }
    }
    if (c != name[n]) return false;
    ++p, ++n;
  }
  return n == name.size();
}

bool MatchParts(const std::vector<std::string>& pattern, std::size_t p, const std::vector<std::string>& path,
                std::size_t n) {
  if (p == pattern.size()) return n == path.size();
  if (pattern[p] == "**") {
    for (std::size_t k = n; k <= path.size(); ++k) {
      if (MatchParts(pattern, p + 1, path, k)) return true;
      if (k < path.size() && IsHidden(path[k])) return false;  // "**" does not enter hidden folders
    }
    return false;
  }
  return n < path.size() && MatchName(pattern[p], path[n]) && MatchParts(pattern, p + 1, path, n + 1);
}

std::string Join(const std::vector<std::string>& parts, std::size_t from) {
  std::string out;
  for (std::size_t i = from; i < parts.size(); ++i) {
    if (!out.empty()) out += '/';
    out += parts[i];
  }
  return out;
}

}  // namespace

bool HasWildcards(std::string_view pattern) { return pattern.find_first_of("*?[") != std::string_view::npos; }

bool MatchName(std::string_view pattern, std::string_view name) {
  if (IsHidden(name) && !IsHidden(pattern)) return false;
  return MatchFrom(pattern, 0, name, 0);
}

bool MatchPath(std::string_view pattern, std::string_view path) {
  return MatchParts(SplitComponents(pattern), 0, SplitComponents(path), 0);
}

std::vector<GlobMatch> ExpandGlob(const std::filesystem::path& folder, std::string_view pattern) {
  namespace fs = std::filesystem;
  std::string text(pattern);
  std::replace(text.begin(), text.end(), '\\', '/');
  const bool absolute = !text.empty() && text.front() == '/';
  const std::vector<std::string> parts = SplitComponents(text);
  std::vector<GlobMatch> matches;
  if (parts.empty()) return matches;

  std::size_t fixed = 0;  // leading components without wildcards
  while (fixed < parts.size() && !HasWildcards(parts[fixed])) ++fixed;
  fs::path root = absolute ? fs::path("/") : folder;
  const std::size_t rootParts = fixed == parts.size() ? fixed - 1 : fixed;
  for (std::size_t i = 0; i < rootParts; ++i) root /= parts[i];

  std::error_code error;
  if (fixed == parts.size()) {
    const fs::path file = root / parts.back();
    if (fs::is_regular_file(file, error)) matches.push_back({fs::absolute(file).lexically_normal(), parts.back()});
    return matches;
  }

  const std::vector<std::string> rest(parts.begin() + static_cast<std::ptrdiff_t>(fixed), parts.end());
  const bool anyDepth = std::find(rest.begin(), rest.end(), "**") != rest.end();
  const std::string restPattern = Join(rest, 0);
  if (!fs::is_directory(root, error)) return matches;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::directory_entry& entry = *it;
    if (entry.is_directory(error) && !anyDepth && static_cast<std::size_t>(it.depth()) + 1 >= rest.size()) {
      it.disable_recursion_pending();
    }
    if (!entry.is_regular_file(error)) continue;
    const std::string relative = entry.path().lexically_relative(root).generic_string();
    if (MatchPath(restPattern, relative)) {
      matches.push_back({fs::absolute(entry.path()).lexically_normal(), relative});
    }
  }
  std::sort(matches.begin(), matches.end(),
            [](const GlobMatch& a, const GlobMatch& b) { return a.relative < b.relative; });
  return matches;
}

}  // namespace brennick::build
