#pragma once

#include <cstdint>
#include <vector>

namespace brennick::build {

// Appends bits to a byte vector in the packed block's order: the first bit
// goes to bit 0 of a byte, and a field's least significant bit comes first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  // Appends the low `count` bits of `value`; count is at most 32.
  void Write(std::uint64_t value, unsigned count) {
    pending_ |= (value & ((std::uint64_t{1} << count) - 1)) << pendingBits_;
    pendingBits_ += count;
    while (pendingBits_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(pending_));
      pending_ >>= 8;
      pendingBits_ -= 8;
    }
  }

  // Appends `count` 1 bits.
  void WriteOnes(std::uint64_t count) {
    for (; count >= 32; count -= 32) Write(0xFFFFFFFF, 32);
    Write((std::uint64_t{1} << count) - 1, static_cast<unsigned>(count));
  }

  // Pads the last byte with 0 bits.
  void Flush() {
    if (pendingBits_ > 0) out_.push_back(static_cast<std::uint8_t>(pending_));
    pending_ = 0;
    pendingBits_ = 0;
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint64_t pending_ = 0;
  unsigned pendingBits_ = 0;  // below 8 between calls
};

}  // namespace brennick::build
