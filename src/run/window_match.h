#pragma once

#include <string_view>

#include "package/settings_record.h"

namespace brennick {

// A window name pattern: "*text" matches a name that contains "text"; any
// other pattern must equal the whole name. Letter case counts.
bool MatchesWindowPattern(std::string_view pattern, std::string_view name);

// An entry of the programs to close matches a window by its non-empty
// patterns; an entry whose patterns are both empty matches no window.
bool MatchesProgramToClose(const ProgramToClose& entry, std::string_view windowClass, std::string_view title);

}  // namespace brennick
