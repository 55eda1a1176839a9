#include "ui/start_menu_rule.h"

namespace brennick {

bool IsAcceptableStartMenuFolder(std::string_view text) {
  if (text.find_first_of("/\"<>|*?:;") != std::string_view::npos) return false;
  if (!text.empty() && text.front() == '\\') return false;
  return text.find("\\\\") == std::string_view::npos;
}

}  // namespace brennick
