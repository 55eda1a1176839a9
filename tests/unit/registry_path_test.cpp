#include "foundation/registry_path.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

TEST(RegistryPath, RootsKeysAndValueNames) {
  struct Case {
    std::string_view text;
    bool parsed;
    RegistryRoot root;
    const char* key;
    const char* value;
  } const cases[] = {
      {"\\HKLM\\Software\\Example\\Dir", true, RegistryRoot::LocalMachine, "Software\\Example", "Dir"},
      {"\\HKCU\\Software\\Example\\", true, RegistryRoot::CurrentUser, "Software\\Example", ""},
      {"\\HKU\\.DEFAULT\\Value", true, RegistryRoot::Users, ".DEFAULT", "Value"},
      {"\\HKDD\\Key\\Value", true, RegistryRoot::DynData, "Key", "Value"},
      {"\\HKLM", true, RegistryRoot::LocalMachine, "", ""},
      {"\\hklm\\Software\\Dir", false, RegistryRoot::LocalMachine, "", ""},
      {"HKLM\\Software\\Dir", false, RegistryRoot::LocalMachine, "", ""},
      {"\\HKXX\\Software\\Dir", false, RegistryRoot::LocalMachine, "", ""},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseRegistryValuePath(c.text);
    ASSERT_EQ(parsed.has_value(), c.parsed) << c.text;
    if (!parsed) continue;
    EXPECT_EQ(parsed->key.root, c.root) << c.text;
    EXPECT_EQ(parsed->key.subKey, c.key) << c.text;
    EXPECT_EQ(parsed->valueName, c.value) << c.text;
  }
}

TEST(RegistryPath, FolderSettingsTakeEitherHiveInAnyCase) {
  const auto user = ParseRegistryFolderSetting("hkcu\\Software\\Example\\Dir");
  ASSERT_TRUE(user);
  EXPECT_EQ(user->key.root, RegistryRoot::CurrentUser);
  EXPECT_EQ(user->key.subKey, "Software\\Example");
  EXPECT_EQ(user->valueName, "Dir");
  EXPECT_EQ(ParseRegistryFolderSetting("HKLM\\Software\\Dir")->key.root, RegistryRoot::LocalMachine);
  EXPECT_FALSE(ParseRegistryFolderSetting("HKCR\\Software\\Dir"));
  EXPECT_FALSE(ParseRegistryFolderSetting("C:\\HKLM\\Dir"));
}

}  // namespace
}  // namespace brennick
