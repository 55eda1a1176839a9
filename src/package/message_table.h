#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "package/product_text.h"
#include "package/settings_record.h"

namespace brennick {

// The language strings of the package, looked up by number in the current
// language. The product-text markers of a text are replaced at its first
// lookup, in the table itself; later lookups return it as it then stands.
class MessageTable {
 public:
  MessageTable() = default;
  explicit MessageTable(LanguageStrings strings);

  // The language the run starts in: the position of the last name that is
  // exactly "English", else the first language.
  static std::size_t InitialLanguage(const std::vector<std::string>& names);

  // The text of message `number` in `language`; empty for a number or a
  // language the table does not have.
  const std::string& Message(int number, std::size_t language, const ProductText& values);

  bool Empty() const { return strings_.Messages.empty(); }
  const std::vector<std::string>& LanguageNames() const { return strings_.Names; }

 private:
  LanguageStrings strings_;
  std::vector<std::vector<bool>> replaced_;  // [message][language]: markers already replaced
};

}  // namespace brennick
