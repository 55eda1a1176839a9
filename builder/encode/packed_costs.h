#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

namespace brennick::build {

// The variable-length numbers of the packed block, V(w, s): k prefix 1 bits,
// a 0 bit, then min(w + k*s, 32) raw bits. The encoder always takes the
// shortest prefix that holds the value.
struct NumberCode {
  unsigned prefix;  // k
  unsigned raw;     // width of the raw field
  constexpr unsigned Bits() const { return prefix + 1 + raw; }
};

constexpr NumberCode CodeFor(std::uint32_t value, unsigned width, unsigned step) {
  const unsigned needed = static_cast<unsigned>(std::bit_width(value));
  const unsigned prefix = needed > width ? (needed - width + step - 1) / step : 0;
  return NumberCode{prefix, std::min(width + prefix * step, 32u)};
}

// The shortest operations, and the longest that one operation can hold:
// every V field takes up to 32 raw bits, so one operation covers more than
// the 2^31 - 1 bytes that a whole block may decode to.
constexpr std::uint32_t kMinFill = 3;
constexpr std::uint32_t kMinCopy = 4;
constexpr std::uint32_t kMinDistance = 4;

// Whole operations, in bits.
constexpr unsigned LiteralRunBits(std::uint32_t count) { return 1 + CodeFor(count - 1, 2, 2).Bits() + 8 * count; }
constexpr unsigned FillBits(std::uint32_t count) { return 2 + 8 + CodeFor(count - kMinFill, 1, 1).Bits(); }
constexpr unsigned CopyLengthBits(std::uint32_t count) { return CodeFor(count - kMinCopy, 2, 1).Bits(); }
constexpr unsigned CopyDistanceBits(std::uint32_t distance) { return CodeFor(distance - kMinDistance, 12, 2).Bits(); }
constexpr unsigned CopyBits(std::uint32_t count, std::uint32_t distance) {
  return 2 + CopyLengthBits(count) + CopyDistanceBits(distance);
}

static_assert(CopyBits(4, 4099) == 18 && CopyBits(4, 4100) == 21);
static_assert(FillBits(3) == 12 && FillBits(5) == 14);
static_assert(LiteralRunBits(4) == 36 && LiteralRunBits(5) == 47);

}  // namespace brennick::build
