#include <gtest/gtest.h>

#include <cstring>

#include "builder/basics/build_error.h"
#include "builder/package/settings_writer.h"
#include "fatal_capture.h"
#include "package/corrupt_installer.h"
#include "package/package_layout.h"
#include "package/settings_reader.h"

namespace brennick {
namespace {

using build::WriteSettingsRecord;
using build::WriteSettingsRecordWithOffsets;
using testing::FatalMessageOf;

// A record with every optional part present and no field left at its default.
SettingsRecord FullRecord() {
  SettingsRecord r;
  r.ProductFlags = (1ull << flags::kUninstaller) | (1ull << flags::kMasterProduct) | (1ull << 63) | 1;
  r.ProductFlags2 = 0x8000'0021;
  r.RunMode = 2;
  r.TaskbarText = "Taskbar";
  r.DisplayTitle = "Big Title";
  r.TitleSize = 36.5;
  r.ProgressPlacement = 3;
  r.MinStageTime = 9999;
  r.ShortcutMode = 1;
  for (std::size_t i = 0; i < r.UninstallerFileTime.size(); ++i) r.UninstallerFileTime[i] = static_cast<std::uint8_t>(i + 1);
  r.Publisher = "Example Ltd";
  r.ProductName = "Example";
  r.ProductDescription = "Example Deluxe";
  r.Bitness = 1;
  r.SharedBase = 1;
  r.SharedPath = "Shared";
  r.ProductStartMenu = "Example Ltd\\Example";
  r.DisplayVersion = "1.2.3";
  r.DefaultInstallDir = "%ProgramFilesDir%\\Example";
  r.ProductRegistry = "Software\\Example";
  r.RegistryEntries = "\\HKLM\\Software\\Example\\Key=1";
  r.BitmapSize = 100;
  r.StretchMode = 2;
  r.LicenseTexts = {"licence one", std::string("\xFF\xFEl\0i\0", 6), ""};
  r.ReadmeTexts = {"readme"};
  r.UninstallSubdir = "uninstall";
  r.UninstallerFileName = "remove.exe";
  r.UninstallKeyName = "ExampleKey";
  r.InstallDirRegistryValue = "HKLM\\Software\\Example\\Dir";
  r.WindowTitle = "<product> Setup";
  r.SidePictureFrame = 1;
  r.TitleColor = 0x00FFEEDD;
  r.TitleShadow = 1;
  r.TitlePosition = 2;
  r.TitleFont = "Arial";
  r.TopColor = 0x000000FF;
  r.BottomColor = 0x00FF0000;
  r.BackgroundBitmap = std::string("BM\0\0picture", 11);
  r.BitmapTPI = -7;
  r.CopyrightPos = 3;
  r.CopyrightColor = 0x123456;
  r.CopyrightSize = 9.25;
  r.CopyrightText = "(c) Example";
  r.CopyrightFont = "Tahoma";
  r.MasterProduct = "Base";
  r.MasterDisplayName = "Base Product";
  r.DesktopFolderName = "Example Tools";
  r.DesktopFolderIcon = std::string("\0\0\1\0icon", 8);
  r.PreInstallBatch = "echo pre";
  r.PostInstallBatch = "echo post";
  r.ExitBatch = "echo exit";
  r.UninstallBatch1 = "echo u1";
  r.UninstallBatch2 = "echo u2";
  r.UpgradeBatch = "echo up";
  r.ReinstallBatch = "echo re";
  r.BuildTime.fill(0xAB);
  r.ExcludedSystems = 0x11;
  r.ArchiveFromFile = 1;
  r.AdminRequirement = 2;
  r.RunAfterInstall = "readme.txt";
  r.LaunchAfterInstall = "example.exe";
  r.DocumentAfterInstall = "manual.pdf";
  r.NotifyNewURL = "http://example.com/new";
  r.NotifyUpgradeURL = "http://example.com/up";
  r.NotifyDowngradeURL = "http://example.com/down";
  r.NotifyReinstallURL = "http://example.com/re";
  r.NotifyURL = "http://example.com/gone";
  r.UpgradeWarnBelow = "1.0";
  r.Password = "secret";
  r.MustUninstallBelow = "0.9";
  r.FirewallEntries = "a;b;c;d";
  r.ExtraDiskSpace = 4096;
  r.PageStyles = {1, 0, 2, 1, 0, 2, 1, 0};
  r.UninstallerIcon = std::string("\0\0\1\0uninst", 10);
  r.FileDeletions = {{"old.dll", 1, "2.0", 3}, {"temp\\*.tmp", 0, "", 0}};
  r.Associations = {{7, ".exf", "Example.File", "Example file", "open", "&Open", "\"%1\"", "en", "example.ico"}};
  ShortcutRecord link;
  link.LinkTarget = "%InstallDir%\\example.exe";
  link.LinkName = "Example";
  link.LinkIcon = "example.ico";
  link.LinkArguments = "--start";
  link.LinkWorkingDir = "%InstallDir%";
  link.OnDesktop = 1;
  link.InStartMenu = 1;
  link.InStartup = 0;
  link.LinkExtraFolder = "Tools";
  link.ShowMode = 3;
  link.KeepOnUninstall = 1;
  r.Shortcuts = {link};
  r.RootShortcutTarget = "%InstallDir%\\example.exe";
  r.RootShortcutName = "Example";
  r.UninstallValues = {{"HelpLink", 1, "http://example.com/help"}};
  r.ProgramsToClose = {{"ExampleWindow", "Example*", "Example", 2, 4}};
  r.Languages.Names = {"English", "Deutsch"};
  r.Languages.Messages = {{"Example Setup", "Example Installation"}, {"Line one\r\nline two", "Zeile"}};
  r.EndMarker = package::kSettingsEndMarker;
  return r;
}

SettingsRecord Read(const std::vector<std::uint8_t>& bytes) { return ReadSettingsRecord(bytes, {}); }

std::string CorruptCode(int code) {
  const std::string message = FatalMessageOf([] { CorruptInstaller(0); });
  return message.substr(0, message.size() - 1) + std::to_string(code);
}

// A bit of one flag word cannot be used on the other.
template <class Word, class Bit>
concept Testable = requires(Word word, Bit bit) { HasFlag(word, bit); };
static_assert(Testable<std::uint64_t, flags::ProductBit> && Testable<std::uint32_t, flags::Product2Bit>);
static_assert(!Testable<std::uint32_t, flags::ProductBit> && !Testable<std::uint64_t, flags::Product2Bit>);
static_assert(!Testable<std::uint64_t, int>);

TEST(SettingsRecord, FlagsOfEachWord) {
  SettingsRecord r;
  SetFlag(r.ProductFlags, flags::kRestartMarker);
  SetFlag(r.ProductFlags2, flags::kStrippedUninstaller);
  EXPECT_EQ(r.ProductFlags, std::uint64_t{1} << 53);
  EXPECT_EQ(r.ProductFlags2, 1u << 5);
  ClearFlag(r.ProductFlags, flags::kRestartMarker);
  EXPECT_FALSE(HasFlag(r.ProductFlags, flags::kRestartMarker));
  EXPECT_TRUE(HasFlag(r.ProductFlags2, flags::kStrippedUninstaller));
}

TEST(SettingsRecord, WriteThenReadGivesEveryFieldBack) {
  const SettingsRecord full = FullRecord();
  EXPECT_EQ(Read(WriteSettingsRecord(full)), full);

  SettingsRecord plain;  // no optional part, empty lists
  plain.Languages = {{"English"}, {{"Setup"}}};
  plain.EndMarker = package::kSettingsEndMarker;
  EXPECT_EQ(Read(WriteSettingsRecord(plain)), plain);
}

TEST(SettingsRecord, OptionalPartsAreStoredOnlyWhenTheirSwitchIsOn) {
  SettingsRecord r = FullRecord();
  const std::size_t full = WriteSettingsRecord(r).size();
  r.CopyrightPos = 0;  // colour, size, text and font are left out
  EXPECT_EQ(WriteSettingsRecord(r).size(), full - (4 + 8 + r.CopyrightText.size() + 1 + r.CopyrightFont.size() + 1));
  r = FullRecord();
  r.ProductFlags &= ~(1ull << flags::kMasterProduct);
  EXPECT_EQ(WriteSettingsRecord(r).size(), full - (r.MasterProduct.size() + 1 + r.MasterDisplayName.size() + 1));
  r = FullRecord();
  r.ProductFlags &= ~(1ull << flags::kUninstaller);
  EXPECT_EQ(WriteSettingsRecord(r).size(), full - (4 + r.UninstallerIcon.size()));
  r = FullRecord();
  r.BackgroundBitmap.clear();  // no picture, no BitmapTPI
  EXPECT_EQ(WriteSettingsRecord(r).size(), full - (11 + 4));
}

TEST(SettingsRecord, CheckpointAfterTheSeventhFieldComesBeforeLaterBounds) {
  SettingsRecord r = FullRecord();
  build::WrittenSettings written = WriteSettingsRecordWithOffsets(r);
  const std::size_t at = written.offsets.at("MinStageTime");
  written.bytes[at] = 0x10;  // 10000
  written.bytes[at + 1] = 0x27;
  int checkpoints = 0;
  const std::string message = FatalMessageOf([&] { ReadSettingsRecord(written.bytes, [&] { ++checkpoints; }); });
  EXPECT_EQ(checkpoints, 1);
  EXPECT_EQ(message, CorruptCode(19));
}

// Bytes of a written record with a little-endian number put at a named field.
std::vector<std::uint8_t> WithNumberAt(const SettingsRecord& r, const std::string& field, std::uint32_t value,
                                       int width = 4) {
  build::WrittenSettings written = WriteSettingsRecordWithOffsets(r);
  const std::size_t at = written.offsets.at(field);
  for (int i = 0; i < width; ++i) written.bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return written.bytes;
}

TEST(SettingsRecord, BoundsGiveTheirCodes) {
  struct Case {
    const char* field;
    std::uint32_t value;
    int width;
    int code;
  };
  const Case cases[] = {
      {"MinStageTime", 10000, 2, 19},   {"BitmapSize", 101, 4, 39},      {"LicenseTexts", 21, 4, 24},
      {"LicenseTexts", 0xFFFFFFFF, 4, 24}, {"ReadmeTexts", 21, 4, 26},   {"Associations", 1001, 4, 36},
      {"Associations", 0x80000000, 4, 36}, {"UninstallValues", 1001, 4, 37}, {"Shortcuts", 1001, 4, 48},
      {"LanguageNames", 0, 1, 30},      {"LanguageNames", 201, 1, 30},   {"Messages", 0, 4, 31},
      {"Messages", 10001, 4, 31},       {"EndMarker", 0xD3E82B96, 4, 32},
  };
  for (const Case& c : cases) {
    const auto bytes = WithNumberAt(FullRecord(), c.field, c.value, c.width);
    EXPECT_EQ(FatalMessageOf([&] { Read(bytes); }), CorruptCode(c.code)) << c.field << " = " << c.value;
  }
}

TEST(SettingsRecord, BoundsThatStillPass) {
  SettingsRecord r = FullRecord();
  r.MinStageTime = 9999;
  r.BitmapSize = 100;
  r.LicenseTexts.assign(20, "page");
  r.Associations.assign(1000, r.Associations[0]);
  r.Languages.Names.assign(200, "Lang");
  r.Languages.Messages = {std::vector<std::string>(200, "text")};
  EXPECT_EQ(Read(WriteSettingsRecord(r)), r);
}

TEST(SettingsRecord, TerminatedListsHaveDifferentLimits) {
  SettingsRecord r = FullRecord();
  r.FileDeletions.assign(1001, FileDeletionEntry{"x.dll", 0, "", 0});
  r.ProgramsToClose.assign(1000, ProgramToClose{"C", "T", "N", 1, 2});
  EXPECT_EQ(Read(WriteSettingsRecord(r)), r);

  // One more of each is refused by the builder and, written anyway, by the program.
  SettingsRecord more = r;
  more.FileDeletions.push_back(more.FileDeletions[0]);
  EXPECT_THROW(WriteSettingsRecord(more), build::BuildError);
  std::vector<std::uint8_t> bytes = WriteSettingsRecord(r);
  const std::vector<std::uint8_t> entry = {'x', '.', 'd', 'l', 'l', 0, 0, 0, 0};
  const auto deletions = WriteSettingsRecordWithOffsets(r).offsets.at("FileDeletions");
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(deletions), entry.begin(), entry.end());
  EXPECT_EQ(FatalMessageOf([&] { Read(bytes); }), CorruptCode(38));

