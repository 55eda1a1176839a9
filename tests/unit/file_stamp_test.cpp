#include "package/file_stamp.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(CompareStamps, Table) {
  struct Case {
    FileStamp a;
    FileStamp b;
    int expected;
  };
  const Case cases[] = {
      {{2020, 5, 17, 10, 30, 15}, {2020, 5, 17, 10, 30, 15}, 0},
      {{2020, 5, 17, 10, 30, 16}, {2020, 5, 17, 10, 30, 15}, 1},
      {{2019, 12, 31, 23, 59, 59}, {2020, 1, 1, 0, 0, 0}, -1},  // the year outranks everything after it
      {{2020, 2, 1, 0, 0, 0}, {2020, 1, 31, 23, 59, 59}, 1},
      {{2020, 5, 17, -1, 0, 0}, {2020, 5, 17, 0, 0, 0}, 0},    // no time of day: midnight
      {{2020, 5, 17, -1, 7, 9}, {2020, 5, 17, 0, 0, 1}, -1},   // ... whatever its minutes and seconds hold
      {{2020, 5, 18, -1, 0, 0}, {2020, 5, 17, 23, 59, 59}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareStamps(c.a, c.b), c.expected) << ::testing::PrintToString(c.a);
    EXPECT_EQ(CompareStamps(c.b, c.a), -c.expected) << ::testing::PrintToString(c.a);
  }
}

}  // namespace
}  // namespace brennick
