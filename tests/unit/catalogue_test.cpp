#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "builder/basics/build_error.h"
#include "builder/basics/windows_1252.h"
#include "builder/catalogue/catalogue.h"

namespace brennick::build {
namespace {

TEST(Catalogue, EveryNumberHasAUseInOrder) {
  const auto uses = MessageUses();
  ASSERT_EQ(uses.size(), static_cast<std::size_t>(kMessageCount));
  for (int i = 0; i < kMessageCount; ++i) {
    EXPECT_EQ(uses[static_cast<std::size_t>(i)].number, i);
    EXPECT_FALSE(uses[static_cast<std::size_t>(i)].purpose.empty()) << i;
  }
}

TEST(Catalogue, EveryLanguageHasEveryNumberOnceInOrder) {
  ASSERT_EQ(BuiltInCatalogues().front().name, "English");
  for (const Catalogue& catalogue : BuiltInCatalogues()) {
    SCOPED_TRACE(std::string(catalogue.name));
    ASSERT_EQ(catalogue.entries.size(), static_cast<std::size_t>(kMessageCount));
    for (int i = 0; i < kMessageCount; ++i) EXPECT_EQ(catalogue.entries[static_cast<std::size_t>(i)].number, i);
  }
}

// The program fills each message's conversions with printf: a language whose
// text has other conversions than the use says would crash it or show garbage.
TEST(Catalogue, ConversionsMatchTheUseInEveryLanguage) {
  const auto uses = MessageUses();
  const auto english = EnglishCatalogue();
  for (const Catalogue& catalogue : BuiltInCatalogues()) {
    for (const CatalogueEntry& entry : catalogue.entries) {
      SCOPED_TRACE(std::string(catalogue.name) + " message " + std::to_string(entry.number));
      const auto conversions = PrintfConversions(entry.text);
      ASSERT_TRUE(conversions.has_value()) << entry.text;
      EXPECT_EQ(*conversions, uses[static_cast<std::size_t>(entry.number)].conversions);
      EXPECT_EQ(*conversions, *PrintfConversions(english[static_cast<std::size_t>(entry.number)].text));
    }
  }
}

TEST(Catalogue, TextsHaveAWindows1252Form) {
  for (const Catalogue& catalogue : BuiltInCatalogues()) {
    for (const CatalogueEntry& entry : catalogue.entries) {
      EXPECT_TRUE(Utf8ToWindows1252(entry.text).has_value()) << catalogue.name << " " << entry.number;
    }
  }
}

// The program puts messages 63 and 64 before the project's licence and readme
// pages; a text there would add a page to every setup.
TEST(Catalogue, LicenceAndReadmeMessagesAreEmpty) {
  for (const Catalogue& catalogue : BuiltInCatalogues()) {
    EXPECT_TRUE(catalogue.entries[63].text.empty()) << catalogue.name;
    EXPECT_TRUE(catalogue.entries[64].text.empty()) << catalogue.name;
  }
}

TEST(Catalogue, PrintfConversions) {
  struct Case {
    const char* text;
    std::optional<std::string> conversions;
  };
  const Case cases[] = {
      {"plain", ""},          {"%d%% done, %s", "%d%s"}, {"%-5.2f|%ld|%c:", "%f%d%c"},
      {"100%", std::nullopt}, {"%y", std::nullopt},      {"%%", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintfConversions(c.text), c.conversions) << c.text;
}

TEST(Catalogue, LanguageStringsFallBackToEnglishAndStoreWindows1252) {
  const LanguageStrings strings = MakeLanguageStrings({{"English", {{1, "one\ntwo"}}},
                                                       {"Sprache",
                                                        {{21,
                                                          "\xC3\x9C"
                                                          "bel"}}}});
  EXPECT_EQ(strings.Names, (std::vector<std::string>{"English", "Sprache"}));
  ASSERT_EQ(strings.Messages.size(), static_cast<std::size_t>(kMessageCount));
  EXPECT_EQ(strings.Messages[1][0], "one\r\ntwo");
  EXPECT_EQ(strings.Messages[21], (std::vector<std::string>{"Error",
                                                            "\xDC"
                                                            "bel"}));
  EXPECT_EQ(strings.Messages[48][1], "&Next >");
  EXPECT_THROW(MakeLanguageStrings({{"English", {{0, "\xE2\x9C\x93"}}}}), BuildError);
}

}  // namespace
}  // namespace brennick::build
