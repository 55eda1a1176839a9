#include "foundation/file_result.h"

#include <gtest/gtest.h>

#include "foundation/open_error.h"

namespace brennick {
namespace {

TEST(FileResultMessage, FixedTextsAndUnknownCodes) {
  EXPECT_EQ(FileResultMessage(0), "Success.");
  EXPECT_EQ(FileResultMessage(FileResult::Locked), "The file is locked by another application.");
  EXPECT_EQ(FileResultMessage(FileResult::ReadOnly), "The file's Read-Only attribute is set.");
  EXPECT_EQ(FileResultMessage(FileResult::DeviceNotReady),
            "The device is not ready (usually because no disk is inserted).");
  EXPECT_EQ(FileResultMessage(21), "The drive does not exist.");
  for (int code : {1, 22, -1, 1000}) EXPECT_EQ(FileResultMessage(code), "An unknown error occurred.") << code;
}

TEST(MapOpenFailure, WindowsErrorsToResults) {
  struct Case {
    std::uint32_t error;
    bool driveMissing;
    bool readOnly;
    FileResult expected;
  };
  const Case cases[] = {
      {2, false, false, FileResult::FileNotFound},
      {3, false, false, FileResult::DirectoryNotFound},
      {3, true, false, FileResult::DriveNotFound},
      {15, false, false, FileResult::DriveNotFound},
      {4, false, false, FileResult::TooManyOpenFiles},
      {5, false, false, FileResult::AccessDenied},
      {5, false, true, FileResult::ReadOnly},
      {21, false, false, FileResult::DeviceNotReady},
      {32, false, false, FileResult::Locked},
      {51, false, false, FileResult::BadNetworkPath},
      {53, false, false, FileResult::BadNetworkPath},
      {64, false, false, FileResult::BadNetworkPath},
      {65, false, false, FileResult::BadNetworkPath},
      {67, false, false, FileResult::BadNetworkPath},
      {161, false, false, FileResult::BadNetworkPath},
      {1222, false, false, FileResult::BadNetworkPath},
      {80, false, false, FileResult::AlreadyExists},
      {87, false, false, FileResult::InvalidParameter},
      {123, false, false, FileResult::InvalidName},
      {0, false, false, FileResult::UnknownError},
      {1450, false, false, FileResult::UnknownError},
      // The read-only test only turns access denied into ReadOnly.
      {2, false, true, FileResult::FileNotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MapOpenFailure({c.error, c.driveMissing, c.readOnly}), c.expected) << "error " << c.error;
  }
}

TEST(DriveLetterOf, OnlyALetterAndColon) {
  EXPECT_EQ(DriveLetterOf("q:\\x"), 'Q');
  EXPECT_EQ(DriveLetterOf("C:"), 'C');
  EXPECT_EQ(DriveLetterOf("\\\\server\\share"), 0);
  EXPECT_EQ(DriveLetterOf("1:\\x"), 0);
  EXPECT_EQ(DriveLetterOf("x"), 0);
}

}  // namespace
}  // namespace brennick
