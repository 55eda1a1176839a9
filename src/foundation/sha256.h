#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace brennick {

// SHA-256 (FIPS 180-4) of a byte string.
std::array<std::uint8_t, 32> Sha256(std::string_view bytes);

// The same as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace brennick
