#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace brennick {

// Bounds-checked little-endian writes, the counterpart of byte_view.h: a write
// that does not fit changes nothing and gives false.
inline bool StoreU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return false;
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
  return true;
}

inline bool StoreU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return false;
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  return true;
}

}  // namespace brennick
