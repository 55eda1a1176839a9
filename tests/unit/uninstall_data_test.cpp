#include "run/uninstall_data.h"

#include <gtest/gtest.h>

#include "run/collect_uninstall_data.h"
#include "run/comma_fields.h"

namespace brennick {
namespace {

std::string EmptyStringBlocks(int from, int to) {
  std::string text;
  for (int number : kUninstallStringNumbers) {
    if (number >= from && number <= to) text += "~" + std::to_string(number) + "\r\n\r\n";
  }
  return text;
}

TEST(UninstallData, WritesTheExactText) {
  UninstallData data;
  data.Removals = {{kRemoveFile, "C:\\App\\a.exe"}, {kRemoveFolder, "C:\\App"}};
  data.Strings = {{10, "Failed:\r\n%s"}, {999, "Title"}};
  data.ProgramsToClose = {{"Cls", "My, app", " x", 2, 4}};
  data.Associations = {{".abc", "Abc.File", "open"}};
  data.MsiPackages = {{"C:\\App\\x.msi", 3}};
  data.RegistryEntries = {"\\HKLM\\Software\\B"};
  data.ConditionalDeletes = {{"*.tmp", 0, "", 8}, {"install-only.log", 0, "", 4}};
  EXPECT_EQ(WriteUninstallDataText(data),
            "C:\\App\\a.exe\r\n~C:\\App\r\n"
            "\r\n\r\n[Strings]\r\n"
            "~10\r\nFailed:\r\n%s\r\n"
            "~15\r\n\r\n~20\r\n\r\n~30\r\n\r\n~34\r\n\r\n~35\r\n\r\n~49\r\n\r\n~53\r\n\r\n~55\r\n\r\n~56\r\n\r\n"
            "~57\r\n\r\n~58\r\n\r\n~59\r\n\r\n~65\r\n\r\n~67\r\n\r\n~68\r\n\r\n~69\r\n\r\n~70\r\n\r\n~71\r\n\r\n"
            "~74\r\n\r\n~79\r\n\r\n~80\r\n\r\n~99\r\n\r\n~100\r\n\r\n~101\r\n\r\n"
            "~999\r\nTitle\r\n"
            "\r\n\r\n[AutoClose]\r\nCls,\"My, app\",\" x\",2\r\n"
            "\r\n\r\n[Associations]\r\n.abc~!~Abc.File~!~open\r\n"
            "\r\n\r\n[MSI]\r\n\"C:\\App\\x.msi\",3\r\n"
            "\r\n\r\n[Registry2]\r\n\\HKLM\\Software\\B\r\n"
            "\r\n\r\n[ConditionalDelete]\r\n*.tmp,0,,8\r\n");
  // Nothing recorded: still the strings, and nothing else.
  EXPECT_EQ(WriteUninstallDataText({}),
            "\r\n\r\n[Strings]\r\n" + EmptyStringBlocks(0, 1000) + "~999\r\n\r\n");
}

TEST(UninstallData, FullRecordSurvivesWritingAndReading) {
  UninstallData data;
  data.Removals = {{kRemoveFile, "C:\\App\\a.exe"}, {kRemoveFolder, "C:\\App\\Sub"},
                   {kRemoveFile, "|C:\\App\\\xC3\xA4.txt"}, {kRemoveFolder, "C:\\App"}};
  for (int number : kUninstallStringNumbers) data.Strings[number] = "Text " + std::to_string(number);
  data.Strings[10] = "Failed:\r\n\r\n%s";
  data.Strings[58] = "";
  data.Strings[kWindowTitleString] = "Widget 2.0";
  data.ProgramsToClose = {{"Cls*", "Title, \"quoted\"", "'Widget'", 2, 4}, {"", "*Editor", "Editor ", 0, 2}};
  data.Associations = {{".wdg", "Widget.Doc", "open"}, {".wdx", "Widget.Doc", "print"}};
  data.FirewallLines = {"8080;Widget;3;0", "%InstallDir%\\w.exe;Widget app;0;0"};
  data.DriverLocations = {"C:\\Windows\\INF\\oem7.inf"};
  data.MsiPackages = {{"C:\\App\\a,b.msi", 5}, {"C:\\App\\c.msi", -1}};
  data.RegistryValues = {"\\HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls\\Widget"};
  data.RegistryEntries = {"\\HKLM\\Software\\Widget", "\\HKCU\\Software\\Widget,Name,1,\"a,b\",0,1"};
  data.ConditionalDeletes = {{"%InstallDir%\\*.tmp", 0, "", 8}, {"old, \"x\".dll", 2, "1.2.3", 8 | 2},
                             {"big.dat", 200, "100", 8 | 1}};
  EXPECT_EQ(ReadUninstallDataText(WriteUninstallDataText(data)), data);
}

TEST(UninstallData, ReadsEveryLineEndKind) {
  const std::string text =
      "C:\\App\\a.exe\n~C:\\App\n\n\n[Strings]\n~10\nLine one\nLine two\n~999\nTitle\n\n\n"
      "[Registry]\n\\HKLM\\X\\v\n";
  UninstallData expected;
  expected.Removals = {{kRemoveFile, "C:\\App\\a.exe"}, {kRemoveFolder, "C:\\App"}};
  expected.Strings = {{10, "Line one\r\nLine two"}, {999, "Title"}};
  expected.RegistryValues = {"\\HKLM\\X\\v"};
  for (const char* lineEnd : {"\r\n", "\n", "\r", "\n\r"}) {
    std::string file;
    for (char c : text) file += c == '\n' ? std::string(lineEnd) : std::string(1, c);
    EXPECT_EQ(ReadUninstallDataText(file), expected) << testing::PrintToString(lineEnd);
  }
}

TEST(UninstallData, ReadsSectionsInAnyOrderAndRepeated) {
  const UninstallData data = ReadUninstallDataText(
      "C:\\App\\f.txt\r\n[registry2]\r\n"  // not a header in this letter case: a file line
      "[Registry2]\r\n\\HKLM\\A\r\n"
      "[MSI]\r\n  \"C:\\p,q.msi\", 5\r\nC:\\bad.msi\r\n"
      "[Strings]\r\n~10\r\nold\r\n[Unknown]\r\nx\r\n"
      "[Registry2]\r\n  \\HKLM\\B  \r\n"
      "[AutoClose]\r\nC,T,N,2\r\nC,T,N\r\n  \"a,b\",\"say \"\"hi\"\"\",' n,0\r\n"
      "[Associations]\r\n.a~!~A~!~open\r\n.b~!~~!~open\r\n.c~!~C\r\n"
      "[ConditionalDelete]\r\n*.log,1,\"1,2\",8\r\nbad,1\r\n"
      "[Strings]\r\n~10\r\nnew\r\n"
      "[Firewall]\r\n80;Web;1;0\r\n[INF]\r\nC:\\W\\oem1.inf\r\n");
  UninstallData expected;
  expected.Removals = {{kRemoveFile, "C:\\App\\f.txt"}, {kRemoveFile, "[registry2]"}};
  expected.Strings = {{10, "new"}};
  expected.ProgramsToClose = {{"C", "T", "N", 2, 4}, {"a,b", "say \"hi\"", "' n", 0, 2}};
  expected.Associations = {{".a", "A", "open"}};
  expected.FirewallLines = {"80;Web;1;0"};
  expected.DriverLocations = {"C:\\W\\oem1.inf"};
  expected.MsiPackages = {{"C:\\p,q.msi", 5}};
  expected.RegistryEntries = {"\\HKLM\\A", "\\HKLM\\B"};
  expected.ConditionalDeletes = {{"*.log", 1, "1,2", 8}};
  EXPECT_EQ(data, expected);
}

TEST(UninstallData, ReadsStringTextsUpToTheNextTildeOrHeaderLine) {
  struct Case {
    const char* body;
    std::map<int, std::string> strings;
  };
  const Case cases[] = {
      {"~10\r\na\r\nb\r\nc\r\n\r\n \r\n~15\r\nx", {{10, "a\r\nb\r\nc"}, {15, "x"}}},  // trailing blank lines lost
      {"~10\r\n  indented \t\r\n", {{10, "  indented"}}},
      {"~10\r\n~15\r\n", {{10, ""}, {15, ""}}},
      {"~10\r\nkeep\r\n~tilde\r\nlost\r\n~15\r\ny", {{10, "keep"}, {15, "y"}}},
      {"~10\r\nkeep\r\n[Registry]x\r\nlost", {{10, "keep"}}},
      {"~10\r\n[registry]x\r\n [Registry]", {{10, "[registry]x\r\n [Registry]"}}},
      {"~0\r\na\r\n~1001\r\nb\r\n~1000\r\nc\r\n~x\r\nd", {{1000, "c"}}},
      {"~999 \r\nWidget\r\n~999\r\nWidget 2", {{999, "Widget 2"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadUninstallDataText(std::string("[Strings]\r\n") + c.body).Strings, c.strings) << c.body;
  }
}

TEST(CommaFields, QuotesOnlyWhereNeededAndReadsBack) {
  struct Case {
    std::string field;
    std::string written;
  };
  const Case cases[] = {
      {"plain", "plain"},           {"in side", "in side"},           {"", ""},
      {"a,b", "\"a,b\""},           {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {" lead", "\" lead\""},       {"'quote", "\"'quote\""},         {"trail ", "\"trail \""},
      {"x;y", "\"x;y\""},           {"p|q", "\"p|q\""},               {"t\tb", "\"t\tb\""},
      {"l\r\nm", "\"l\r\nm\""},
  };
  std::vector<std::string> all;
  for (const Case& c : cases) {
    EXPECT_EQ(JoinCommaFields(std::vector<std::string>{c.field}), c.written) << c.field;
    all.push_back(c.field);
  }
  EXPECT_EQ(SplitCommaFields(JoinCommaFields(all)), all);
}

TEST(CommaFields, SplitsAtUnquotedCommasAfterSkippingBlanks) {
  struct Case {
    const char* line;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"a, b,  c", {"a", "b", "c"}},
      {"a ,b", {"a ", "b"}},
      {"", {""}},
      {"a,,", {"a", "", ""}},
      {" \"x, \"\"y\"\"\",z", {"x, \"y\"", "z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommaFields(c.line), c.fields) << c.line;
}

TEST(RecordRemoval, SkipsDriveRootsAndRecordsEachFolderOnce) {
  InstallLists lists;
  EXPECT_FALSE(RecordRemoval(lists, kRemoveFile, "C:\\"));
  EXPECT_FALSE(RecordRemoval(lists, kRemoveFolder, "D:\\"));
  EXPECT_TRUE(RecordRemoval(lists, kRemoveFolder, "C:\\A"));
  EXPECT_FALSE(RecordRemoval(lists, kRemoveFolder, "c:\\a"));
  EXPECT_TRUE(RecordRemoval(lists, kRemoveFile, "C:\\A\\f"));
  EXPECT_TRUE(RecordRemoval(lists, kRemoveFile, "C:\\A\\f"));
  EXPECT_EQ(lists.Removals,
            (std::vector<RemovalEntry>{{kRemoveFolder, "C:\\A"}, {kRemoveFile, "C:\\A\\f"}, {kRemoveFile, "C:\\A\\f"}}));
  ClearRemovalList(lists);
  EXPECT_TRUE(lists.Removals.empty());
  EXPECT_TRUE(RecordRemoval(lists, kRemoveFolder, "c:\\a"));
}

TEST(CollectUninstallData, TakesTheChosenLanguageWithMarkersReplaced) {
  InstallerState state;
  state.ProductName = "Widget";
  std::vector<std::vector<std::string>> rows(102, std::vector<std::string>{"", ""});
  rows[15] = {"<product> was removed.", "<PRODUCT> wurde entfernt."};
  state.Messages = MessageTable({{"English", "Deutsch"}, rows});
  state.LanguageIndex = 1;
  state.Settings.WindowTitle = "Widget Setup";
  state.Settings.RegistryEntries = "\\HKLM\\Software\\W\r\n\r\n\\HKLM\\Software\\W,v,1,x,0,1\n";
  state.Settings.ProgramsToClose = {{"C", "T", "N", 1, 1}};
  state.Settings.FileDeletions = {{"*.tmp", 0, "", 8}};
  RecordRemoval(state.Lists, kRemoveFile, "C:\\W\\w.exe");

  const UninstallData data = CollectUninstallData(state);
  EXPECT_EQ(data.Strings.size(), kUninstallStringNumbers.size() + 1);
  EXPECT_EQ(data.Strings.at(15), "Widget wurde entfernt.");
  EXPECT_EQ(data.Strings.at(10), "");
  EXPECT_EQ(data.Strings.at(kWindowTitleString), "Widget Setup");
  EXPECT_EQ(data.RegistryEntries,
            (std::vector<std::string>{"\\HKLM\\Software\\W", "\\HKLM\\Software\\W,v,1,x,0,1"}));
  EXPECT_EQ(data.ProgramsToClose, state.Settings.ProgramsToClose);
  EXPECT_EQ(data.ConditionalDeletes, state.Settings.FileDeletions);
  EXPECT_EQ(data.Removals, state.Lists.Removals);
}

}  // namespace
}  // namespace brennick
