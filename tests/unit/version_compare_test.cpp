#include "foundation/version_compare.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(CompareVersions, Table) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"2.10", "2.9", 1},
      {"1.0", "1.0.0", -1},
      {"1.0", "1.0", 0},
      {"01.002", "1.2", 0},
      {".5", "0.5", 0},
      {".5", "5", -1},
      {"1.0b", "1.0a", 1},
      {"1.0a", "1.0", 1},
      {"1.0 beta", "1.0 alpha", 0},  // only the last letters count, and both are 'a'
      {"1.0B", "1.0a", -1},           // by character code: 'B' is below 'a'
      {"v2", "1", 1},
      {"", "0", -1},
      {"", "", 0},
      {"99999999999999999999999", "99999999999999999999998", 1},
      {"2.0.0.0", "2.0", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareVersions(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
  }
}

}  // namespace
}  // namespace brennick
