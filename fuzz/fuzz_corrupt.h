#pragma once

// The fuzz targets link the codec without the program's fatal path:
// fuzz_corrupt.cpp defines CorruptInstaller to throw the code instead, so that
// a damaged package is an ordinary outcome and only a crash, an abort or a
// sanitizer report is a finding.

#include <cstdint>
#include <cstring>

namespace brennick::fuzz {

struct Corrupt {
  int code;
};

inline std::uint32_t Get32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// Keeps a packed block's DecodedSize within `limit` (a power of 2), so that a
// few bytes cannot ask for gigabytes; a negative size stays negative.
inline void LimitDecodedSize(std::uint8_t* block, std::uint32_t limit) {
  const std::uint32_t size = Get32(block + 4);
  if (static_cast<std::int32_t>(size) > static_cast<std::int32_t>(limit)) Put32(block + 4, size & (limit - 1));
}

}  // namespace brennick::fuzz
