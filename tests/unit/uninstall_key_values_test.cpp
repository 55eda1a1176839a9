#include "run/uninstall_key_values.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brennick {
namespace {

const UninstallKeyValue* Find(const std::vector<UninstallKeyValue>& values, const std::string& name) {
  const auto found = std::find_if(values.begin(), values.end(), [&](const auto& v) { return v.name == name; });
  return found == values.end() ? nullptr : &*found;
}

InstallerState State() {
  InstallerState state;
  state.ProductName = "Example";
  state.Settings.UninstallKeyName = "Example Key";
  state.Settings.DisplayVersion = "2.15.3";
  state.Settings.ProductFlags = 0x8000000000000004ull;
  state.Settings.TitleSize = 24.0;
  state.Settings.CopyrightSize = 12.5;
  state.Settings.CopyrightColor = 0x00102030;
  return state;
}

TEST(UninstallKeyValues, CommandsNamesAndOrder) {
  const auto values = UninstallKeyValues(State(), {"C:\\App\\uninstall.exe", "C:\\setup.exe", "Example", "", 0});
  ASSERT_GE(values.size(), 4u);
  EXPECT_EQ(values[0].name, "UninstallString");
  EXPECT_EQ(values[0].text, "\"C:\\App\\uninstall.exe\" /u:\"Example Key\"");
  EXPECT_EQ(values[1].text, "\"C:\\App\\uninstall.exe\" /a /u:\"Example Key\"");
  EXPECT_EQ(values[2].text, "Example");
  EXPECT_EQ(values[3].text, "C:\\setup.exe");
  EXPECT_EQ(values.back().name, "StretchMode");
  EXPECT_EQ(Find(values, "ProductFlags")->text, "-9223372036854775804");
  EXPECT_EQ(Find(values, "TitleSize")->text, "24");
  EXPECT_EQ(Find(values, "CopyrightSize")->text, "12.5");
  EXPECT_EQ(Find(values, "CopyrightColor")->text, "302010");
  EXPECT_TRUE(Find(values, "Publisher")->remove);     // an earlier publisher does not linger
  EXPECT_TRUE(Find(values, "BitmapSize")->remove);    // no bitmap kept
  EXPECT_TRUE(Find(values, "ShortcutMode")->remove);
}

TEST(UninstallKeyValues, VersionNumbersAndEstimatedSize) {
  InstallerState state = State();
  auto values = UninstallKeyValues(state, {});
  EXPECT_EQ(Find(values, "VersionMajor")->number, 2u);
  EXPECT_EQ(Find(values, "VersionMinor")->number, 15u);
  state.Settings.DisplayVersion = "2015";
  values = UninstallKeyValues(state, {});
  EXPECT_EQ(Find(values, "VersionMajor"), nullptr);
  EXPECT_EQ(Find(values, "VersionMinor"), nullptr);

  struct Case {
    std::uint64_t bytes;
    bool removed;
    std::uint32_t kilobytes;
  } const cases[] = {{1023, true, 0}, {1024, false, 1}, {1048575, false, 1023}, {1ull << 52, true, 0}};
  for (const Case& c : cases) {
    UninstallKeyFacts facts;
    facts.totalInstalledBytes = c.bytes;
    const auto withSize = UninstallKeyValues(state, facts);
    const UninstallKeyValue* size = Find(withSize, "EstimatedSize");
    EXPECT_EQ(size->remove, c.removed) << c.bytes;
    if (!c.removed) {
      EXPECT_EQ(size->number, c.kilobytes) << c.bytes;
    }
  }
}

TEST(UninstallKeyValues, MonoColourDropsTheBottomColour) {
  InstallerState state = State();
  state.MonoColor = true;
  const auto values = UninstallKeyValues(state, {});
  EXPECT_TRUE(Find(values, "BottomColor")->remove);
  EXPECT_EQ(Find(values, "MonoColor")->number, 1u);
}

TEST(UninstallKeyValues, NumbersAsTextAndTheInstallDate) {
  EXPECT_EQ(FloatText(-0.0), "0");
  EXPECT_EQ(FloatText(1.25), "1.25");
  EXPECT_EQ(FloatText(100), "100");
  EXPECT_EQ(InstallDateText({2026, 12, 8, 2, 7, 24}), "12/8/26 2:07:24a");
  EXPECT_EQ(InstallDateText({2027, 1, 31, 12, 0, 5}), "1/31/27 12:00:05p");
}

}  // namespace
}  // namespace brennick
