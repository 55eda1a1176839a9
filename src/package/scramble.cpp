#include "package/scramble.h"

#include <bit>
#include <cstring>

namespace brennick {

static_assert(std::endian::native == std::endian::little, "the key is laid over the bytes as a native word");

void Unscramble(std::span<std::uint8_t> buffer, std::uint32_t key) {
  const std::uint64_t pattern = (static_cast<std::uint64_t>(key) << 32) | key;
  std::uint8_t* p = buffer.data();
  std::size_t left = buffer.size();
  for (; left >= 8; left -= 8, p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    word ^= pattern;
    std::memcpy(p, &word, 8);
  }
  // Every 8-byte step keeps the key aligned, so the tail starts at key byte 0.
  for (std::size_t i = 0; i < left; ++i) p[i] ^= static_cast<std::uint8_t>(key >> (8 * (i % 4)));
}

}  // namespace brennick
