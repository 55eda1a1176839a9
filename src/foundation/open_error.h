#pragma once

#include <cstdint>
#include <string_view>

#include "foundation/file_result.h"

namespace brennick {

// Windows error numbers that a failed open is mapped from. They are part of the
// Windows ABI, so the mapping lives in the portable core and is tested on the host.
namespace winerr {
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kTooManyOpenFiles = 4;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidDrive = 15;
constexpr std::uint32_t kNotReady = 21;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kBadNetPath = 53;
constexpr std::uint32_t kRemoteNotListening = 51;
constexpr std::uint32_t kNetNameDeleted = 64;
constexpr std::uint32_t kNetworkAccessDenied = 65;
constexpr std::uint32_t kBadNetName = 67;
constexpr std::uint32_t kFileExists = 80;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kInvalidName = 123;
constexpr std::uint32_t kBadPathName = 161;
constexpr std::uint32_t kNoNetwork = 1222;
}  // namespace winerr

// Facts about the failed open that the Windows error alone does not tell.
struct OpenFailureFacts {
  std::uint32_t windowsError = 0;
  // The path begins with a drive letter and colon, and that drive does not exist.
  bool driveMissing = false;
  // The caller asked for the read-only test and the file has the read-only attribute.
  bool readOnlyAttribute = false;
};

// Turns a failed open into the file layer's result code.
FileResult MapOpenFailure(const OpenFailureFacts& facts);

// The drive letter of a path that begins with "X:", or 0 when it does not.
char DriveLetterOf(std::string_view path);

}  // namespace brennick
