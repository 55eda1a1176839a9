#include <gtest/gtest.h>

#include "foundation/unicode_text.h"
#include "ui/language_choice.h"
#include "ui/page_templates.h"
#include "ui/page_text.h"
#include "ui/start_menu_rule.h"
#include "ui/summary_layout.h"

namespace brennick {
namespace {

TEST(PageTemplates, StyleChoosesTheTemplate) {
  struct Case {
    PageKind page;
    std::uint32_t style;
    const char* name;
  };
  const Case cases[] = {
      {PageKind::kFolder, 1, "ChooseDirDlg"},      {PageKind::kFolder, 0, "ChooseDirDlg2"},
      {PageKind::kFolder, 2, "ChooseDirDlg3"},     {PageKind::kFolder, 5, "ChooseDirDlg3"},
      {PageKind::kLicense, 0, "LicenseDlg2"},      {PageKind::kSummary, 7, "SummaryDlg3"},
      {PageKind::kProgress, 0, "ProgressDlg2"},    {PageKind::kStartMenu, 1, "StartMenuDlg"},
      // No plain greeting or language template: the banner one stands in.
      {PageKind::kGreeting, 0, "GreetingDlg3"},    {PageKind::kGreeting, 1, "GreetingDlg"},
      {PageKind::kLanguage, 0, "LanguageDlg3"},    {PageKind::kLanguage, 2, "LanguageDlg3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageTemplateName(c.page, c.style), c.name) << static_cast<int>(c.page) << " style " << c.style;
    const PageLook look = TemplateLook(c.page, c.style);
    const char suffix = std::string_view(c.name).back();
    EXPECT_EQ(look, suffix == '3' ? PageLook::kBanner : suffix == '2' ? PageLook::kPlain : PageLook::kPicture)
        << c.name;
  }
}

TEST(StartMenuRule, AcceptsOnlyUsableFolderTexts) {
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {"", true},           {"Acme\\Tool", true},  {"Acme Tool 2.0", true}, {"C:", false},
      {"a/b", false},       {"a\"b", false},       {"a<b", false},          {"a>b", false},
      {"a|b", false},       {"a*b", false},        {"a?b", false},          {"a;b", false},
      {"\\Acme", false},    {"Acme\\\\Tool", false}, {"Acme\\", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAcceptableStartMenuFolder(c.text), c.accepted) << c.text;
}

TEST(SummaryLayout, BoxesStackFromTheLooksFirstPlace) {
  // Only "view log": one box, centred in the plain look's room of four.
  auto boxes = LayOutSummaryBoxes(PageLook::kPlain, {false, false, false, true});
  EXPECT_FALSE(boxes[0].shown);
  EXPECT_TRUE(boxes[3].shown);
  EXPECT_EQ(boxes[3].choice, EndChoice::kViewLog);
  EXPECT_EQ(boxes[3].x, 4);
  EXPECT_EQ(boxes[3].y, 53);
  EXPECT_EQ(boxes[3].width, 275);
  EXPECT_EQ(boxes[3].height, 9);

  boxes = LayOutSummaryBoxes(PageLook::kPicture, {true, false, true, true});
  EXPECT_EQ(boxes[0].y, 52);
  EXPECT_EQ(boxes[2].y, 66);
  EXPECT_EQ(boxes[3].y, 80);
  EXPECT_EQ(boxes[3].x, 102);

  boxes = LayOutSummaryBoxes(PageLook::kBanner, {true, true, true, true});
  EXPECT_EQ(boxes[0].x, 20);
  EXPECT_EQ(boxes[0].y, 78);
  EXPECT_EQ(boxes[3].y, 120);

  boxes = LayOutSummaryBoxes(PageLook::kPlain, {true, true, true, true});
  EXPECT_EQ(boxes[0].y, 32);
}

TEST(PageText, ByteOrderMarksDecideTheEncoding) {
  // UTF-8 with its mark: Unicode, with CR LF line breaks.
  PageText text = DecodePageText("\xEF\xBB\xBF" "Stra\xC3\x9F" "e\n\xE2\x82\xAC");
  ASSERT_TRUE(text.unicode);
  EXPECT_EQ(text.wide, u"Stra\u00DFe\r\n\u20AC");

  // The same bytes without the mark stay 8-bit, for the language's code page.
  text = DecodePageText("Stra\xC3\x9F" "e");
  EXPECT_FALSE(text.unicode);
  EXPECT_EQ(text.narrow, "Stra\xC3\x9F" "e");

  // A mark followed by text that is no UTF-8 falls back to the 8-bit text.
  text = DecodePageText("\xEF\xBB\xBF" "Gr\xFC\xDF" "e");
  EXPECT_FALSE(text.unicode);
  EXPECT_EQ(text.narrow, "\xEF\xBB\xBF" "Gr\xFC\xDF" "e");

  // UTF-16 in either byte order; an odd last byte is dropped.
  text = DecodePageText(std::string("\xFF\xFE" "A\0\x20\x20\n\0!", 9));
  ASSERT_TRUE(text.unicode);
  EXPECT_EQ(text.wide, u"A\u2020\r\n");
  text = DecodePageText(std::string("\xFE\xFF\0A", 4));
  EXPECT_EQ(text.wide, u"A");

  // Line breaks of every kind become CR LF; an existing pair stays one.
  EXPECT_EQ(DecodePageText("a\rb\r\nc\nd").narrow, "a\r\nb\r\nc\r\nd");
}

TEST(UnicodeText, StrictUtf8) {
  struct Case {
    const char* bytes;
    bool valid;
  };
  const Case cases[] = {
      {"plain", true},     {"\xC3\xA4", true},      {"\xF0\x9F\x98\x80", true}, {"\xC3", false},
      {"\xC0\x80", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\x80", false},
      {"\xE2\x82", false},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.bytes).has_value(), c.valid) << c.bytes;
  EXPECT_EQ(ToUtf16(*DecodeUtf8("\xF0\x9F\x98\x80")), u"\U0001F600");
  EXPECT_EQ(Windows1252ToUtf16("\x80\xE9"), u"\u20AC\u00E9");
}

TEST(LanguageChoice, PreselectsTheUsersLanguageThenEnglishThenTheFirst) {
  const std::vector<std::string> names = {"Fran\xE7" "ais", "English", "Deutsch", "English (UK)"};
  EXPECT_EQ(PreselectLanguage(names, "Deutsch (Deutschland)"), 2u);
  EXPECT_EQ(PreselectLanguage(names, "deutsch  "), 2u);
  EXPECT_EQ(PreselectLanguage(names, "Italiano"), 1u);
  EXPECT_EQ(PreselectLanguage(names, ""), 1u);
  EXPECT_EQ(PreselectLanguage({"Deutsch", "Italiano"}, "Svenska"), 0u);
}

}  // namespace
}  // namespace brennick
