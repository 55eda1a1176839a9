#include <gtest/gtest.h>

#include "foundation/format_check.h"
#include "package/message_table.h"
#include "package/product_text.h"
#include "startup/resolve_path.h"

namespace brennick {
namespace {

const ProductText kValues{"Tool", "Tool Deluxe", "C:\\Windows"};

TEST(ReplaceProductText, MarkersInOrderAnyCase) {
  EXPECT_EQ(ReplaceProductText("<product> (<DESCRIPTION>) in <Os>\\x", kValues), "Tool (Tool Deluxe) in C:\\Windows\\x");
  EXPECT_EQ(ReplaceProductText("<PRODUCT><product", kValues), "Tool<product");
  // A value holding a later marker is replaced too; an earlier one is not.
  EXPECT_EQ(ReplaceProductText("<product>", {"<os> and <product>", "", "W"}), "W and <product>");
}

TEST(ReplaceProductText, UnicodeTextsGetTheValuesInTheirOwnEncoding) {
  using namespace std::string_literals;
  const std::string le = "\xFF\xFE<\0p\0r\0o\0d\0u\0c\0t\0>\0!\0"s;
  EXPECT_EQ(ReplaceProductTextWide(le, kValues), "\xFF\xFET\0o\0o\0l\0!\0"s);
  // Big-endian UTF-16 is searched and written big-endian.
  const std::string be = "\xFE\xFF\0<\0O\0S\0>"s;
  EXPECT_EQ(ReplaceProductTextWide(be, kValues), "\xFE\xFF\0C\0:\0\\\0W\0i\0n\0d\0o\0w\0s"s);
  // Letters beyond ASCII in a value stay those letters: UTF-16 ...
  const ProductText accented{"Caf\xE9 \x80", "", ""};
  EXPECT_EQ(ReplaceProductTextWide(le, accented), "\xFF\xFE" "C\0a\0f\0\xE9\0 \0\xAC\x20!\0"s);
  // ... and UTF-8 after its mark.
  EXPECT_EQ(ReplaceProductTextWide("\xEF\xBB\xBF<product>", accented), "\xEF\xBB\xBF" "Caf\xC3\xA9 \xE2\x82\xAC");
  // Without a mark the text is 8-bit.
  EXPECT_EQ(ReplaceProductTextWide("<product>", kValues), "Tool");
  // Not at a character boundary: no marker.
  const std::string odd = "\xFF\xFEx<\0o\0s\0>\0"s;
  EXPECT_EQ(ReplaceProductTextWide(odd, kValues), odd);
}

TEST(MessageTable, LookupLanguagesAndOneTimeReplacement) {
  MessageTable table({{"English", "Deutsch"}, {{"<product> Setup", "<product> Installation"}, {"b", ""}}});
  EXPECT_EQ(table.Message(0, 1, kValues), "Tool Installation");
  EXPECT_EQ(table.Message(0, 0, kValues), "Tool Setup");
  // Replaced in the table at the first lookup: a later product name is not seen.
  EXPECT_EQ(table.Message(0, 0, {"Other", "", ""}), "Tool Setup");
  EXPECT_EQ(table.Message(2, 0, kValues), "");   // beyond the table
  EXPECT_EQ(table.Message(-1, 0, kValues), "");
  EXPECT_EQ(table.Message(1, 5, kValues), "");   // no such language
}

TEST(MessageTable, InitialLanguageIsTheLastEnglish) {
  EXPECT_EQ(MessageTable::InitialLanguage({"Deutsch", "English", "Français", "English"}), 3u);
  EXPECT_EQ(MessageTable::InitialLanguage({"Deutsch", "english", "ENGLISH"}), 0u);
  EXPECT_EQ(MessageTable::InitialLanguage({}), 0u);
}

TEST(ResolvePath, Cases) {
  struct Case {
    const char* path;
    const char* base;
    const char* expected;
  };
  const Case cases[] = {
      {"", "C:\\Base", ""},
      {"\\\\server\\share\\x", "C:\\Base", "\\\\server\\share\\x"},
      {"D:\\abs", "C:\\Base", "D:\\abs"},
      {"App", "C:\\Program Files", "C:\\Program Files\\App"},
      {"App", "C:\\Program Files\\", "C:\\Program Files\\App"},
      {"..\\Sibling", "C:\\a\\b\\c", "C:\\a\\b\\Sibling"},
      {"..\\..\\x", "C:\\a\\b\\c", "C:\\a\\x"},
      {"\\Root\\x", "D:\\a\\b", "D:\\Root\\x"},
      {"\\Root", "\\\\srv\\share", "\\\\srv\\share\\Root"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolvePath(c.path, c.base), c.expected) << c.path << " | " << c.base;
}

TEST(FormatTakes, OnlyTheValuesPassed) {
  struct Case {
    const char* format;
    const char* expected;
    bool ok;
  };
  const Case cases[] = {
      {"Error code: %d", "d", true},   {"100%% sure %d", "d", true},  {"%s and %d", "sd", true},
      {"%5.2d", "d", true},            {"%-10s", "s", true},          {"no values", "", true},
      {"%s", "d", false},              {"%d %d", "d", false},         {"%n", "d", false},
      {"%*d", "d", false},             {"%ld", "d", false},           {"%f", "d", false},
      {"trailing %", "", false},       {"", "d", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTakes(c.format, c.expected), c.ok) << c.format;
}

}  // namespace
}  // namespace brennick
