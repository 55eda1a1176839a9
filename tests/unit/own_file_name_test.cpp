#include "startup/own_file_name.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(OwnFileNameFromCommandLine, QuotedPlainAndWithoutExtension) {
  struct Case {
    const char* commandLine;
    const char* name;
  };
  const Case cases[] = {
      {"\"C:\\Users\\Ann\\Downloads\\setup tool.exe\" /a", "C:\\Users\\Ann\\Downloads\\setup tool.exe"},
      {"  C:\\dl\\setup.exe /a /d:x  ", "C:\\dl\\setup.exe"},
      {"setup /a", "setup.EXE"},
      {"\"C:\\my.dir\\setup\" /a", "C:\\my.dir\\setup.EXE"},
      {"setup.exe", "setup.exe"},
      {"\"C:\\unterminated\\setup.exe", "C:\\unterminated\\setup.exe"},
      {"", ""},
      {" \t\r\n", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(OwnFileNameFromCommandLine(c.commandLine), c.name) << c.commandLine;
}

TEST(FileNameOf, LastComponent) {
  EXPECT_EQ(FileNameOf("C:\\a\\b.exe"), "b.exe");
  EXPECT_EQ(FileNameOf("C:b.exe"), "b.exe");
  EXPECT_EQ(FileNameOf("b.exe"), "b.exe");
  EXPECT_EQ(FileNameOf("Z:/x/y"), "y");
}

}  // namespace
}  // namespace brennick
