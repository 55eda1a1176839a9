#include "package/packed_block.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brennick {
namespace {

// Assembles a packed block bit by bit, independently of the builder's
// encoder, so that the decoder is held to the format and not to the encoder.
class Stream {
 public:
  Stream& Bits(std::uint64_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i, ++bits_) {
      if (bits_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() |= static_cast<std::uint8_t>(1u << (bits_ % 8));
    }
    return *this;
  }
  // V(w, s) with an explicit prefix length (`prefix` 1 bits, a 0 bit, raw bits).
  Stream& Number(std::uint64_t value, unsigned width, unsigned step, unsigned prefix) {
    for (unsigned i = 0; i < prefix; ++i) Bits(1, 1);
    Bits(0, 1);
    return Bits(value, std::min(width + step * prefix, 32u));
  }
  // The shortest V(w, s) that holds `value`.
  Stream& Number(std::uint64_t value, unsigned width, unsigned step) {
    unsigned prefix = 0;
    while (std::min(width + step * prefix, 32u) < 64 && (value >> std::min(width + step * prefix, 32u)) != 0) ++prefix;
    return Number(value, width, step, prefix);
  }
  Stream& Literals(std::string_view text) {
    Bits(0, 1).Number(text.size() - 1, 2, 2);
    for (char c : text) Bits(static_cast<std::uint8_t>(c), 8);
    return *this;
  }
  Stream& Fill(char value, std::uint64_t count) {
    return Bits(0b11, 2).Bits(static_cast<std::uint8_t>(value), 8).Number(count - 3, 1, 1);
  }
  Stream& Copy(std::uint64_t count, std::uint64_t distance) {
    return Bits(0b01, 2).Number(count - 4, 2, 1).Number(distance - 4, 12, 2);
  }
  // The whole block: magic, DecodedSize, the stream so far.
  std::vector<std::uint8_t> Block(std::int32_t decodedSize, std::uint32_t magic = 0x9EC72BA1) const {
    std::vector<std::uint8_t> block;
    for (std::uint32_t field : {magic, static_cast<std::uint32_t>(decodedSize)}) {
      for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
    }
    block.insert(block.end(), bytes_.begin(), bytes_.end());
    return block;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t bits_ = 0;
};

std::optional<std::string> Decode(const std::vector<std::uint8_t>& block) {
  std::vector<std::uint8_t> out = {'o', 'l', 'd'};
  if (!DecodePackedBlock(block, out)) {
    EXPECT_TRUE(out.empty()) << "a failed decode must not leave partial output";
    return std::nullopt;
  }
  return std::string(out.begin(), out.end());
}

const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";

TEST(DecodePackedBlock, Operations) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> block;
    std::string decoded;
  };
  const Case cases[] = {
      {"one literal", Stream().Literals("a").Block(1), "a"},
      {"literal run", Stream().Literals("hello").Block(5), "hello"},
      {"fill of the shortest length", Stream().Fill('x', 3).Block(3), "xxx"},
      {"fill", Stream().Fill('x', 9).Block(9), "xxxxxxxxx"},
      {"copy at the shortest distance", Stream().Literals("abcd").Copy(4, 4).Block(8), "abcdabcd"},
      {"copy from further back", Stream().Literals("abcdef").Copy(4, 6).Block(10), "abcdefabcd"},
      // Literals that start off a byte boundary and a copy longer than 16 bytes.
      {"unaligned literals, long copy", Stream().Fill('-', 3).Literals(kAlphabet).Copy(40, 40).Block(83),
       "---" + kAlphabet + kAlphabet},
      // A distance past 4099 needs a prefix bit in its field.
      {"wide distance", Stream().Fill('z', 4100).Literals("tail").Copy(4, 4104).Block(4108),
       std::string(4100, 'z') + "tailzzzz"},
      // A prefix longer than the encoder would write is still a valid number.
      {"long prefix", Stream().Bits(0, 1).Number(1, 2, 2, 3).Bits('p', 8).Bits('q', 8).Block(2), "pq"},
      // Past 32 raw bits the field stops widening; 40 prefix bits still mean 32 raw bits.
      {"prefix past the widest field", Stream().Bits(0b11, 2).Bits('f', 8).Number(2, 1, 1, 40).Block(5), "fffff"},
      {"bits after the last operation are ignored", Stream().Literals("ok").Bits(0x5A5A5A, 24).Block(2), "ok"},
      {"zero size needs no stream", Stream().Block(0), ""},
      {"zero size ignores the stream", Stream().Literals("abc").Block(0), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.block), c.decoded) << c.name;
}

