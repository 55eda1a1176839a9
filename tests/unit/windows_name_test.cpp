#include "foundation/windows_name.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(WindowsName, KnownVersions) {
  struct Case {
    WindowsVersion version;
    const char* name;
  };
  const Case cases[] = {
      {{false, 4, 10, 2222, true}, "Windows 98"},
      {{false, 4, 90, 3000, true}, "Windows Me"},
      {{true, 5, 1, 2600, true}, "Windows XP"},
      {{true, 5, 2, 3790, true}, "Windows XP"},
      {{true, 5, 2, 3790, false}, "Windows Server 2003"},
      {{true, 6, 1, 7601, true}, "Windows 7"},
      {{true, 6, 1, 7601, false}, "Windows Server 2008 R2"},
      {{true, 6, 3, 9600, true}, "Windows 8.1"},
      {{true, 10, 0, 19045, true}, "Windows 10"},
      {{true, 10, 0, 22631, true}, "Windows 11"},
      {{true, 10, 0, 17763, false}, "Windows Server 2019"},
      {{true, 12, 1, 30000, true}, "Windows NT 12.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(WindowsNameOf(c.version), c.name) << c.name;
}

}  // namespace
}  // namespace brennick
