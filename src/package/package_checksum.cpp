#include "package/package_checksum.h"

#include <bit>
#include <cstring>

#include "package/package_layout.h"

namespace brennick {

namespace {

static_assert(std::endian::native == std::endian::little, "the package words are read as native words");

std::uint32_t LoadWord(const std::uint8_t* p) {
  std::uint32_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

}  // namespace

std::uint32_t PackageChecksum(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return package::kChecksumSeed;

  const std::uint8_t* p = bytes.data();
  const std::size_t words = bytes.size() / 4;
  // Four independent sums keep the adds from waiting on each other; the
  // order of additions does not matter modulo 2^32.
  std::uint32_t a = 0, b = 0, c = 0, d = 0;
  std::size_t i = 0;
  for (; i + 4 <= words; i += 4, p += 16) {
    a += LoadWord(p);
    b += LoadWord(p + 4);
    c += LoadWord(p + 8);
    d += LoadWord(p + 12);
  }
  for (; i < words; ++i, p += 4) a += LoadWord(p);

  std::uint32_t sum = package::kChecksumSeed + a + b + c + d;
  for (std::size_t tail = bytes.size() % 4; tail > 0; --tail, ++p) {
    sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(*p)));
  }
  return sum + static_cast<std::uint32_t>(bytes.size());
}

}  // namespace brennick
