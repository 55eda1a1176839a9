#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brennick::build {

// Effort levels of the encoder: 1 to 3 take the best operation at each
// position (hash chains of growing depth), 4 to 6 look one byte ahead first,
// 7 to 9 search for the smallest parse. Higher levels never change the
// format, only how long encoding takes and how small the block gets.
constexpr int kFastestLevel = 1;
constexpr int kDefaultLevel = 6;
constexpr int kSmallestLevel = 9;

// A packed block that decodes to exactly `input`. The same input and level
// always give the same bytes. Levels outside 1 to 9 are clamped. An input
// longer than a block can declare (2^31 - 1 bytes) is refused with BuildError.
std::vector<std::uint8_t> EncodePackedBlock(std::span<const std::uint8_t> input, int level);

}  // namespace brennick::build
