#include "run/wininit_text.h"

#include "foundation/text.h"

namespace brennick {

namespace {
constexpr std::string_view kRenameHeader = "[rename]";
}  // namespace

std::string AddWininitEntry(std::string_view text, std::string_view entry) {
  for (std::size_t i = 0; i + kRenameHeader.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, kRenameHeader.size()), kRenameHeader)) {
      const std::size_t after = i + kRenameHeader.size();
      return std::string(text.substr(0, after)) + "\r\n" + std::string(entry) + std::string(text.substr(after));
    }
  }
  std::string out(text);
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  out += "[rename]\r\n";
  out += entry;
  return out;
}

}  // namespace brennick
