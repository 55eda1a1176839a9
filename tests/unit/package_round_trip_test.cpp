// The builder's output read the way the program reads it.
#include <gtest/gtest.h>

#include "builder/package/package_writer.h"
#include "fatal_capture.h"
#include "package/archive_reader.h"
#include "package/corrupt_installer.h"
#include "package/file_record.h"
#include "package/package_layout.h"
#include "package/settings_reader.h"
#include "package/settings_unpack.h"
#include "pe_fixture.h"
#include "startup/package_reader.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;

class Machine final : public SettingsEnvironment {
 public:
  std::string WindowsFolder() override { return "C:\\Windows"; }
  std::string ProgramFilesFolder() override { return "C:\\Program Files"; }
  std::string CommonFilesFolder() override { return "C:\\Program Files\\Common Files"; }
  std::string CommonAppDataFolder() override { return "C:\\ProgramData"; }
  std::string ExpandVariables(const std::string& text, const RunValues&) override { return text; }
  bool ButtonPicturesSupported() override { return true; }
  bool TurnOffFileSystemRedirection() override { return true; }
};

SettingsRecord Settings(std::uint64_t flagBits) {
  SettingsRecord s;
  s.ProductFlags = flagBits;
  s.ProductName = "Round Trip";
  s.DisplayVersion = "1.0";
  s.LicenseTexts = {"Licence"};
  s.Languages = {{"English", "Deutsch"}, {{"<product> Setup", "<product> Installation"}, {"x", "y"}}};
  s.EndMarker = package::kSettingsEndMarker;
  return s;
}

std::vector<build::PackagedFile> Files() {
  std::vector<build::PackagedFile> files(4);
  files[0].record.Name = "app.exe";
  files[0].record.FileFlags = 0x3;  // both shortcuts: the icon is stored
  files[0].record.ShortcutIcon = "app.ico";
  files[0].record.Stamp = {2026, 12, 10, 3, 4, 5};
  for (int i = 0; i < 5000; ++i) files[0].data.push_back(static_cast<std::uint8_t>(i * 7 % 251));
  files[1].record.Name = "docs\\empty.txt";  // no data at all
  files[2].record.Name = "setup.msi";
  files[2].record.Kind = FileKind::kMsiPackage;
  files[2].record.MsiUiLevel = 3;
  files[2].data.assign(300, 'm');
  files[3].record.Name = "|\xce\xb1.txt";
  files[3].record.Label = "1.2.3.4";
  files[3].data = {'a'};
  return files;
}

struct Built {
  std::vector<std::uint8_t> exe;
  SectionEntry setup;
  std::span<const std::uint8_t> Section() const { return {exe.data() + setup.fileOffset, setup.rawSize}; }
  std::span<const std::uint8_t> Stub() const { return {exe.data(), setup.fileOffset}; }
};

Built Build(std::uint64_t flagBits, std::size_t chunkSize = 700) {
  build::PackageOptions options;
  options.chunkSize = chunkSize;  // records span chunks, chunks hold several records
  Built built{build::WriteSetupProgram(testing::PeFixture{}.Bytes(), Settings(flagBits), Files(), options), {}};
  built.setup = LocateSetupSection(built.exe);
  return built;
}

constexpr std::uint64_t kAllChecks = (1ull << flags::kCompressedChunks) | (1ull << flags::kVerifyChecksums);

TEST(PackageRoundTrip, TheProgramReadsWhatTheBuilderWrote) {
  for (const std::uint64_t flagBits : {std::uint64_t{0}, kAllChecks}) {
    const Built built = Build(flagBits);
    InstallerState state;
    Machine machine;
    int backgroundPoints = 0;
    const PackageHeader header = ReadPackage(built.Section(), state, machine, [&] { ++backgroundPoints; });
    EXPECT_EQ(backgroundPoints, 1);
    EXPECT_EQ(state.ProductName, "Round Trip");
    EXPECT_EQ(Message(state, MessageId::kInstallerTitle), "Round Trip Setup");
    CheckStub(built.Stub(), ReadPeLayout(built.exe), header, flagBits);

    // Field for field, the record as stored.
    const PackageParts parts = ReadPackageHeader(built.Section());
    EXPECT_EQ(ReadSettingsRecord(DecodeSettingsBlock(parts.settingsBlock, header.SettingsChecksum), {}),
              Settings(flagBits));

    const std::vector<build::PackagedFile> expected = Files();
    ASSERT_EQ(header.FileCount, static_cast<std::int32_t>(expected.size()));
    const auto archive = built.Section().subspan(state.ArchiveStart, header.ArchiveEnd - state.ArchiveStart);
    std::size_t index = 0;
    ReadArchiveRecords(archive, {header.ArchiveSize, header.ArchiveChecksum, header.FileCount, flagBits},
                       [&](std::span<const std::uint8_t> body) {
                         const FileItem item = ReadFileItem(body, state.FileDataSizes.at(index));
                         EXPECT_EQ(item.record, expected[index].record);
                         EXPECT_TRUE(std::equal(item.data.begin(), item.data.end(), expected[index].data.begin(),
                                                expected[index].data.end()));
                         ++index;
                       });
    EXPECT_EQ(index, expected.size());
  }
}

TEST(PackageRoundTrip, ArchiveReadFromTheFileEndsWithTheFile) {
  SettingsRecord settings = Settings(kAllChecks);
  settings.ArchiveFromFile = 1;
  const std::vector<std::uint8_t> exe =
      build::WriteSetupProgram(testing::PeFixture{}.Bytes(), settings, Files(), build::PackageOptions{});
  const SectionEntry setup = LocateSetupSection(exe);
  InstallerState state;
  Machine machine;
  const PackageHeader header = ReadPackage({exe.data() + setup.fileOffset, setup.rawSize}, state, machine, {});
  // The program's reckoning: from the archive's start to the end of the file.
  EXPECT_EQ(exe.size() - setup.fileOffset - state.ArchiveStart, static_cast<std::size_t>(header.ArchiveSize));
  EXPECT_EQ(state.Settings.ArchiveFromFile, 1);
}

TEST(PackageRoundTrip, SameInputsGiveTheSameBytes) {
  EXPECT_EQ(Build(kAllChecks).exe, Build(kAllChecks).exe);
}

TEST(PackageRoundTrip, DamageIsFound) {
  const Built built = Build(kAllChecks);
  const auto corruptCode = [](auto action) {
    const std::string message = FatalMessageOf(action);
    return std::stoi(message.substr(message.rfind(' ') + 1));
  };
  Machine machine;

  // A changed byte in the program before the package: only with bit 32.
  std::vector<std::uint8_t> stub(built.Stub().begin(), built.Stub().end());
  stub[0x200] ^= 1;
  InstallerState state;
  const PackageHeader header = ReadPackage(built.Section(), state, machine, {});
  EXPECT_EQ(corruptCode([&] { CheckStub(stub, ReadPeLayout(stub), header, kAllChecks); }), 40);
  CheckStub(stub, ReadPeLayout(stub), header, 0);

  // The settings block: a changed byte either breaks the packing or the checksum.
  std::vector<std::uint8_t> section(built.Section().begin(), built.Section().end());
  const std::size_t settingsStart = ReadPackageHeader(section).archiveStart - header.SettingsSize;
  section[settingsStart + header.SettingsSize / 2] ^= 0x40;
  const int code = corruptCode([&] {
    InstallerState fresh;
    ReadPackage(section, fresh, machine, {});
  });
  EXPECT_TRUE(code == 25 || code == 47) << code;
}

}  // namespace
}  // namespace brennick
