#include "foundation/win/registry.h"

#include <gtest/gtest.h>

#include "startup/win/windows_facts.h"

namespace brennick::win {
namespace {

constexpr const char* kScratch = "Software\\Brennick Tests\\Registry";

class RegistryKeys : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Brennick Tests", 0);
  }
};

TEST_F(RegistryKeys, TheErrorComesWithTheKeyThatCouldNotBeOpened) {
  const OpenedKey missing = OpenKey(HKEY_CURRENT_USER, kScratch, KEY_READ);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.windowsError, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));

  const OpenedKey created = CreateKey(RegistryPath{RegistryRoot::CurrentUser, kScratch}, KEY_SET_VALUE);
  ASSERT_TRUE(created.ok());
  EXPECT_EQ(created.windowsError, 0u);
  const OpenedKey opened = OpenKey(HKEY_CURRENT_USER, kScratch, KEY_READ);
  EXPECT_TRUE(opened.ok());
}

TEST_F(RegistryKeys, KeysLieInTheViewOfA32BitProgram) {
  constexpr const char* kKey = "Software\\Brennick Tests\\View";
  ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, kKey, KEY_SET_VALUE).ok());
  EXPECT_TRUE(OpenKey(HKEY_LOCAL_MACHINE, kKey, KEY_READ, KEY_WOW64_32KEY).ok());
  // On 64-bit Windows the machine's software keys of the two views differ.
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, kKey, KEY_READ, KEY_WOW64_64KEY).ok(), !WindowsFacts().Is64BitWindows());
  DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Brennick Tests", 0);
}

}  // namespace
}  // namespace brennick::win
