// ReadArchiveRecords on any stored archive. Input: a flags byte (bit 0:
// chunks packed, bit 1: chunk checksums checked, bit 2: chunk checksums made
// to match), a file count byte, then the stored archive. The archive's own
// size and checksum are taken from the bytes, so that the fuzzer spends its
// time in the chunks and records; only the archive's codes may end a run.
#include <cstdlib>
#include <set>
#include <span>
#include <vector>

#include "fuzz_corrupt.h"
#include "package/archive_reader.h"
#include "package/package_checksum.h"

namespace {

// Walks the chunk headers as the reader will, limiting the size each packed
// chunk declares and, when asked, fixing each chunk's checksum.
void Prepare(std::vector<std::uint8_t>& stored, bool packed, bool sealChunks) {
  for (std::size_t at = 0; at + 8 <= stored.size();) {
    const auto size = static_cast<std::int32_t>(brennick::fuzz::Get32(&stored[at]));
    if (size < 1 || static_cast<std::size_t>(size) > stored.size() - at - 8) return;
    const std::span<std::uint8_t> data(&stored[at + 8], static_cast<std::size_t>(size));
    if (packed && data.size() >= 8) brennick::fuzz::LimitDecodedSize(data.data(), 1u << 20);
    if (sealChunks) brennick::fuzz::Put32(&stored[at + 4], brennick::PackageChecksum(data));
    at += 8 + data.size();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  std::vector<std::uint8_t> stored(data + 2, data + size);
  Prepare(stored, (flags & 1) != 0, (flags & 4) != 0);

  brennick::ArchiveInfo info;
  info.archiveSize = static_cast<std::int32_t>(stored.size());
  info.archiveChecksum = brennick::PackageChecksum(stored);
  info.fileCount = data[1] & 31;
  info.productFlags =
      ((flags & 1) ? brennick::kChunksPackedFlag : 0) | ((flags & 2) ? brennick::kChunkChecksumsFlag : 0);

  static const std::set<int> kArchiveCodes = {60, 61, 62, 63, 80, 83, 84};
  std::size_t records = 0;
  try {
    brennick::ReadArchiveRecords(stored, info, [&](std::span<const std::uint8_t>) { ++records; });
  } catch (const brennick::fuzz::Corrupt& corrupt) {
    if (kArchiveCodes.count(corrupt.code) == 0) std::abort();
    return 0;
  }
  if (records != static_cast<std::size_t>(info.fileCount)) std::abort();
  return 0;
}
