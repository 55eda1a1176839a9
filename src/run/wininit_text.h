#pragma once

#include <string>
#include <string_view>

namespace brennick {

// The text of "wininit.ini" with a restart-time entry ("destination=source",
// or "NUL=path" for a deletion) added: right after the "[rename]" header
// (found in any letter case), so the newest entry comes first; without that
// section, the section is added at the end.
std::string AddWininitEntry(std::string_view text, std::string_view entry);

}  // namespace brennick
