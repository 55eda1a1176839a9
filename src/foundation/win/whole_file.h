#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/file_result.h"
#include "foundation/win/win_result.h"

namespace brennick::win {

// A whole file read into memory, with the file layer's outcome.
struct WholeFile {
  WinResult<FileResult> result;
  std::string bytes;
};
WholeFile ReadWholeFile(const std::string& path);

// Writes `bytes` as the whole content of `path` (created or truncated).
// Returns the Windows error of the first failing call, 0 on success.
std::uint32_t WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes `bytes` into a new file of a fresh name in the same folder and moves
// it over `path`: a failed write leaves the old file whole, and a link
// planted under the name is replaced, never written through. Returns the
// Windows error of the first failing call, 0 on success.
std::uint32_t ReplaceWholeFile(const std::string& path, std::string_view bytes);

}  // namespace brennick::win
