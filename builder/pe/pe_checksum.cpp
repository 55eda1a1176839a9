#include "builder/pe/pe_checksum.h"

#include "builder/pe/pe_headers.h"
#include "foundation/byte_store.h"

namespace brennick::build {

std::uint32_t PeChecksum(std::span<const std::uint8_t> file, std::size_t checksumOffset) {
  const auto byteAt = [&](std::size_t i) -> std::uint32_t {
    const bool inField = i >= checksumOffset && i - checksumOffset < 4;
    return inField || i >= file.size() ? 0 : file[i];
  };
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    sum += byteAt(i) | (byteAt(i + 1) << 8);
    sum = (sum & 0xffff) + (sum >> 16);
  }
  return sum + static_cast<std::uint32_t>(file.size());
}

void StorePeChecksum(std::span<std::uint8_t> file) {
  const std::size_t field = ReadPeHeaders(file).optionalHeaderOffset + pe32::kCheckSum;
  StoreU32(file, field, PeChecksum(file, field));
}

}  // namespace brennick::build
