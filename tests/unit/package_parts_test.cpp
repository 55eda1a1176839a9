// The package header and the file item, each written down once as a field
// walk: the program's reader, the builder's writer and inspect's describer
// all follow it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "builder/basics/build_error.h"
#include "builder/package/file_item_writer.h"
#include "builder/package/package_writer.h"
#include "builder/report/package_report.h"
#include "fatal_capture.h"
#include "foundation/byte_store.h"
#include "package/corrupt_installer.h"
#include "package/file_record.h"
#include "package/package_checksum.h"
#include "package/package_header.h"
#include "package/package_layout.h"
#include "res/version.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;

PackageHeader Header() {
  PackageHeader h;
  h.Magic = package::kPackageMagic;
  h.Version = std::string(package::kPackageVersion);
  h.SettingsSize = 3;
  h.SettingsChecksum = 0x11111111;
  h.StubChecksum = 0x22222222;
  h.ArchiveEnd = 100;
  h.FileCount = 2;
  h.ArchiveSize = 10;
  h.ArchiveChecksum = 0x33;
  h.FileDataSizes = {5, 0};
  return h;
}

// The header and its settings block, the start of a package section.
std::vector<std::uint8_t> Section(std::vector<std::uint8_t> header) {
  header.insert(header.end(), 3, 0xAB);
  return header;
}

std::string Corrupt(int code) {
  return FatalMessageOf([&] { CorruptInstaller(code); });
}

TEST(PackageHeaderFields, TheProgramEndsAtTheFirstDamagedField) {
  const build::WrittenHeader written = build::WritePackageHeaderWithOffsets(Header());
  // Another version of the same length, stored over the first four letters.
  std::string other(package::kPackageVersion);
  other[0] ^= 1;
  std::uint32_t otherVersion = 0;
  for (int i = 3; i >= 0; --i) otherVersion = (otherVersion << 8) | static_cast<std::uint8_t>(other[i]);
  const std::string versionMessage = "The installer version (" BRENNICK_VERSION_TEXT
                                     ") does not match the version of " BRENNICK_FAMILY_NAME " (" +
                                     other + ").  Close all applications and reinstall " BRENNICK_FAMILY_NAME ".";
  struct Case {
    std::vector<std::pair<const char*, std::uint32_t>> patches;  // field, stored value
    std::string expected;
  };
  const Case cases[] = {
      {{{"PackageMagic", 0}}, Corrupt(20)},
      {{{"PackageVersion", otherVersion}}, versionMessage},
      {{{"SettingsSize", 0}}, Corrupt(22)},
      {{{"SettingsSize", 0x3200000}}, Corrupt(22)},
      {{{"SettingsSize", 4}}, Corrupt(50)},  // the settings block runs past the end
      {{{"ArchiveEnd", 0xFFFFFFFF}}, Corrupt(45)},
      {{{"FileCount", 0xFFFFFFFF}}, Corrupt(27)},
      {{{"ArchiveSize", 0xFFFFFFFF}}, Corrupt(29)},
      {{{"FileDataSizes", 0xFFFFFFFF}}, Corrupt(28)},
      {{{"FileDataSizes", 0x40000001}}, Corrupt(28)},
      // A count the section cannot hold ends before any size is read.
      {{{"FileDataSizes", 0xFFFFFFFF}, {"FileCount", 1000}}, Corrupt(50)},
      // Of several, the first in stored order.
      {{{"PackageVersion", otherVersion}, {"PackageMagic", 0}}, Corrupt(20)},
      {{{"SettingsSize", 0}, {"PackageVersion", otherVersion}}, versionMessage},
      {{{"ArchiveSize", 0xFFFFFFFF}, {"ArchiveEnd", 0xFFFFFFFF}}, Corrupt(45)},
      {{{"FileDataSizes", 0xFFFFFFFF}, {"FileCount", 0xFFFFFFFF}}, Corrupt(27)},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> section = Section(written.bytes);
    std::string fields;
    for (const auto& [field, value] : c.patches) {
      ASSERT_TRUE(StoreU32(section, written.offsets.at(field), value));
      fields += std::string(field) + " ";
    }
    EXPECT_EQ(FatalMessageOf([&] { ReadPackageHeader(section); }), c.expected) << fields;
  }

  // Every read is bounded: a section cut anywhere is code 50.
  const std::vector<std::uint8_t> whole = Section(written.bytes);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::span<const std::uint8_t> cut(whole.data(), size);
    EXPECT_EQ(FatalMessageOf([&] { ReadPackageHeader(cut); }), Corrupt(50)) << size;
  }
  const PackageParts parts = ReadPackageHeader(whole);
  EXPECT_EQ(parts.header, Header());
  EXPECT_EQ(parts.archiveStart, whole.size());
}

TEST(PackageHeaderFields, TheBuilderRefusesAHeaderTheProgramWouldNotRead) {
  const std::function<void(PackageHeader&)> damages[] = {
      [](PackageHeader& h) { h.Magic = 0; },
      [](PackageHeader& h) { h.Version = "27.0"; },
      [](PackageHeader& h) { h.SettingsSize = 0; },
      [](PackageHeader& h) { h.ArchiveSize = -1; },
      [](PackageHeader& h) { h.FileDataSizes[1] = package::kMaxFileDataSize + 1; },
      [](PackageHeader& h) { h.FileDataSizes.push_back(0); },  // three sizes for two files
  };
  EXPECT_NO_THROW(build::WritePackageHeader(Header()));
  for (std::size_t i = 0; i < std::size(damages); ++i) {
    PackageHeader h = Header();
    damages[i](h);
    EXPECT_THROW(build::WritePackageHeader(h), build::BuildError) << i;
  }
}

