#include "package/package_cursor.h"

#include <algorithm>

#include "package/corrupt_installer.h"

namespace brennick {

std::uint32_t PackageCursor::ReadU32() {
  const auto b = ReadBytes(4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::string PackageCursor::ReadString() {
  const auto rest = bytes_.subspan(pos_);
  const auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
  if (zero == rest.end()) CorruptInstaller(corrupt::kPackageTruncated);
  std::string text(rest.begin(), zero);
  pos_ += text.size() + 1;
  return text;
}

std::span<const std::uint8_t> PackageCursor::ReadBytes(std::size_t count) {
  if (count > Left()) CorruptInstaller(corrupt::kPackageTruncated);
  const auto bytes = bytes_.subspan(pos_, count);
  pos_ += count;
  return bytes;
}

}  // namespace brennick
