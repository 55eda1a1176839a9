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
}

}  // namespace
}  // namespace brennick
