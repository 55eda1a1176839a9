#pragma once

#include <string_view>

namespace brennick {

// What the file layer reports instead of a raw Windows error. The numbers are
// part of the messages that quote them ("Error #%d: %s"), so they never change.
enum class FileResult : int {
  Success = 0,
  UnknownError = 1,
  InvalidName = 2,
  FileNotFound = 3,
  DirectoryNotFound = 4,
  Locked = 5,
  ReadFailed = 6,
  WriteFailed = 7,
  TooManyOpenFiles = 8,
  InvalidParameter = 9,
  AlreadyExists = 10,
  TooManyIndexedFiles = 11,
  AccessDenied = 12,
  ReadOnly = 13,
  Corrupted = 14,
  DeletionFailed = 15,
  TooLarge = 16,
  Aborted = 17,
  CreateDirectoryFailed = 18,
  BadNetworkPath = 19,
  DeviceNotReady = 20,
  DriveNotFound = 21,
};

// The fixed message of a result code; any number outside the table reads as
// an unknown error. Takes an int because messages quote codes that come from
// anywhere, including codes this build does not know.
std::string_view FileResultMessage(int code);

inline std::string_view FileResultMessage(FileResult result) {
  return FileResultMessage(static_cast<int>(result));
}

}  // namespace brennick
