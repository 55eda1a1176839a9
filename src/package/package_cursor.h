#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace brennick {

// The reader of the package header and of record bodies: a position in the
// package's bytes. Every read is bounded by the bytes it was given; a read
// past the end is a damaged package (corrupt-installer code 50), never a read
// of foreign memory.
class PackageCursor {
 public:
  explicit PackageCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint32_t ReadU32();
  std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
  // The bytes up to the next zero byte; the zero is consumed, not returned.
  std::string ReadString();
  // The next `count` bytes, as a view into the package.
  std::span<const std::uint8_t> ReadBytes(std::size_t count);

  std::size_t Position() const { return pos_; }
  std::size_t Left() const { return bytes_.size() - pos_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace brennick
