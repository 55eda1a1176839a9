#include "engine/excluded_systems.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(ExcludedSystems, OneBitPerWindowsVersion) {
  struct Case {
    WindowsVersion version;
    int bit;
  } const cases[] = {
      {{false, 4, 0, 950, true}, 0},    {{false, 4, 10, 2222, true}, 1}, {{false, 4, 90, 3000, true}, 2},
      {{true, 4, 0, 1381, true}, 3},    {{true, 5, 1, 2600, true}, 5},   {{true, 5, 2, 3790, true}, 5},
      {{true, 5, 2, 3790, false}, 6},   {{true, 6, 1, 7601, true}, 9},   {{true, 6, 1, 7601, false}, 10},
      {{true, 10, 0, 19045, true}, 15}, {{true, 10, 0, 22631, true}, 17}, {{true, 10, 0, 20348, false}, 16},
      {{true, 11, 0, 1, true}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExcludedSystemBit(c.version), c.bit) << c.version.major << "." << c.version.minor << " " << c.version.build;
  }
}

}  // namespace
}  // namespace brennick
