#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "builder/encode/packed_encoder.h"

namespace brennick::build {

struct ArchiveOptions {
  std::size_t chunkSize = 1024 * 1024;  // record stream bytes per chunk, before packing
  bool packChunks = true;               // ProductFlags bit 5: each chunk is a packed block
  int level = kDefaultLevel;
};

// The file archive as the package stores it, with the header fields that
// describe it.
struct StoredArchive {
  std::vector<std::uint8_t> bytes;
  std::int32_t archiveSize = 0;       // ArchiveSize: bytes.size()
  std::uint32_t archiveChecksum = 0;  // ArchiveChecksum: PackageChecksum(bytes)
};

// Frames each record body with its i32 length, cuts the concatenation into
// chunks of `chunkSize` bytes (the last may be shorter), packs each when
// asked, and writes every chunk as i32 size, u32 checksum of the data as
// stored, then the data. Records may span chunks. The chunk checksums are
// always written; ProductFlags bit 32 decides whether the program checks them.
// An archive or record beyond what the i32 fields can hold is refused (BuildError).
StoredArchive BuildArchive(std::span<const std::vector<std::uint8_t>> records, const ArchiveOptions& options);

}  // namespace brennick::build
