#include "engine/icon_group.h"

#include <algorithm>

#include "foundation/byte_store.h"
#include "foundation/byte_view.h"

namespace brennick {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kCopiedEntryBytes = 12;  // all but the file offset

}  // namespace

std::optional<IconGroup> IconGroupOf(std::span<const std::uint8_t> file) {
  const auto reserved = ReadU16(file, 0);
  const auto type = ReadU16(file, 2);
  const auto count = ReadU16(file, 4);
  if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0) return std::nullopt;
  if ((file.size() - kHeaderSize) / kFileEntrySize < *count) return std::nullopt;

  IconGroup group;
  group.directory.resize(kHeaderSize + kGroupEntrySize * *count);
  StoreU16(group.directory, 2, 1);
  StoreU16(group.directory, 4, *count);
  for (std::size_t i = 0; i < *count; ++i) {
    const std::size_t entry = kHeaderSize + kFileEntrySize * i;
    const std::uint32_t size = *ReadU32(file, entry + 8);
    const std::uint32_t offset = *ReadU32(file, entry + 12);
    if (size == 0 || offset > file.size() || file.size() - offset < size) return std::nullopt;
    group.images.push_back(file.subspan(offset, size));
    const std::size_t target = kHeaderSize + kGroupEntrySize * i;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(entry), kCopiedEntryBytes,
                group.directory.begin() + static_cast<std::ptrdiff_t>(target));
    StoreU16(group.directory, target + kCopiedEntryBytes, static_cast<std::uint16_t>(i + 1));
  }
  return group;
}

}  // namespace brennick