  more = r;
  more.ProgramsToClose.push_back(more.ProgramsToClose[0]);
  EXPECT_THROW(WriteSettingsRecord(more), build::BuildError);
  bytes = WriteSettingsRecord(r);
  const std::vector<std::uint8_t> program = {'C', 0, 'T', 0, 'N', 0, 1, 2};
  const auto programs = WriteSettingsRecordWithOffsets(r).offsets.at("ProgramsToClose");
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(programs), program.begin(), program.end());
  EXPECT_EQ(FatalMessageOf([&] { Read(bytes); }), CorruptCode(41));
}

TEST(SettingsRecord, ShortOrBrokenBlocksEndAsCorrupt) {
  // Past the end every read gives zeros: a terminated list then fills with
  // empty entries until its limit, later fields fail the end marker.
  const build::WrittenSettings written = WriteSettingsRecordWithOffsets(FullRecord());
  const std::vector<std::uint8_t>& full = written.bytes;
  const std::pair<std::size_t, int> cuts[] = {
      {0, 38},
      {written.offsets.at("LicenseTexts") + 2, 38},
      {written.offsets.at("ProgramsToClose"), 41},
      {written.offsets.at("LanguageNames"), 30},
      {written.offsets.at("Messages") + 6, 32},
      {full.size() - 1, 32},
  };
  for (const auto& [keep, code] : cuts) {
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keep));
    EXPECT_EQ(FatalMessageOf([&] { Read(cut); }), CorruptCode(code)) << "kept " << keep;
  }
  // A licence text whose length is negative or runs past the block ends the
  // reading there, with the same outcome as a block cut short.
  for (std::uint32_t length : {0x80000000u, 0x7FFFFFFFu}) {
    build::WrittenSettings damaged = written;
    const std::size_t at = damaged.offsets.at("LicenseTexts") + 4;
    for (int i = 0; i < 4; ++i) damaged.bytes[at + i] = static_cast<std::uint8_t>(length >> (8 * i));
    EXPECT_EQ(FatalMessageOf([&] { Read(damaged.bytes); }), CorruptCode(38)) << length;
  }
}

