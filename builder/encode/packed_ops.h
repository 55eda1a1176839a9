#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brennick::build {

// One operation of a packed block's bit stream, as a parse chooses it.
struct PackedOp {
  enum class Kind : std::uint8_t { Literals, Fill, Copy };
  Kind kind = Kind::Literals;
  std::uint32_t length = 0;    // bytes the operation appends
  std::uint32_t distance = 0;  // Copy: how far back the source starts
};

// Writes the whole packed block for `input` as parsed into `ops`: magic,
// DecodedSize, then the bit stream. Literal runs take their bytes, and fills
// their byte, from `input` at the operation's position.
std::vector<std::uint8_t> WritePackedBlock(std::span<const std::uint8_t> input, std::span<const PackedOp> ops);

// Appends a literal run of `count` bytes to `ops`, merged into a literal run
// that ends the list, so a parse can hand over literals one at a time.
void AddLiterals(std::vector<PackedOp>& ops, std::uint32_t count);

}  // namespace brennick::build