TEST(DecodePackedBlock, DamagedBlocksFail) {
  std::vector<std::uint8_t> midRun =
      Stream().Bits(0, 1).Number(3, 2, 2).Bits('a', 8).Bits('b', 8).Bits('c', 8).Block(4);
  struct Case {
    const char* name;
    std::vector<std::uint8_t> block;
  };
  const Case cases[] = {
      {"shorter than the header", std::vector<std::uint8_t>{0xA1, 0x2B, 0xC7, 0x9E, 0, 0, 0}},
      {"wrong magic", Stream().Literals("a").Block(1, 0x9EC72BA0)},
      {"negative size", Stream().Literals("a").Block(-1)},
      {"stream ends before the size is reached", Stream().Literals("abc").Block(4)},
      // The run would reach DecodedSize, but its last byte is not in the stream.
      {"stream ends in a literal run", midRun},
      {"one byte more than the size", Stream().Literals("abcd").Block(3)},
      {"fill passes the size", Stream().Fill('x', 5).Block(4)},
      {"copy overlapping what it writes", Stream().Literals("abcd").Copy(5, 4).Block(9)},
      {"copy from before the start", Stream().Literals("abcd").Copy(4, 5).Block(8)},
      {"fill byte cut off", Stream().Literals("a").Bits(0b11, 2).Bits('x', 2).Block(4)},
      {"length field cut off", Stream().Literals("abcd").Bits(0b01, 2).Bits(0b11, 2).Block(10)},
      {"distance field cut off", Stream().Literals("abcd").Bits(0b01, 2).Number(0, 2, 1).Bits(0, 7).Block(8)},
      {"prefix runs to the end of the stream",
       Stream().Literals("a").Bits(0b11, 2).Bits('x', 8).Bits(0x3FFFF, 18).Block(20)},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.block), std::nullopt) << c.name;
}

TEST(DecodePackedBlock, InPlaceReplacesTheBlockOrLeavesIt) {
  std::vector<std::uint8_t> buffer = Stream().Fill('y', 6).Block(6);
  ASSERT_TRUE(DecodePackedBlockInPlace(buffer));
  EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "yyyyyy");

  const std::vector<std::uint8_t> damaged = Stream().Fill('y', 6).Block(7);
  buffer = damaged;
  EXPECT_FALSE(DecodePackedBlockInPlace(buffer));
  EXPECT_EQ(buffer, damaged);
}

// A stream of a few bytes may declare the largest size a block can have; the
// decoder must neither reserve it blindly nor fail to produce it when the
// operations really do.
TEST(DecodePackedBlock, HugeSizeFromATinyStream) {
  EXPECT_EQ(Decode(Stream().Literals("abc").Block(0x7FFFFFFF)), std::nullopt);

  std::vector<std::uint8_t> out;
  constexpr std::int32_t kSize = 3 << 20;
  ASSERT_TRUE(DecodePackedBlock(Stream().Fill('\0', kSize - 8).Literals("abcd").Copy(4, 4).Block(kSize), out));
  ASSERT_EQ(out.size(), static_cast<std::size_t>(kSize));
  EXPECT_EQ(std::string(out.end() - 9, out.end()), std::string("\0abcdabcd", 9));
}

}  // namespace
}  // namespace brennick
