#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace brennick {

// Bounds-checked little-endian reads over a byte span: a read that does not
// fit gives nothing, never bytes from outside the span.
inline std::optional<std::uint16_t> ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) return std::nullopt;
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline std::optional<std::uint32_t> ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace brennick
