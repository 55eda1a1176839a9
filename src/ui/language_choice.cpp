#include "ui/language_choice.h"

#include <optional>

#include "foundation/text.h"

namespace brennick {

namespace {

bool BeginsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && LowerAscii(text.substr(0, prefix.size())) == LowerAscii(prefix);
}

// An empty prefix would match every name; it stands for no native name.
std::optional<std::size_t> FirstBeginningWith(const std::vector<std::string>& names, std::string_view prefix) {
  if (prefix.empty()) return std::nullopt;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (BeginsWithIgnoringCase(names[i], prefix)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::size_t PreselectLanguage(const std::vector<std::string>& names, std::string_view nativeName) {
  std::string_view native = nativeName.substr(0, nativeName.find('('));
  while (!native.empty() && native.back() == ' ') native.remove_suffix(1);
  if (const auto match = FirstBeginningWith(names, native)) return *match;
  if (const auto english = FirstBeginningWith(names, "English")) return *english;
  return 0;
}

}  // namespace brennick
