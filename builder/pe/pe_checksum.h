#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace brennick::build {

// The PE checksum (the optional header's CheckSum field) as Windows computes
// it: the file summed as 16-bit little-endian words, each carry folded back
// in, the four bytes at `checksumOffset` counted as zero, plus the length of
// the file.
std::uint32_t PeChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset);

// Computes the checksum of a program whose headers ReadPeHeaders accepts and
// stores it in its CheckSum field. Throws BuildError for anything else.
void StorePeChecksum(std::span<std::uint8_t> file);

}  // namespace brennick::build
