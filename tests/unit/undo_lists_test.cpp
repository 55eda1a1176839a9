#include "uninstall/undo_lists.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(ParseProductFonts, ReadsPairsAsTheInstallationWritesThem) {
  using Fonts = std::vector<ProductFont>;
  struct Case {
    const char* value;
    Fonts expected;
  };
  const Case cases[] = {
      {"", {}},
      {"\"Example Sans (TrueType)\" \"exsans.ttf\" \"Example Mono\" \"exmono.fon\" ",
       {{"Example Sans (TrueType)", "exsans.ttf"}, {"Example Mono", "exmono.fon"}}},
      {"\"A\"\"a.ttf\"  \t\"B\"   \"b.ttf\"", {{"A", "a.ttf"}, {"B", "b.ttf"}}},
      // Pairs with an empty token are left out, the rest are read.
      {"\"\" \"x.ttf\" \"A\" \"\" \"B\" \"b.ttf\" ", {{"B", "b.ttf"}}},
      // A token without its pair, or without its closing quote, ends the list.
      {"\"A\" \"a.ttf\" \"B\" ", {{"A", "a.ttf"}}},
      {"\"A\" \"a.ttf\" \"B\" \"b.ttf", {{"A", "a.ttf"}}},
      {"\"A\" \"a.ttf\" junk \"B\" \"b.ttf\"", {{"A", "a.ttf"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProductFonts(c.value), c.expected) << c.value;
}

TEST(ParseSharedFiles, TakesTheMarkersOff) {
  using Entries = std::vector<SharedFileEntry>;
  struct Case {
    std::string value;
    Entries expected;
  };
  const Case cases[] = {
      {"", {}},
      {"\"C:\\Sys\\plain.dll\"", {{"C:\\Sys\\plain.dll", false, false, false}}},
      {"\"C:\\Sys\\com.dll^\";\"C:\\Sys\\keep.dll \";\"C:\\Sys\\types.tlb\xA9\";\"C:\\Sys\\plain.dll\"",
       {{"C:\\Sys\\com.dll", true, false, false},
        {"C:\\Sys\\keep.dll", false, true, false},
        {"C:\\Sys\\types.tlb", false, false, true},
        {"C:\\Sys\\plain.dll", false, false, false}}},
      // Markers are taken off in the order "^", blank, 0xA9, each once.
      {"\"C:\\a.dll\xA9 ^\"", {{"C:\\a.dll", true, true, true}}},
      {"\"C:\\a.dll^^\"", {{"C:\\a.dll^", true, false, false}}},
      {"\"C:\\a.dll^ \"", {{"C:\\a.dll^", false, true, false}}},
      // A ";" inside a path is part of it.
      {"\"C:\\x;y\\a.dll\";\"C:\\b.dll^\"", {{"C:\\x;y\\a.dll", false, false, false}, {"C:\\b.dll", true, false, false}}},
      // UTF-8 paths: 0xA9 that ends a character ("\xC3\xA9" is e acute) is part of the name.
      {"\"|C:\\caf\xC3\xA9\";\"|C:\\caf\xC3\xA9\xA9\"",
       {{"|C:\\caf\xC3\xA9", false, false, false}, {"|C:\\caf\xC3\xA9", false, false, true}}},
      {"\"|C:\\x.tlb\xA9\"", {{"|C:\\x.tlb", false, false, true}}},
      // An entry that is empty once its markers are off ends the list.
      {"\"C:\\a.dll\";\"^\";\"C:\\b.dll\"", {{"C:\\a.dll", false, false, false}}},
      {"\"C:\\a.dll\";\"\";\"C:\\b.dll\"", {{"C:\\a.dll", false, false, false}}},
      // An entry without its closing quote ends the list.
      {"\"C:\\a.dll\";\"C:\\b.dll", {{"C:\\a.dll", false, false, false}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSharedFiles(c.value), c.expected) << c.value;
}

TEST(ClassifyRegistryEntry, KeysValuesAndKeptValues) {
  using Kind = RegistryEntryUndo::Kind;
  struct Case {
    const char* line;
    RegistryEntryUndo expected;
  };
  const Case cases[] = {
      {"\\HKLM\\Software\\Example", {Kind::Key, "\\HKLM\\Software\\Example", ""}},
      {"  \\HKAU\\Software\\Example  ", {Kind::Key, "\\HKAU\\Software\\Example", ""}},
      {"\"\\HKLM\\Software\\A,B\"", {Kind::Key, "\\HKLM\\Software\\A,B", ""}},
      {"\\HKLM", {}},
      {"HKLM\\Software", {}},
      {"", {}},
      {"\\HKLM\\Software\\Example,Version,1,2.0,,", {Kind::Value, "\\HKLM\\Software\\Example", "Version"}},
      {"\\HKAU\\Software\\Example,,1,x,1,0", {Kind::Value, "\\HKAU\\Software\\Example", ""}},
      {"\\HKLM\\Software\\Example,\"a,b\",4,1,0, 1 ", {Kind::Value, "\\HKLM\\Software\\Example", "a,b"}},
      // The sixth field "1" keeps the value.
      {"\\HKLM\\Software\\Example,Version,1,2.0,0,1", {}},
      {"\\HKLM\\Software\\Example,Version,1,2.0,0,\"1\"", {}},
      // Neither one nor six fields.
      {"\\HKLM\\Software\\Example,Version", {}},
      {"\\HKLM\\Software\\Example,Version,1,2.0,0,0,extra", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyRegistryEntry(c.line), c.expected) << c.line;
}

TEST(AssociationBackupName, ProductNameWithoutBackslashesAndLineBreaks) {
  EXPECT_EQ(AssociationBackupName("Example Editor"), "Example Editor Backup");
  EXPECT_EQ(AssociationBackupName("A\\B\r\nC\tD"), "ABCD Backup");
  EXPECT_EQ(AssociationBackupName(""), " Backup");
}

TEST(ParseFirewallLine, PortsProgramsAndMalformedLines) {
  struct Case {
    const char* line;
    std::optional<FirewallUndo> expected;
  };
  const Case cases[] = {
      {"8080;Example Server;3;", FirewallUndo{true, 8080, 3, ""}},
      {"53;DNS;2;0", FirewallUndo{true, 53, 2, ""}},
      {"65535;Top;1;", FirewallUndo{true, 65535, 1, ""}},
      {"80;Web;tcp;", FirewallUndo{true, 80, 0, ""}},
      {"%InstallDir%\\editor.exe;Example Editor;;", FirewallUndo{false, 0, 0, "%InstallDir%\\editor.exe"}},
      {"8080x;Odd;3;", FirewallUndo{false, 0, 0, "8080x"}},
      {"editor.exe;Editor;0;0", FirewallUndo{false, 0, 0, "editor.exe"}},
      // Not exactly four fields.
      {"8080;Example;3", std::nullopt},
      {"8080;Example;3;;", std::nullopt},
      {"", std::nullopt},
      // Nothing can have been added for these.
      {";Nameless;3;", std::nullopt},
      {"65536;Too high;3;", std::nullopt},
      {"99999999999999999999999;Far too high;3;", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFirewallLine(c.line), c.expected) << c.line;
}

TEST(FoldersLongestFirst, DeeperFoldersFirstEqualLengthsKeepTheirOrder) {
  EXPECT_EQ(FoldersLongestFirst({"C:\\App", "C:\\App\\Data\\Cache", "C:\\App\\Data", "C:\\App\\Docs", "C:\\Other"}),
            (std::vector<std::string>{"C:\\App\\Data\\Cache", "C:\\App\\Data", "C:\\App\\Docs", "C:\\Other",
                                      "C:\\App"}));
  EXPECT_EQ(FoldersLongestFirst({}), std::vector<std::string>{});
}

}  // namespace
}  // namespace brennick
