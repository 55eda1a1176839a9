#pragma once

#include <cstdint>
#include <span>

namespace brennick {

// The settings block's scrambling: byte i is combined by exclusive or with
// byte (i mod 4) of `key` in little-endian order. Applying it twice restores
// the buffer, so the builder scrambles with the same call.
void Unscramble(std::span<std::uint8_t> buffer, std::uint32_t key);

}  // namespace brennick
