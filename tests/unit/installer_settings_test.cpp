#include "startup/installer_settings.h"

#include <gtest/gtest.h>

#include "builder/package/settings_writer.h"
#include "fatal_capture.h"
#include "foundation/text.h"
#include "package/message_lookup.h"
#include "package/package_layout.h"

namespace brennick {
namespace {

// A machine with a 64-bit Windows, seen from a 32-bit program.
class FakeMachine final : public SettingsEnvironment {
 public:
  bool redirectionWorks = true;
  bool buttonPictures = false;
  std::string WindowsFolder() override { return "C:\\Windows"; }
  std::string ProgramFilesFolder() override { return "C:\\Program Files (x86)"; }
  std::string CommonFilesFolder() override { return "C:\\Program Files (x86)\\Common Files"; }
  std::string CommonAppDataFolder() override { return "C:\\ProgramData"; }
  std::string ExpandVariables(const std::string& text, const RunValues&) override {
    return ReplaceAll(text, "%ProgramFilesDir%", ProgramFilesFolder());
  }
  bool ButtonPicturesSupported() override { return buttonPictures; }
  bool TurnOffFileSystemRedirection() override { return redirectionWorks; }
};

SettingsRecord Record() {
  SettingsRecord r;
  r.ProductName = "Tool";
  r.Languages = {{"English"}, {{"<product> Setup"}}};
  return r;
}

InstallerState Apply(const SettingsRecord& r, std::string commandLineName = "", FakeMachine machine = {}) {
  InstallerState state;
  state.ProductName = std::move(commandLineName);
  ApplyInstallerSettings(r, state, machine);
  return state;
}

TEST(ApplyInstallerSettings, DefaultsFollowTheProductName) {
  SettingsRecord r = Record();
  r.ProductFlags = 1ull << flags::kUninstaller;
  InstallerState s = Apply(r);
  EXPECT_EQ(s.ProductName, "Tool");
  EXPECT_EQ(s.Settings.ProductDescription, "Tool");
  EXPECT_EQ(s.Settings.SharedPath, "C:\\Program Files (x86)\\Common Files\\Tool");
  EXPECT_EQ(s.Settings.ProductStartMenu, "Tool");
  EXPECT_EQ(s.Settings.DefaultInstallDir, "C:\\Program Files (x86)\\Tool");
  EXPECT_EQ(s.Settings.UninstallKeyName, "Tool");

  // A name from the command line reaches every default; a publisher leads the
  // Start-menu folder and names the shared folder.
  r.ProductName.clear();
  r.Publisher = "Maker";
  r.ProductFlags |= 1ull << flags::kMasterProduct;
  s = Apply(r, "Cmd Name");
  EXPECT_EQ(s.ProductName, "Cmd Name");
  EXPECT_EQ(s.Settings.ProductDescription, "Cmd Name");
  EXPECT_EQ(s.Settings.ProductStartMenu, "Maker\\Cmd Name");
  EXPECT_EQ(s.Settings.SharedPath, "C:\\Program Files (x86)\\Common Files\\Maker");
  EXPECT_EQ(s.Settings.DefaultInstallDir, "C:\\Program Files (x86)\\Cmd Name");
  EXPECT_EQ(s.Settings.UninstallKeyName, "Cmd Name");
  EXPECT_EQ(s.Settings.MasterProduct, "Cmd Name");
  EXPECT_EQ(s.Settings.MasterDisplayName, "Cmd Name");
  EXPECT_EQ(Message(s, MessageId::kInstallerTitle), "Cmd Name Setup");
}

TEST(ApplyInstallerSettings, InstallFolderForms) {
  struct Case {
    const char* stored;
    std::uint8_t bitness;
    const char* expected;
  };
  const Case cases[] = {
      {"", 1, "C:\\Program Files\\Tool"},
      {"Vendor\\App", 0, "C:\\Program Files (x86)\\Vendor\\App"},
      {"%ProgramFilesDir%\\App", 0, "C:\\Program Files (x86)\\App"},
      {"<OS>\\App", 0, "C:\\Windows\\App"},
      {"HKLM\\Software\\Example\\Dir", 0, "HKLM\\Software\\Example\\Dir"},
      {"HKCU\\Software\\Example\\Dir", 0, "HKCU\\Software\\Example\\Dir"},
      {"hklm\\Software", 0, "C:\\Program Files (x86)\\hklm\\Software"},
      {"<Master>", 0, "<Master>"},
      {"D:\\Apps\\Tool", 0, "D:\\Apps\\Tool"},
  };
  for (const Case& c : cases) {
    SettingsRecord r = Record();
    r.DefaultInstallDir = c.stored;
    r.Bitness = c.bitness;
    EXPECT_EQ(Apply(r).Settings.DefaultInstallDir, c.expected) << c.stored;
  }
}

TEST(ApplyInstallerSettings, SharedFolderNeedsTheUninstallerFlag) {
  SettingsRecord r = Record();
  r.SharedPath = "Shared";
  EXPECT_EQ(Apply(r).Settings.SharedPath, "");
  r.ProductFlags = 1ull << flags::kUninstaller;
  r.SharedBase = 1;
  EXPECT_EQ(Apply(r).Settings.SharedPath, "C:\\ProgramData\\Shared");
  r.SharedBase = 0;
  r.Bitness = 1;  // a 64-bit product shares the native common files
  EXPECT_EQ(Apply(r).Settings.SharedPath, "C:\\Program Files\\Common Files\\Shared");
}

TEST(ApplyInstallerSettings, RunModeFlagsAndMachineFacts) {
  SettingsRecord r = Record();
  InstallerState automatic;
  automatic.AutomaticMode = true;
  FakeMachine machine;
  r.RunMode = 2;
  ApplyInstallerSettings(r, automatic, machine);
  EXPECT_FALSE(automatic.AutomaticMode);
  r.RunMode = 1;
  EXPECT_TRUE(Apply(r).AutomaticMode);

  r.ProductFlags = 1ull << flags::kTitleOption;
  r.ProductFlags2 = (1u << 10) | 1u;
  r.TopColor = r.BottomColor = 0x123456;
  InstallerState s = Apply(r);
  EXPECT_TRUE(s.TitleOption);
  EXPECT_TRUE(s.MonoColor);
  EXPECT_EQ(s.Settings.ProductFlags2, 1u);  // no button pictures on this Windows
  machine.buttonPictures = true;
  EXPECT_EQ(Apply(r, "", machine).Settings.ProductFlags2, (1u << 10) | 1u);

  r.Bitness = 1;
  machine.redirectionWorks = false;
  EXPECT_TRUE(Apply(r, "", machine).RedirectionFailed);
}

TEST(ApplyInstallerSettings, WindowTitleMarkersAndInitialLanguage) {
  SettingsRecord r = Record();
  r.WindowTitle = "<PRODUCT> - <description> on <os>";
  r.ProductDescription = "The Tool";
  r.Languages = {{"Deutsch", "English"}, {{"de", "en"}}};
  const InstallerState s = Apply(r);
  EXPECT_EQ(s.Settings.WindowTitle, "Tool - The Tool on C:\\Windows");
  EXPECT_EQ(s.LanguageIndex, 1u);
}

// The background window is made after the first seven fields: they must be in
// force by then, the later ones not yet.
TEST(ReadInstallerSettings, FirstFieldsAreInForceWhenTheBackgroundComes) {
  SettingsRecord r = Record();
  r.ProductFlags = 1ull << flags::kNoBackgroundWindow;
  r.RunMode = 1;
  r.TaskbarText = "Tool Setup";
  r.DisplayTitle = "Tool";
  r.TitleSize = 1.5;
  r.Publisher = "Maker";
  r.EndMarker = package::kSettingsEndMarker;
  const std::vector<std::uint8_t> block = build::WriteSettingsRecord(r);
  InstallerState state;
  FakeMachine machine;
  bool called = false;
  ReadInstallerSettings(block, state, machine, [&] {
    called = true;
    EXPECT_TRUE(HasFlag(state.Settings.ProductFlags, flags::kNoBackgroundWindow));
    EXPECT_TRUE(state.AutomaticMode);
    EXPECT_EQ(state.Settings.TaskbarText, "Tool Setup");
    EXPECT_EQ(state.Settings.DisplayTitle, "Tool");
    EXPECT_EQ(state.Settings.TitleSize, 1.5);
    EXPECT_EQ(state.Settings.Publisher, "");
  });
  EXPECT_TRUE(called);
  EXPECT_EQ(state.Settings.Publisher, "Maker");
}

// A bad end marker is found after the language strings: the package's own
// corrupt-installer text tells it, not the built-in one.
TEST(ReadInstallerSettings, DamageAfterTheStringsSpeaksThePackagesLanguage) {
  SettingsRecord r = Record();
  r.Languages.Messages.resize(14, std::vector<std::string>(r.Languages.Names.size()));
  for (std::string& text : r.Languages.Messages[13]) text = "Paket defekt, Code %d";
  r.EndMarker = package::kSettingsEndMarker;
  std::vector<std::uint8_t> block = build::WriteSettingsRecord(r);
  block.back() ^= 1;  // the end marker is the last field
  InstallerState state;
  FakeMachine machine;
  EXPECT_EQ(testing::FatalMessageOf([&] { ReadInstallerSettings(block, state, machine, nullptr); }),
            "Paket defekt, Code 32");
  // Once the run is over, nothing points into the record any more.
  EXPECT_EQ(LookUpMessage(13), "");
}

}  // namespace
}  // namespace brennick
