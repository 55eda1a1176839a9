#include "package/scramble.h"

#include <gtest/gtest.h>

#include <vector>

namespace brennick {
namespace {

TEST(Unscramble, CombinesEachByteWithTheKeyByteOfItsPosition) {
  std::vector<std::uint8_t> bytes(11, 0xF0);
  Unscramble(bytes, 0x04030201);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xF1, 0xF2, 0xF3, 0xF4, 0xF1, 0xF2, 0xF3, 0xF4, 0xF1, 0xF2, 0xF3}));
}

TEST(Unscramble, TwiceRestoresEveryLength) {
  for (std::size_t length = 0; length < 20; ++length) {
    std::vector<std::uint8_t> original(length);
    for (std::size_t i = 0; i < length; ++i) original[i] = static_cast<std::uint8_t>(i * 37 + 1);
    std::vector<std::uint8_t> bytes = original;
    Unscramble(bytes, 0x9A5C17E3);
    if (length > 0) {
      EXPECT_NE(bytes, original);
    }
    Unscramble(bytes, 0x9A5C17E3);
    EXPECT_EQ(bytes, original) << "length " << length;
  }
}

}  // namespace
}  // namespace brennick