// A record with both stored-only-sometimes fields: the shortcut icon and the
// MSI level.
FileRecord Record() {
  FileRecord r;
  r.Name = "setup.msi";
  r.Kind = FileKind::kMsiPackage;
  r.FileFlags = 0x21;
  r.Stamp = {2026, 12, 10, 3, 4, 5};
  r.ShortcutIcon = "app.ico";
  r.MsiUiLevel = 3;
  return r;
}

const std::vector<std::uint8_t> kData = {'d', 'a', 't', 'a'};

TEST(FileItemFields, TheProgramEndsAtTheFirstDamagedField) {
  const std::vector<std::uint8_t> body = build::WriteFileItem(Record(), kData);
  const std::size_t dataAt = body.size() - 4 - kData.size();
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    std::int32_t dataSize;
    int code;
  };
  const Case cases[] = {
      {"empty name", [](auto& b) { b[0] = 0; }, 4, corrupt::kFileNameEmpty},
      {"size below 0", nullptr, -1, corrupt::kFileSizeNegative},
      {"size above 1 GiB", nullptr, package::kMaxFileDataSize + 1, corrupt::kFileSizeTooLarge},
      {"data changed", [&](auto& b) { b[dataAt] ^= 1; }, 4, corrupt::kFileChecksum},
      {"checksum changed", [](auto& b) { b.back() ^= 1; }, 4, corrupt::kFileChecksum},
      {"size beyond the body", nullptr, 5, corrupt::kPackageTruncated},
      {"empty name and size below 0", [](auto& b) { b[0] = 0; }, -1, corrupt::kFileNameEmpty},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> damaged = body;
    if (c.damage) c.damage(damaged);
    EXPECT_EQ(FatalMessageOf([&] { ReadFileItem(damaged, c.dataSize); }), Corrupt(c.code)) << c.what;
  }
  for (std::size_t size = 0; size < body.size(); ++size) {
    const std::span<const std::uint8_t> cut(body.data(), size);
    EXPECT_EQ(FatalMessageOf([&] { ReadFileItem(cut, 4); }), Corrupt(50)) << size;
  }
}

TEST(FileItemFields, TheBuilderRefusesARecordTheProgramWouldNotRead) {
  FileRecord unnamed = Record();
  unnamed.Name.clear();
  FileRecord zeroByte = Record();
  zeroByte.WorkingDir = std::string("C:\\a\0b", 6);
  for (const FileRecord& r : {unnamed, zeroByte}) {
    EXPECT_THROW(build::WriteFileItem(r, kData), build::BuildError) << r.Name;
  }
}

std::vector<std::string> Texts(const build::JsonValue& value) {
  std::vector<std::string> texts;
  for (const build::JsonValue& item : value.items()) texts.push_back(item.text());
  return texts;
}

TEST(PackagePartsReport, InspectShowsTheStoredFieldsUnderTheirNames) {
  const std::vector<std::uint8_t> section = Section(build::WritePackageHeader(Header()));
  const build::JsonValue header = build::DescribePackageHeader(ReadPackageHeader(section));
  EXPECT_EQ(header.keys(), (std::vector<std::string>{"PackageMagic", "PackageVersion", "SettingsSize",
                                                     "SettingsChecksum", "StubChecksum", "ArchiveStart", "ArchiveEnd",
                                                     "FileCount", "ArchiveSize", "ArchiveChecksum"}));
  EXPECT_EQ(Texts(header), (std::vector<std::string>{"0xA4F23DE5", "27.0.5", "3", "0x11111111", "0x22222222",
                                                     std::to_string(section.size()), "100", "2", "10", "0x00000033"}));

  FileRecord plain;
  plain.Name = "readme.txt";
  const std::pair<FileRecord, std::vector<std::string>> files[] = {
      {Record(),
       {"Name", "FileKind", "FileFlags", "Attributes", "FileStamp", "Label", "ShortcutIcon", "Arguments",
        "TargetOverride", "WorkingDir", "MsiUiLevel", "Size", "Checksum"}},
      {plain,
       {"Name", "FileKind", "FileFlags", "Attributes", "FileStamp", "Label", "Arguments", "TargetOverride",
        "WorkingDir", "Size", "Checksum"}},
  };
  const auto describe = [](const FileRecord& r) {
    return build::DescribeFileItem(ReadFileItem(build::WriteFileItem(r, kData), 4));
  };
  for (const auto& [record, keys] : files) EXPECT_EQ(describe(record).keys(), keys) << record.Name;
  char checksum[16];
  std::snprintf(checksum, sizeof checksum, "0x%08X", PackageChecksum(kData));
  const build::JsonValue file = describe(Record());
  EXPECT_EQ(Texts(file), (std::vector<std::string>{"setup.msi", "11", "0x00000021", "-1", "", "", "app.ico", "", "", "",
                                                   "3", "4", checksum}));
  EXPECT_EQ(Texts(file.items()[4]), (std::vector<std::string>{"2026", "12", "10", "3", "4", "5"}));
}

}  // namespace
}  // namespace brennick