TEST(SettingsRecord, MessageLineBreaksAreNormalisedOnReading) {
  SettingsRecord r = FullRecord();
  r.Languages.Messages[1] = {"a\nb\rc\n\rd\r\ne", "x\r\n\r\ny"};
  const SettingsRecord read = Read(WriteSettingsRecord(r));
  EXPECT_EQ(read.Languages.Messages[1][0], "a\r\nb\r\nc\r\nd\r\ne");
  EXPECT_EQ(read.Languages.Messages[1][1], "x\r\n\r\ny");
}

TEST(SettingsRecord, WriterRefusesWhatTheProgramWouldReject) {
  const auto refuses = [](auto change) {
    SettingsRecord r = FullRecord();
    change(r);
    EXPECT_THROW(WriteSettingsRecord(r), build::BuildError);
  };
  refuses([](SettingsRecord& r) { r.MinStageTime = 10000; });
  refuses([](SettingsRecord& r) { r.ProductName = std::string("a\0b", 3); });
  refuses([](SettingsRecord& r) { r.FileDeletions[0].Name = "~~THE END~~"; });
  refuses([](SettingsRecord& r) { r.Languages.Names.clear(); });
  refuses([](SettingsRecord& r) { r.Languages.Messages[0].pop_back(); });
  refuses([](SettingsRecord& r) { r.EndMarker = 0; });
}

}  // namespace
}  // namespace brennick
