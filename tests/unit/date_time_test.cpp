#include "foundation/date_time.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(FormatDateTime, LogAndRegistryForms) {
  struct Case {
    const char* pattern;
    DateTime when;
    const char* expected;
  };
  const Case cases[] = {
      {"d-M-yy h:ii:ssap", {2026, 12, 8, 2, 7, 24}, "8-Dec-2026 2:07:24a"},
      {"m/d/y h:ii:ssap", {2026, 12, 8, 2, 7, 24}, "12/8/26 2:07:24a"},
      {"d-M-yy h:ii:ssap", {2027, 1, 31, 0, 0, 5}, "31-Jan-2027 12:00:05a"},    // midnight
      {"d-M-yy h:ii:ssap", {2027, 7, 1, 12, 30, 0}, "1-Jul-2027 12:30:00p"},    // noon
      {"d-M-yy h:ii:ssap", {2027, 7, 1, 23, 59, 59}, "1-Jul-2027 11:59:59p"},
      {"m/d/y", {2005, 3, 4, 0, 0, 0}, "3/4/05"},
      {"[d] (x)", {2005, 3, 4, 0, 0, 0}, "[4] (x)"},  // other characters are copied
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.when), c.expected) << c.pattern;
}

}  // namespace
}  // namespace brennick
