#include "engine/overwrite_rules.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

// An existing file described by a test case; counts what was asked.
class FakeExisting final : public ExistingFile {
 public:
  bool exists = false;
  std::optional<FileStamp> lastWrite;
  std::string version;
  int versionReads = 0;
  bool Exists() override { return exists; }
  std::optional<FileStamp> LastWrite() override { return lastWrite; }
  std::string Version() override {
    ++versionReads;
    return version;
  }
};

constexpr FileStamp kMay2024{2024, 5, 7, 14, 3, 9};
constexpr FileStamp kJune2024{2024, 6, 1, 8, 0, 0};
constexpr FileStamp kNoDate{0, 0, 0, -1, 0, 0};
constexpr FileStamp kMay2024NoTime{2024, 5, 7, -1, 0, 0};

FileRecord Record(std::int32_t kind, int mode, FileStamp stamp, std::string label = {}, std::int32_t extraFlags = 0) {
  FileRecord r;
  r.Name = "app.dll";
  r.Kind = static_cast<FileKind>(kind);
  r.FileFlags = (mode << 2) | extraFlags;
  r.Stamp = stamp;
  r.Label = std::move(label);
  return r;
}

struct Case {
  const char* name;
  FileRecord record;
  bool exists;
  std::optional<FileStamp> lastWrite;
  std::string version;
  bool write;
  bool recorded;
  bool existedBefore;
  std::string log;  // after the destination "D"
};

TEST(OverwriteRules, DecideEachRuleInOrder) {
  const Case cases[] = {
      {"mode 1 never writes, silently", Record(0, 1, kMay2024), false, {}, "", false, false, false, ""},
      {"mode 2 without a file", Record(0, 2, kMay2024), false, {}, "", false, false, false,
       "D was not installed because it does not already exist.\r\n"},
      {"mode 2 with a file", Record(0, 2, kMay2024), true, kJune2024, "", true, false, false, ""},
      {"mode 3 over a file is recorded", Record(0, 3, kMay2024), true, kMay2024, "", false, true, false,
       "D was not installed because it already exists.\r\n"},
      {"mode 3 over a file, permanent", Record(0, 3, kMay2024, "", 1 << 5), true, {}, "", false, false, false,
       "D was not installed because it already exists.\r\n"},
      {"mode 3 of a system file is not recorded", Record(6, 3, kMay2024), true, {}, "", false, false, false,
       "D was not installed because it already exists.\r\n"},
      {"mode 3 without a file", Record(0, 3, kMay2024), false, {}, "", true, false, false, ""},
      {"mode 4, existing newer", Record(0, 4, kMay2024), true, kJune2024, "", false, true, false,
       "D was not installed because the existing file is newer.\r\n"},
      {"mode 4, existing older", Record(0, 4, kJune2024), true, kMay2024, "", true, false, false, ""},
      {"mode 4, packaged without date", Record(0, 4, kNoDate), true, kJune2024, "", true, false, false, ""},
      {"shared file with the same time", Record(1, 0, kMay2024), true, kMay2024, "", false, false, false,
       "D is up to date.\r\n"},
      {"shared file, existing older", Record(1, 0, kJune2024), true, kMay2024, "", true, false, true,
       "D is out of date and will be replaced.\r\n"},
      {"font without time of day always replaces", Record(4, 0, kMay2024NoTime), true, kJune2024, "", true, false, true,
       "D is out of date and will be replaced.\r\n"},
      {"shared file, nothing there", Record(1, 0, kMay2024), false, {}, "", true, false, false, ""},
      {"2.0 is not newer than 2.0.0.0", Record(6, 0, kJune2024, "2.0"), true, kMay2024, "2.0.0.0", false, false, false,
       "D was not installed because its version (2.0) is not newer than 2.0.0.0\r\n"},
      {"versioned program file not newer is recorded", Record(9, 0, kJune2024, "1.0"), true, kMay2024, "1.0", false,
       true, false, "D was not installed because its version (1.0) is not newer than 1.0\r\n"},
      {"newer version but older date", Record(6, 0, kMay2024, "3.0"), true, kJune2024, "2.0", false, false, false,
       "D was not installed because its date (2024/5/07 14:03:09) is not newer than 2024/6/01 8:00:00.\r\n"},
      {"newer version and newer date", Record(7, 0, kJune2024, "3.0"), true, kMay2024, "2.0", true, false, true,
       "D needs replacement because its version (3.0) is newer than 2.0 and its date (2024/6/01 8:00:00) is newer "
       "than 2024/5/07 14:03:09\r\n"},
      {"no version resource: date alone", Record(8, 0, kJune2024, "3.0"), true, kMay2024, "", true, false, true,
       "D needs replacement because its date (2024/6/01 8:00:00) is newer than 2024/5/07 14:03:09\r\n"},
      {"neither version nor date readable", Record(6, 0, kJune2024, "3.0"), true, std::nullopt, "", true, false, true,
       "D is out of date and will be replaced.\r\n"},
      {"program files are always written", Record(0, 0, kMay2024), true, kJune2024, "", true, false, false, ""},
  };
  for (const Case& c : cases) {
    FakeExisting existing;
    existing.exists = c.exists;
    existing.lastWrite = c.lastWrite;
    existing.version = c.version;
    const OverwriteVerdict v = JudgeOverwrite(c.record, "D", existing);
    EXPECT_EQ(v.write, c.write) << c.name;
    EXPECT_EQ(v.recordForUninstall, c.recorded) << c.name;
    EXPECT_EQ(v.existedBefore, c.existedBefore) << c.name;
    EXPECT_EQ(v.logText, c.log) << c.name;
  }
}

TEST(OverwriteRules, VersionIsReadOnlyWhenALabelAsksForIt) {
  FakeExisting existing;
  existing.exists = true;
  existing.lastWrite = kMay2024;
  JudgeOverwrite(Record(6, 0, kJune2024), "D", existing);
  JudgeOverwrite(Record(0, 0, kJune2024, "1.0"), "D", existing);
  EXPECT_EQ(existing.versionReads, 0);
}

}  // namespace
}  // namespace brennick
