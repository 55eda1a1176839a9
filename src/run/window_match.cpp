#include "run/window_match.h"

namespace brennick {

bool MatchesWindowPattern(std::string_view pattern, std::string_view name) {
  if (pattern.starts_with('*')) return name.find(pattern.substr(1)) != std::string_view::npos;
  return pattern == name;
}

bool MatchesProgramToClose(const ProgramToClose& entry, std::string_view windowClass, std::string_view title) {
  // An empty pattern places no constraint; an entry with neither matches nothing.
  if (entry.ClassPattern.empty() && entry.TitlePattern.empty()) return false;
  return (entry.ClassPattern.empty() || MatchesWindowPattern(entry.ClassPattern, windowClass)) &&
         (entry.TitlePattern.empty() || MatchesWindowPattern(entry.TitlePattern, title));
}

}  // namespace brennick
