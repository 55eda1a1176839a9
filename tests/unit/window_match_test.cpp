#include "run/window_match.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(WindowMatch, StarMeansContainsOtherwiseWholeName) {
  EXPECT_TRUE(MatchesWindowPattern("*pad", "Notepad window"));
  EXPECT_TRUE(MatchesWindowPattern("*", "anything"));
  EXPECT_TRUE(MatchesWindowPattern("Notepad", "Notepad"));
  EXPECT_FALSE(MatchesWindowPattern("Notepad", "Notepad2"));
  EXPECT_FALSE(MatchesWindowPattern("*Pad", "Notepad"));  // letter case counts
  EXPECT_TRUE(MatchesWindowPattern("", ""));
  EXPECT_FALSE(MatchesWindowPattern("", "Untitled"));

  ProgramToClose entry;
  entry.ClassPattern = "Notepad";
  entry.TitlePattern = "*Untitled";
  EXPECT_TRUE(MatchesProgramToClose(entry, "Notepad", "Untitled - Notepad"));
  EXPECT_FALSE(MatchesProgramToClose(entry, "Edit", "Untitled - Notepad"));

  // An empty pattern places no constraint: an entry with only a class (as
  // the project file allows) matches every window of that class.
  struct Case {
    const char* classPattern;
    const char* titlePattern;
    bool matches;
  };
  const Case cases[] = {{"ExampleEditorMain", "", true}, {"", "*Editor", true}, {"", "", false},
                        {"Other", "", false},            {"", "Editor", false}};
  for (const Case& c : cases) {
    entry.ClassPattern = c.classPattern;
    entry.TitlePattern = c.titlePattern;
    EXPECT_EQ(MatchesProgramToClose(entry, "ExampleEditorMain", "Example Editor"), c.matches)
        << c.classPattern << " / " << c.titlePattern;
  }
}

}  // namespace
}  // namespace brennick
