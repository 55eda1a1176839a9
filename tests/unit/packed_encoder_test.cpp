#include "builder/encode/packed_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "package/packed_block.h"

namespace brennick::build {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

// Words drawn from a small vocabulary: text-like repetition at all distances.
Bytes Text(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"the ",    "setup ",  "installs ", "files ",   "into ",    "folder ",
                                       "and ",    "writes ", "registry ", "values, ", "then ",    "creates ",
                                       "links. ", "a ",      "product ",  "needs ",   "space\n",  "on ",
                                       "drive ",  "C: ",     "version ",  "27.0.5 ",  "license ", "agreement "};
  std::mt19937 random(seed);
  std::geometric_distribution<std::size_t> pick(0.15);
  Bytes bytes;
  while (bytes.size() < size) {
    const std::string word = kWords[pick(random) % std::size(kWords)];
    bytes.insert(bytes.end(), word.begin(), word.end());
  }
  bytes.resize(size);
  return bytes;
}

// One random stretch of `period` bytes, repeated.
Bytes Periodic(std::size_t size, std::size_t period) {
  const Bytes stretch = RandomBytes(period, static_cast<unsigned>(period));
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = stretch[i % period];
  return bytes;
}

// Runs of one byte of every length around the shortest fill and copy, then
// one longer than anything else in the input, between random bytes.
Bytes Runs() {
  Bytes bytes = RandomBytes(64, 1);
  for (std::size_t length = 1; length < 40; ++length) {
    bytes.insert(bytes.end(), length, static_cast<std::uint8_t>(length));
    bytes.push_back(0xEE);
  }
  bytes.insert(bytes.end(), 300000, 0x55);
  const Bytes tail = RandomBytes(100, 2);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

// A table of little-endian records: counters, flags and names, as in binary files.
Bytes Table(std::size_t rows) {
  Bytes bytes;
  for (std::uint32_t row = 0; row < rows; ++row) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>((row * 40) >> (8 * i)));
    bytes.push_back(static_cast<std::uint8_t>(row % 3));
    const std::string name = "entry_" + std::to_string(row % 97) + "\0\0\0";
    bytes.insert(bytes.end(), name.begin(), name.end());
  }
  return bytes;
}

struct Sample {
  const char* name;
  Bytes bytes;
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = {
      {"empty", {}},
      {"one byte", {0x42}},
      {"three bytes", {1, 1, 1}},
      {"four equal bytes", {9, 9, 9, 9}},
      {"random", RandomBytes(50000, 3)},
      {"text", Text(60000, 4)},
      {"period 3", Periodic(100000, 3)},
      {"period 7", Periodic(100000, 7)},
      {"period 5000", Periodic(60000, 5000)},
      {"runs", Runs()},
      {"all zero MiB", Bytes(1 << 20, 0)},
      {"table", Table(3000)},
  };
  return samples;
}

TEST(EncodePackedBlock, EveryLevelDecodesBackExactly) {
  for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
    for (const Sample& sample : Samples()) {
      const Bytes block = EncodePackedBlock(sample.bytes, level);
      Bytes decoded;
      ASSERT_TRUE(DecodePackedBlock(block, decoded)) << sample.name << " at level " << level;
      ASSERT_TRUE(decoded == sample.bytes) << sample.name << " at level " << level;
    }
  }
}

TEST(EncodePackedBlock, SameInputSameBytes) {
  const Bytes text = Text(30000, 5);
  for (int level : {kFastestLevel, kDefaultLevel, kSmallestLevel}) {
    EXPECT_EQ(EncodePackedBlock(text, level), EncodePackedBlock(text, level)) << "level " << level;
  }
}

// What each kind of data may cost at most, at every level: catches a parse
// that misses fills, long-distance copies or the doubling of periodic copies.
TEST(EncodePackedBlock, SizesStayWithinWhatTheFormatAllows) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::size_t most;
  };
  const Case cases[] = {
      {"all zero MiB", Bytes(1 << 20, 0), 24},
      {"period 3", Periodic(1 << 20, 3), 200},
      {"period 1000", Periodic(1 << 20, 1000), 1400},
      // Random bytes are stored as literal runs: a few bits per run over the bytes.
      {"random", RandomBytes(100000, 6), 100000 + 100},
  };
  for (const Case& c : cases) {
    for (int level = kFastestLevel; level <= kSmallestLevel; ++level) {
      EXPECT_LE(EncodePackedBlock(c.bytes, level).size(), c.most) << c.name << " at level " << level;
    }
  }
}

TEST(EncodePackedBlock, SmallestLevelBeatsFastestOnText) {
  const Bytes text = Text(200000, 8);
  const std::size_t fastest = EncodePackedBlock(text, kFastestLevel).size();
  const std::size_t normal = EncodePackedBlock(text, kDefaultLevel).size();
  const std::size_t smallest = EncodePackedBlock(text, kSmallestLevel).size();
  EXPECT_LT(smallest, normal);
  EXPECT_LT(normal, fastest);
}

}  // namespace
}  // namespace brennick::build
