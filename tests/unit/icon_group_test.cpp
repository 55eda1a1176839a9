#include "engine/icon_group.h"

#include <gtest/gtest.h>

#include <string>

namespace brennick {
namespace {

std::string U16(unsigned value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }
std::string U32(std::uint32_t value) { return U16(value & 0xFFFF) + U16(value >> 16); }

// An icon file entry: width, height, colours, reserved, planes, bit count,
// then the image's size and offset.
std::string Entry(char width, std::uint32_t size, std::uint32_t offset) {
  return std::string{width, width, 0, 0} + U16(1) + U16(32) + U32(size) + U32(offset);
}

// Two images of 3 and 5 bytes after a header of 6 + 2 * 16 bytes.
const std::string kIcon = U16(0) + U16(1) + U16(2) + Entry(16, 3, 38) + Entry(32, 5, 41) + "abc" + "defgh";

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Text(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

TEST(IconGroupOf, ImagesAndTheGroupDirectoryWithResourceNumbers) {
  const auto group = IconGroupOf(Bytes(kIcon));
  ASSERT_TRUE(group);
  ASSERT_EQ(group->images.size(), 2u);
  EXPECT_EQ(Text(group->images[0]), "abc");
  EXPECT_EQ(Text(group->images[1]), "defgh");
  const std::string expected = U16(0) + U16(1) + U16(2) + Entry(16, 3, 38).substr(0, 12) + U16(1) +
                               Entry(32, 5, 41).substr(0, 12) + U16(2);
  EXPECT_EQ(Text(group->directory), expected);
}

TEST(IconGroupOf, DamagedFilesGiveNothing) {
  struct Case {
    const char* what;
    std::string file;
  };
  const std::string header = U16(0) + U16(1) + U16(1);
  const Case cases[] = {
      {"empty", ""},
      {"header cut short", kIcon.substr(0, 5)},
      {"directory cut short", kIcon.substr(0, 37)},
      {"last image cut short", kIcon.substr(0, kIcon.size() - 1)},
      {"no image", U16(0) + U16(1) + U16(0)},
      {"cursor file", U16(0) + U16(2) + kIcon.substr(4)},
      {"reserved word set", U16(1) + kIcon.substr(2)},
      {"count above the directory", U16(0) + U16(1) + U16(0xFFFF) + kIcon.substr(6)},
      {"empty image", header + Entry(16, 0, 22) + "x"},
      {"offset past the end", header + Entry(16, 1, 23) + "x"},
      {"offset and size wrap around", header + Entry(16, 0x10, 0xFFFFFFF8u) + "x"},
      {"size past the end", header + Entry(16, 0xFFFFFFFFu, 22) + "x"},
  };
  for (const Case& c : cases) EXPECT_FALSE(IconGroupOf(Bytes(c.file))) << c.what;
  // The same one-image file with a sound entry is accepted.
  EXPECT_TRUE(IconGroupOf(Bytes(header + Entry(16, 1, 22) + "x")));
}

}  // namespace
}  // namespace brennick
