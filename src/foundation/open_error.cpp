#include "foundation/open_error.h"

namespace brennick {

FileResult MapOpenFailure(const OpenFailureFacts& facts) {
  switch (facts.windowsError) {
    case winerr::kFileNotFound:
      return FileResult::FileNotFound;
    case winerr::kPathNotFound:
      return facts.driveMissing ? FileResult::DriveNotFound : FileResult::DirectoryNotFound;
    case winerr::kInvalidDrive:
      return FileResult::DriveNotFound;
    case winerr::kTooManyOpenFiles:
      return FileResult::TooManyOpenFiles;
    case winerr::kAccessDenied:
      return facts.readOnlyAttribute ? FileResult::ReadOnly : FileResult::AccessDenied;
    case winerr::kNotReady:
      return FileResult::DeviceNotReady;
    case winerr::kSharingViolation:
      return FileResult::Locked;
    case winerr::kRemoteNotListening:
    case winerr::kBadNetPath:
    case winerr::kNetNameDeleted:
    case winerr::kNetworkAccessDenied:
    case winerr::kBadNetName:
    case winerr::kNoNetwork:
    case winerr::kBadPathName:
      return FileResult::BadNetworkPath;
    case winerr::kFileExists:
      return FileResult::AlreadyExists;
    case winerr::kInvalidParameter:
      return FileResult::InvalidParameter;
    case winerr::kInvalidName:
      return FileResult::InvalidName;
    default:
      return FileResult::UnknownError;
  }
}

char DriveLetterOf(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return 0;
  const char c = path[0];
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return c;
  return 0;
}

}  // namespace brennick
