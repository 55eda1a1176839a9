#include "startup/command_line.h"

#include <gtest/gtest.h>

#include "fatal_capture.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;

std::string Usage(const std::string& message, const std::string& program = "setup.exe") {
  return message + "\r\n\r\nUsage:\r\n" + program +
         " [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] [/n:\"name\"] "
         "[/u:\"name\"] [/r:\"program\"]\r\n\r\n"
         "/a                  \tAutomatic mode.\r\n"
         "/d:\"dir\"        \tOverride installation directory.\r\n"
         "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
         "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
         "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
         "/n:\"name\"\tOverride product name.\r\n"
         "/u:\"name\"\tUninstall product by name.\r\n"
         "/r:\"program\"\tRun the specified program after a successful installation.";
}

InstallerState Parse(const std::string& tail) {
  InstallerState state;
  ParseCommandLine(tail, "setup.exe", state);
  return state;
}

struct SplitCase {
  const char* tail;
  std::vector<std::string> atoms;
};

TEST(SplitCommandLine, AtomsQuotesAndWhiteSpace) {
  const SplitCase cases[] = {
      {"", {}},
      {" \t\r\n", {}},
      {"/a", {"/a"}},
      {"  /a   /min  ", {"/a", "/min"}},
      {"/a\t/b\r\n/c", {"/a", "/b", "/c"}},
      {"/d:\"C:\\Program Files\\X Y\" /a", {"/d:\"C:\\Program Files\\X Y\"", "/a"}},
      {"/b1:\"echo a~~echo b\"", {"/b1:\"echo a~~echo b\""}},
      {"a\"b c\"d e", {"a\"b c\"d", "e"}},
      {"\"\"", {"\"\""}},
      {"/n:\"unterminated name", {"/n:\"unterminated name"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.tail), c.atoms) << "tail: " << c.tail;
  }
}

TEST(SplitCommandLine, LooksAtNineteenAtomsAtMost) {
  std::string tail;
  for (int i = 1; i <= 25; ++i) tail += "/" + std::to_string(i) + " ";
  const auto atoms = SplitCommandLine(tail);
  ASSERT_EQ(atoms.size(), kMaxCommandLineAtoms);
  EXPECT_EQ(atoms.back(), "/19");
}

TEST(ParseCommandLine, SwitchesFillTheirFields) {
  const InstallerState s = Parse(
      "/a /d:\"C:\\My Apps\\Tool\" -N:\"Tool Pro\" /r:\"`C:\\x y\\run.exe` -go\" "
      "/B1:\"echo one~~echo two\" /b2:\"copy `a b` c\" /b3:\"x\" /MiN");
  EXPECT_TRUE(s.AutomaticMode);
  EXPECT_EQ(s.InstallDir, "C:\\My Apps\\Tool");
  EXPECT_EQ(s.ProductName, "Tool Pro");
  EXPECT_EQ(s.LaunchOnExit, "\"C:\\x y\\run.exe\" -go");
  EXPECT_EQ(s.PreInstallBatchExtra, "echo one\r\necho two");
  EXPECT_EQ(s.PostInstallBatchExtra, "copy \"a b\" c");
  EXPECT_EQ(s.ExitBatchExtra, "x");
  EXPECT_TRUE(s.StartMinimized);
  EXPECT_FALSE(s.UninstallRequested);
}

TEST(ParseCommandLine, CaseAndSwitchCharacter) {
  for (const char* tail : {"/a", "/A", "-a", "-A"}) EXPECT_TRUE(Parse(tail).AutomaticMode) << tail;
  for (const char* tail : {"/min", "-MIN", "/Min"}) EXPECT_TRUE(Parse(tail).StartMinimized) << tail;
  EXPECT_EQ(Parse("/d:C:\\plain").InstallDir, "C:\\plain");
  EXPECT_EQ(Parse("/D:\"half").InstallDir, "\"half");  // quotes go only in pairs
  EXPECT_TRUE(Parse("/ /a").AutomaticMode);              // a lone switch character is ignored
}

TEST(ParseCommandLine, LaterAtomOverwritesEarlier) {
  EXPECT_EQ(Parse("/n:first /n:second").ProductName, "second");
}

TEST(ParseCommandLine, UninstallIsAPrefixTest) {
  struct Case {
    const char* tail;
    std::string name;
  };
  const Case cases[] = {
      {"/u", ""}, {"/U:\"My Product\"", "My Product"}, {"/u:plain", "plain"},
      {"/Uninstall", ""}, {"/u:\"\"", ""},
  };
  for (const Case& c : cases) {
    const InstallerState s = Parse(c.tail);
    EXPECT_TRUE(s.UninstallRequested) << c.tail;
    EXPECT_EQ(s.UninstallName, c.name) << c.tail;
  }
}

TEST(ParseCommandLine, WrongAtomsEndWithTheUsageText) {
  struct Case {
    const char* tail;
    std::string message;
  };
  const Case cases[] = {
      {"foo", "Unexpected command line parameter:\nfoo"},
      {"/a \"quoted thing\"", "Unexpected command line parameter:\n\"quoted thing\""},
      {"/x", "Illegal command line atom:\nx"},
      {"-Abc", "Illegal command line atom:\nAbc"},
      // Without their colon (and opening quote) these switches are not recognised.
      {"/d", "Illegal command line atom:\nd"},
      {"/n", "Illegal command line atom:\nn"},
      {"/r:notquoted", "Illegal command line atom:\nr:notquoted"},
      {"/b1:x", "Illegal command line atom:\nb1:x"},
      {"/b4:\"x\"", "Illegal command line atom:\nb4:\"x\""},
      {"/minimal", "Illegal command line atom:\nminimal"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FatalMessageOf([&] { Parse(c.tail); }), Usage(c.message)) << c.tail;
  }
}

TEST(ParseCommandLine, AtomsAfterTheNineteenthAreNotExamined) {
  std::string tail;
  for (int i = 0; i < 18; ++i) tail += "/a ";
  tail += "/min /illegal /x foo";
  const InstallerState s = Parse(tail);  // must not end with a usage message
  EXPECT_TRUE(s.StartMinimized);
}

TEST(ShowUsage, NamesTheProgramAndKeepsPercentSignsLiteral) {
  EXPECT_EQ(FatalMessageOf([] { ShowUsage("Product name required", "brennick.exe"); }),
            Usage("Product name required", "brennick.exe"));
  EXPECT_EQ(FatalMessageOf([] { InstallerState s; ParseCommandLine("%s%n", "a.exe", s); }),
            Usage("Unexpected command line parameter:\n%s%n", "a.exe"));
}

}  // namespace
}  // namespace brennick
