#include "run/path_variable.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

constexpr std::nullopt_t kUnchanged = std::nullopt;

TEST(EditPathValue, AddsAndRemovesTheFolderOnce) {
  struct Case {
    const wchar_t* value;
    PathChange change;
    std::optional<std::wstring> expected;
  };
  const Case cases[] = {
      {L"C:\\Windows", PathChange::Add, L"C:\\Windows;C:\\App"},
      {L"C:\\Windows;", PathChange::Add, L"C:\\Windows;C:\\App"},
      {L"c:\\app;C:\\Windows", PathChange::Add, kUnchanged},
      {L"C:\\Windows;C:\\APP", PathChange::Add, kUnchanged},
      {L"", PathChange::Add, kUnchanged},
      {L"C:\\App\\Bin;C:\\Windows", PathChange::Add, L"C:\\App\\Bin;C:\\Windows;C:\\App"},
      {L"C:\\Windows;c:\\APP;D:\\Tools", PathChange::Remove, L"C:\\Windows;D:\\Tools"},
      {L"C:\\App;C:\\Windows;C:\\App;", PathChange::Remove, L"C:\\Windows;C:\\App;"},
      {L"C:\\Windows;C:\\App", PathChange::Remove, L"C:\\Windows"},
      {L"C:\\App", PathChange::Remove, L""},
      {L"C:\\Windows;C:\\App\\Bin", PathChange::Remove, kUnchanged},
      {L"", PathChange::Remove, kUnchanged},
      // Only ASCII letters fold: "\u00e4" is not "\u00c4".
      {L"C:\\\u00e4pp;C:\\Windows", PathChange::Remove, kUnchanged},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditPathValue(c.value, L"C:\\App", c.change), c.expected) << c.value;
  }
  EXPECT_EQ(EditPathValue(L"C:\\\u00c4pp;C:\\Windows", L"C:\\\u00c4PP", PathChange::Remove), L"C:\\Windows");
  EXPECT_EQ(EditPathValue(L"C:\\Windows;C:\\App", L"", PathChange::Remove), kUnchanged);
}

TEST(EditPathValue, AddingTwiceLeavesOneEntryAndRemovingRestoresTheValue) {
  const std::wstring original = L"C:\\Windows;C:\\Windows\\System32";
  const std::optional<std::wstring> added = EditPathValue(original, L"C:\\App", PathChange::Add);
  ASSERT_TRUE(added);
  EXPECT_EQ(EditPathValue(*added, L"C:\\App", PathChange::Add), kUnchanged);
  EXPECT_EQ(EditPathValue(*added, L"C:\\App", PathChange::Remove), original);
}

TEST(EditAutoexec, AddsAndRemovesTheWholeLine) {
  const std::string line = AutoexecPathLine("C:\\PROGRA~1\\APP");
  ASSERT_EQ(line, "PATH=%PATH%;C:\\PROGRA~1\\APP\r\n");
  struct Case {
    const char* text;
    PathChange change;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"", PathChange::Add, "PATH=%PATH%;C:\\PROGRA~1\\APP\r\n"},
      {"@ECHO OFF\r\n", PathChange::Add, "@ECHO OFF\r\nPATH=%PATH%;C:\\PROGRA~1\\APP\r\n"},
      {"@ECHO OFF", PathChange::Add, "@ECHO OFF\r\nPATH=%PATH%;C:\\PROGRA~1\\APP\r\n"},
      {"@ECHO OFF\r\npath=%path%;c:\\progra~1\\app\r\n", PathChange::Add, kUnchanged},
      {"A\r\npath=%path%;c:\\progra~1\\app\r\nB\r\n", PathChange::Remove, "A\r\nB\r\n"},
      {"PATH=%PATH%;C:\\PROGRA~1\\APP\r\nB\r\nPATH=%PATH%;C:\\PROGRA~1\\APP\r\n", PathChange::Remove,
       "B\r\nPATH=%PATH%;C:\\PROGRA~1\\APP\r\n"},
      // The last line without its line end.
      {"A\r\nPATH=%PATH%;C:\\PROGRA~1\\APP", PathChange::Remove, "A\r\n"},
      {"A\r\nB\r\n", PathChange::Remove, kUnchanged},
      // Lines that only contain the text are other lines and stay whole.
      {"PATH=%PATH%;C:\\PROGRA~1\\APPS\r\n", PathChange::Remove, kUnchanged},
      {"PATH=%PATH%;C:\\PROGRA~1\\APP;C:\\DOS\r\n", PathChange::Remove, kUnchanged},
      {"REM PATH=%PATH%;C:\\PROGRA~1\\APP\r\nB\r\n", PathChange::Remove, kUnchanged},
  };
  for (const Case& c : cases) EXPECT_EQ(EditAutoexec(c.text, line, c.change), c.expected) << c.text;
}

TEST(EditAutoexec, AddingTwiceLeavesOneLine) {
  const std::string line = AutoexecPathLine("C:\\APP");
  const std::optional<std::string> added = EditAutoexec("@ECHO OFF", line, PathChange::Add);
  ASSERT_TRUE(added);
  EXPECT_EQ(EditAutoexec(*added, line, PathChange::Add), kUnchanged);
  EXPECT_EQ(EditAutoexec(*added, line, PathChange::Remove), "@ECHO OFF\r\n");
}

TEST(AutoexecFailureText, NamesTheFileTheFolderAndTheDirection) {
  EXPECT_EQ(AutoexecFailureText("C:\\autoexec.bat", "C:\\Program Files\\App", PathChange::Remove),
            "Unable to modify C:\\autoexec.bat.  You will need to manually remove C:\\Program Files\\App from the "
            "PATH environment variable.\r\n\r\n");
  EXPECT_EQ(AutoexecFailureText("D:\\autoexec.bat", "C:\\App", PathChange::Add),
            "Unable to modify D:\\autoexec.bat.  You will need to manually add C:\\App to the PATH environment "
            "variable.\r\n\r\n");
}

}  // namespace
}  // namespace brennick
