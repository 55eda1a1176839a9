#include "run/win/file_times.h"

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace brennick::win {
namespace {

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  const SYSTEMTIME system = {year, month, 0, day, hour, minute, second, 0};
  FILETIME time;
  ::SystemTimeToFileTime(&system, &time);
  return time;
}

bool operator==(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

struct Times {
  FILETIME created;
  FILETIME written;
};

Times TimesOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return {data.ftCreationTime, data.ftLastWriteTime};
}

// Stamps are UTC: the file times are the stamp unchanged, whatever the
// machine's time zone, and read back the same way.
TEST(FileTimes, StampSetsCreationAndWriteTimeInUtc) {
  const testing::ScratchFolder folder("file times");
  const std::string file = folder.Write("dated.txt", "x");
  ASSERT_TRUE(SetFileStampTimes(file, FileStamp{2009, 7, 30, 23, 45, 59}));
  const Times times = TimesOf(file);
  EXPECT_TRUE(times.created == Utc(2009, 7, 30, 23, 45, 59));
  EXPECT_TRUE(times.written == Utc(2009, 7, 30, 23, 45, 59));
  EXPECT_EQ(ReadLastWriteStamp(file), (FileStamp{2009, 7, 30, 23, 45, 59}));
  EXPECT_EQ(ReadLastWriteStamp(folder.path() + "\\missing.txt"), std::nullopt);
}

TEST(FileTimes, IncompleteOrImpossibleStampsChangeNothing) {
  const testing::ScratchFolder folder("file times");
  const std::string file = folder.Write("dated.txt", "x");
  ASSERT_TRUE(SetFileStampTimes(file, FileStamp{2009, 7, 30, 12, 0, 0}));
  for (const FileStamp& stamp : {FileStamp{2009, 7, 30, -1, 0, 0}, FileStamp{0, 0, 0, 12, 0, 0},
                                 FileStamp{2009, 13, 1, 12, 0, 0}, FileStamp{2009, 7, 30, 25, 0, 0}}) {
    EXPECT_FALSE(SetFileStampTimes(file, stamp)) << ::testing::PrintToString(stamp);
  }
  EXPECT_EQ(ReadLastWriteStamp(file), (FileStamp{2009, 7, 30, 12, 0, 0}));
}

}  // namespace
}  // namespace brennick::win
