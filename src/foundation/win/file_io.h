#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "foundation/win/win.h"

namespace brennick::win {

// Sequential reads and writes over an open file, in pieces the system takes.
// Each returns the Windows error of the call that failed, taken right
// there, or 0.

// Writes every byte at the file's position; a write that takes nothing
// fails with ERROR_WRITE_FAULT.
std::uint32_t WriteAll(HANDLE file, std::span<const std::uint8_t> bytes);
std::uint32_t WriteAll(HANDLE file, std::string_view bytes);

// Reads up to `bytes.size()` bytes from the file's position into `bytes`;
// `got` says how many came, fewer only at the end of the file.
std::uint32_t ReadAll(HANDLE file, std::span<std::uint8_t> bytes, std::size_t& got);

}  // namespace brennick::win
