#include "package/message_table.h"

namespace brennick {

MessageTable::MessageTable(LanguageStrings strings) : strings_(std::move(strings)) {
  replaced_.reserve(strings_.Messages.size());
  for (const auto& row : strings_.Messages) replaced_.emplace_back(row.size(), false);
}

std::size_t MessageTable::InitialLanguage(const std::vector<std::string>& names) {
  std::size_t index = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "English") index = i;
  }
  return index;
}

const std::string& MessageTable::Message(int number, std::size_t language, const ProductText& values) {
  static const std::string kEmpty;
  if (number < 0 || static_cast<std::size_t>(number) >= strings_.Messages.size()) return kEmpty;
  auto& row = strings_.Messages[static_cast<std::size_t>(number)];
  if (language >= row.size()) return kEmpty;
  if (!replaced_[static_cast<std::size_t>(number)][language]) {
    row[language] = ReplaceProductText(row[language], values);
    replaced_[static_cast<std::size_t>(number)][language] = true;
  }
  return row[language];
}

}  // namespace brennick
