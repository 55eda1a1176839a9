#pragma once

#include <cstdint>
#include <span>

namespace brennick {

// The additive checksum that guards every part of the setup package (the
// stub, the settings block, the archive, its chunks and each file's data):
// the seed, plus every whole little-endian 32-bit word, plus each of the 1 to
// 3 trailing bytes as a signed 8-bit value, plus the length, modulo 2^32.
// An empty range gives the bare seed, without the length added.
std::uint32_t PackageChecksum(std::span<const std::uint8_t> bytes);

}  // namespace brennick
