#include "engine/kept_file_names.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(KeptFileNames, PlainNameOnlyForALoneTextAtTheEndOfTheList) {
  struct Case {
    std::vector<std::string> texts;
    std::vector<KeptFile> expected;
  };
  const Case cases[] = {
      {{}, {}},
      {{"", ""}, {}},
      {{"a"}, {{"readme.txt", 0}}},
      {{"", "", "a"}, {{"readme.txt", 2}}},
      // The first text is not the last entry: numbered, even with nothing after it.
      {{"a", ""}, {{"readme1.txt", 0}}},
      {{"a", "b"}, {{"readme1.txt", 0}, {"readme2.txt", 1}}},
      // Empty texts are skipped and not counted.
      {{"", "a", "", "b"}, {{"readme1.txt", 1}, {"readme2.txt", 3}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeptFileNames(c.texts, "readme"), c.expected) << ::testing::PrintToString(c.texts);
  }
  EXPECT_EQ(KeptFileNames({"x", "y"}, "eula").back().name, "eula2.txt");
}

}  // namespace
}  // namespace brennick
