#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/file_result.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/win_result.h"

namespace brennick::win {

enum class FileAccess {
  Read,          // existing file, shared for reading
  ReadWrite,     // existing file, exclusive
  CreateAlways,  // new or truncated file, exclusive
};

struct FileOpenOptions {
  // A sharing violation is retried (six tries, 100 ms apart) unless this is off.
  bool retryWhenLocked = true;
  // Report ReadOnly instead of AccessDenied for a file with that attribute.
  bool testReadOnly = false;
};

// Bytes read from a file, with the outcome of the read.
struct FileRead {
  WinResult<FileResult> result;
  std::vector<std::uint8_t> bytes;
};

// A file opened through the file layer: failures become FileResult codes
// (with the Windows error kept beside them) and the message of the last
// failure stays with the object.
class File {
 public:
  WinResult<FileResult> Open(const std::string& path, FileAccess access, FileOpenOptions options = {});

  bool IsOpen() const { return handle_.valid(); }
  void Close() { handle_.reset(); }

  // Size in bytes, or -1 when Windows cannot tell.
  std::int64_t Size() const;

  // Reads up to `count` bytes at `offset`. Fewer bytes with a good result
  // mean the end of the file; a failed seek or read gives ReadFailed with
  // its Windows error, and the bytes that came before it.
  FileRead ReadAt(std::uint64_t offset, std::size_t count);

  // Sets the position for the next sequential operation.
  bool Seek(std::uint64_t offset);

  HANDLE get() const { return handle_.get(); }
  const std::string& LastFailureMessage() const { return lastFailure_; }

 private:
  WinResult<FileResult> Fail(FileResult result, std::uint32_t windowsError);

  ScopedKernelHandle handle_;
  std::string lastFailure_;
};

}  // namespace brennick::win
