#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "package/settings_record.h"

namespace brennick::build {

// The numbered messages the program shows, and the texts we ship for them.
//
// Every message number from 0 to kMessageCount - 1 has a use (or is marked
// unused) and a text in every shipped language. Texts are UTF-8 here; the
// package stores them in Windows-1252 with "\r\n" line breaks. "<product>",
// "<description>" and "<os>" are replaced by the program; the printf
// conversions of a message are the values the program fills in, so every
// language must have exactly the conversions its use lists.

constexpr int kMessageCount = 105;

struct MessageUse {
  int number;
  std::string_view purpose;
  std::string_view conversions;  // the printf conversions the program fills, in order, e.g. "%s%c%s"
};

// Numbers 0 to kMessageCount - 1, in order.
std::span<const MessageUse> MessageUses();

struct CatalogueEntry {
  int number;
  std::string_view text;
};

struct Catalogue {
  std::string_view name;  // the language name the program lists
  std::span<const CatalogueEntry> entries;
};

// The shipped languages, English first.
std::span<const Catalogue> BuiltInCatalogues();
const Catalogue* FindCatalogue(std::string_view name);

// The catalogue data, one file per language.
std::span<const CatalogueEntry> EnglishCatalogue();
std::span<const CatalogueEntry> GermanCatalogue();

// The printf conversions of a text in order ("%d%s"; "%%" is no conversion),
// or nothing when a "%" starts no valid conversion.
std::optional<std::string> PrintfConversions(std::string_view text);

// One language as a project assembles it: UTF-8 texts by number; a number
// left out takes the English text.
struct LanguageTexts {
  std::string name;
  std::map<int, std::string> texts;
};

// The message table of the settings record for these languages, in order.
// Throws BuildError when a text has no Windows-1252 form.
LanguageStrings MakeLanguageStrings(const std::vector<LanguageTexts>& languages);

}  // namespace brennick::build
