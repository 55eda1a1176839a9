#include "run/deletion_condition.h"

#include <gtest/gtest.h>

#include "fatal_capture.h"
#include "package/corrupt_installer.h"

namespace brennick {
namespace {

constexpr std::uint8_t kDateEqual = 1, kOlderThan = 2, kNewerThan = 3;
constexpr std::uint8_t kSizeEqual = 4, kSizeAtLeast = 5, kSizeAtMost = 6;

FileFacts FileOfSize(std::uint64_t size) {
  FileFacts file;
  file.size = size;
  file.modified = {2024, 3, 15, 12, 30, 0};
  return file;
}

FileFacts FileChangedAt(DateTime when) {
  FileFacts file;
  file.modified = when;
  return file;
}

std::string CorruptMessage(int code) {
  return testing::FatalMessageOf([code] { CorruptInstaller(code); });
}

TEST(DeletionConditionHolds, SizeConditions) {
  struct Case {
    std::uint8_t type;
    const char* value;
    std::uint64_t size;
    bool holds;
  };
  const Case cases[] = {
      {kSizeAtLeast, "1000", 1000, true},
      {kSizeAtLeast, "1000", 999, false},
      {kSizeAtMost, "1000", 1001, false},
      {kSizeAtMost, "1000", 1000, true},
      {kSizeEqual, "1000", 1000, true},
      {kSizeEqual, "1000", 1001, false},
      // Beyond 32 bits.
      {kSizeEqual, "5000000000", 5000000000ull, true},
      {kSizeAtLeast, "5000000000", 4999999999ull, false},
      // Read like strtoull: leading blanks, digits up to the first other character.
      {kSizeEqual, " 12kB", 12, true},
      // No digits: 0.
      {kSizeEqual, "big", 0, true},
      {kSizeAtMost, "", 1, false},
      {kSizeAtMost, "-5", 0, true},
      {kSizeAtMost, "-5", 1, false},
      // Too large for 64 bits: the largest number.
      {kSizeAtMost, "99999999999999999999999", UINT64_MAX, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeletionConditionHolds(c.type, c.value, FileOfSize(c.size)), c.holds)
        << int(c.type) << " " << c.value << " " << c.size;
  }
}

TEST(DeletionConditionHolds, OtherTypesDeleteAlways) {
  for (std::uint8_t type : {0, 7, 100, 127, 128, 255}) {
    EXPECT_TRUE(DeletionConditionHolds(type, "not a date", FileOfSize(1))) << int(type);
  }
}

TEST(DeletionConditionHolds, DateConditions) {
  const DateTime noon = {2024, 3, 15, 12, 30, 0};
  struct Case {
    const char* value;
    DateTime modified;
    bool equal, older, newer;
  };
  const Case cases[] = {
      // Date only: the time of day of the file does not count.
      {"2024-03-15", noon, true, false, false},
      {"2024-03-15", {2024, 3, 15, 0, 0, 0}, true, false, false},
      {"2024-03-15", {2024, 3, 14, 23, 59, 59}, false, true, false},
      {"2024-03-15", {2024, 3, 16, 0, 0, 0}, false, false, true},
      {"2024-03-15", {2023, 12, 31, 0, 0, 0}, false, true, false},
      {"2024-3-5", {2024, 3, 5, 9, 0, 0}, true, false, false},
      // With a time of day.
      {"2024-03-15 12:30:00", noon, true, false, false},
      {"2024-03-15 12:30:01", noon, false, true, false},
      {"2024-03-15 12:29:59", noon, false, false, true},
      {"2024-03-15 08:00:00", {2024, 3, 16, 7, 0, 0}, false, false, true},
      // An invalid time of day: only the dates count.
      {"2024-03-15 25:00:00", noon, true, false, false},
      {"2024-03-15 12:60:00", {2024, 3, 15, 0, 0, 0}, true, false, false},
      {"2024-03-15 noon", {2024, 3, 14, 23, 0, 0}, false, true, false},
      // Leap day.
      {"2024-02-29", {2024, 2, 29, 1, 2, 3}, true, false, false},
  };
  for (const Case& c : cases) {
    const FileFacts file = FileChangedAt(c.modified);
    EXPECT_EQ(DeletionConditionHolds(kDateEqual, c.value, file), c.equal) << c.value;
    EXPECT_EQ(DeletionConditionHolds(kOlderThan, c.value, file), c.older) << c.value;
    EXPECT_EQ(DeletionConditionHolds(kNewerThan, c.value, file), c.newer) << c.value;
  }
}

TEST(DeletionConditionHolds, AnInvalidDateIsADamagedPackage) {
  const char* values[] = {"",           "yesterday",   "2024-02-30", "2023-02-29",  "2024-13-01",
                          "2024-00-10", "2024-01-00",  "24-01-01",   "2024/01/01", "2024-01-01x",
                          "2024-01",    "12:00:00",    "2024-01-123"};
  for (const char* value : values) {
    for (std::uint8_t type : {kDateEqual, kOlderThan, kNewerThan}) {
      EXPECT_EQ(testing::FatalMessageOf([&] { DeletionConditionHolds(type, value, FileOfSize(0)); }),
                CorruptMessage(65))
          << value << " type " << int(type);
    }
  }
  // A size condition does not read the value as a date.
  EXPECT_EQ(testing::FatalMessageOf([] { DeletionConditionHolds(kSizeEqual, "2024-02-30", FileOfSize(2024)); }),
            "(no fatal message)");
}

}  // namespace
}  // namespace brennick
