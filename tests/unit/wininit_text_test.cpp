#include "run/wininit_text.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(AddWininitEntry, NewestEntryFirstOrANewSectionAtTheEnd) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"", "[rename]\r\nC:\\APP\\A.DLL=C:\\APP\\CVX1.TMP"},
      {"[boot]\r\nx=1\r\n", "[boot]\r\nx=1\r\n[rename]\r\nC:\\APP\\A.DLL=C:\\APP\\CVX1.TMP"},
      {"[boot]\r\nx=1", "[boot]\r\nx=1\r\n[rename]\r\nC:\\APP\\A.DLL=C:\\APP\\CVX1.TMP"},
      {"[Rename]\r\nNUL=C:\\OLD.TMP\r\n", "[Rename]\r\nC:\\APP\\A.DLL=C:\\APP\\CVX1.TMP\r\nNUL=C:\\OLD.TMP\r\n"},
      {"[a]\r\n[RENAME]", "[a]\r\n[RENAME]\r\nC:\\APP\\A.DLL=C:\\APP\\CVX1.TMP"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddWininitEntry(c.text, "C:\\APP\\A.DLL=C:\\APP\\CVX1.TMP"), c.expected) << c.text;
  // Two additions: the later one stands first.
  EXPECT_EQ(AddWininitEntry(AddWininitEntry("", "NUL=A"), "NUL=B"), "[rename]\r\nNUL=B\r\nNUL=A");
}

}  // namespace
}  // namespace brennick
