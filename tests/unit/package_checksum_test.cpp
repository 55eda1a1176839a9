#include "package/package_checksum.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

namespace brennick {
namespace {

std::uint32_t ChecksumOf(std::string_view text) {
  return PackageChecksum(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(PackageChecksum, KnownValues) {
  struct Case {
    std::string_view bytes;
    std::uint32_t sum;
  };
  const Case cases[] = {
      {"", 0x79E2BC9D},  // the bare seed: no length is added
      {"abc", 0x79E2BDC6},
      {"abcd", 0xDE461F02},
      // 0xFF adds -1, then the length adds 5 instead of 4: the same sum as "abcd".
      {std::string_view("abcd\xFF", 5), 0xDE461F02},
      {std::string_view("\x80", 1), 0x79E2BC9D - 0x80 + 1},
      {std::string_view("\x00", 1), 0x79E2BC9D + 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ChecksumOf(c.bytes), c.sum) << "length " << c.bytes.size();
}

// Byte by byte, as the sum is defined; the real one reads whole words.
std::uint32_t Reference(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return 0x79E2BC9D;
  std::uint32_t sum = 0x79E2BC9D;
  const std::size_t whole = bytes.size() / 4 * 4;
  for (std::size_t i = 0; i < whole; i += 4) {
    sum += bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) | (static_cast<std::uint32_t>(bytes[i + 3]) << 24);
  }
  for (std::size_t i = whole; i < bytes.size(); ++i)
    sum += static_cast<std::uint32_t>(static_cast<std::int8_t>(bytes[i]));
  return sum + static_cast<std::uint32_t>(bytes.size());
}

TEST(PackageChecksum, AgreesWithWordByWordSumAtEveryLengthAndAlignment) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> buffer(200);
  for (auto& b : buffer) b = static_cast<std::uint8_t>(random());
  for (std::size_t offset = 0; offset < 4; ++offset) {
    for (std::size_t length = 0; length + offset <= buffer.size(); ++length) {
      const std::vector<std::uint8_t> bytes(buffer.begin() + offset, buffer.begin() + offset + length);
      ASSERT_EQ(PackageChecksum(std::span(buffer).subspan(offset, length)), Reference(bytes))
          << "offset " << offset << " length " << length;
    }
  }
}

}  // namespace
}  // namespace brennick
