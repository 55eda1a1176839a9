#include "run/window_match.h"

namespace brennick {

bool MatchesWindowPattern(std::string_view pattern, std::string_view name) {
  if (pattern.starts_with('*')) return name.find(pattern.substr(1)) != std::string_view::npos;
  return pattern == name;
}

bool MatchesProgramToClose(const ProgramToClose& entry, std::string_view windowClass, std::string_view title) {
  return MatchesWindowPattern(entry.ClassPattern, windowClass) && MatchesWindowPattern(entry.TitlePattern, title);
}

}  // namespace brennick
