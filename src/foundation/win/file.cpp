#include "foundation/win/file.h"

#include <algorithm>

#include "foundation/open_error.h"
#include "foundation/path_text.h"
#include "foundation/win/file_io.h"
#include "foundation/win/file_system.h"
#include "foundation/win/path_text_win.h"

namespace brennick::win {

namespace {

constexpr int kOpenTries = 6;
constexpr DWORD kLockedRetryPauseMs = 100;

struct AccessFlags {
  DWORD desired;
  DWORD share;
  DWORD disposition;
};

AccessFlags FlagsFor(FileAccess access) {
  switch (access) {
    case FileAccess::ReadWrite:
      return {GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING};
    case FileAccess::CreateAlways:
      return {GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS};
    case FileAccess::Read:
      break;
  }
  return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
}

bool DriveMissing(const std::string& path) {
  const char drive = DriveLetterOf(PathBody(path));
  return drive != 0 && !DriveExists(drive);
}

bool HasReadOnlyAttribute(const std::wstring& widePath) {
  const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

WinResult<FileResult> File::Fail(FileResult result, std::uint32_t windowsError) {
  lastFailure_ = std::string(FileResultMessage(result));
  return {result, windowsError};
}

WinResult<FileResult> File::Open(const std::string& path, FileAccess access, FileOpenOptions options) {
  handle_.reset();
  if (path.empty() || PathBody(path).empty()) return Fail(FileResult::InvalidName, 0);

  const std::wstring widePath = WidePath(path);
  const AccessFlags flags = FlagsFor(access);
  DWORD error = 0;
  for (int attempt = 1; attempt <= kOpenTries; ++attempt) {
    if (attempt > 1) ::Sleep(kLockedRetryPauseMs);
    handle_.reset(::CreateFileW(widePath.c_str(), flags.desired, flags.share, nullptr, flags.disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle_.valid()) {
      lastFailure_.clear();
      return {FileResult::Success, 0};
    }
    error = ::GetLastError();
    if (error != ERROR_SHARING_VIOLATION || !options.retryWhenLocked) break;
  }

  OpenFailureFacts facts;
  facts.windowsError = error;
  facts.driveMissing = error == ERROR_PATH_NOT_FOUND && DriveMissing(path);
  facts.readOnlyAttribute = error == ERROR_ACCESS_DENIED && options.testReadOnly && HasReadOnlyAttribute(widePath);
  return Fail(MapOpenFailure(facts), error);
}

std::int64_t File::Size() const {
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(handle_.get(), &size)) return -1;
  return size.QuadPart;
}

bool File::Seek(std::uint64_t offset) {
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return ::SetFilePointerEx(handle_.get(), distance, nullptr, FILE_BEGIN) != 0;
}

FileRead File::ReadAt(std::uint64_t offset, std::size_t count) {
  FileRead read;
  if (!Seek(offset)) {
    read.result = Fail(FileResult::ReadFailed, ::GetLastError());
    return read;
  }
  read.bytes.resize(count);
  std::size_t got = 0;
  if (const std::uint32_t error = ReadAll(handle_.get(), read.bytes, got); error != 0) {
    read.result = Fail(FileResult::ReadFailed, error);
  }
  read.bytes.resize(got);
  return read;
}

}  // namespace brennick::win
