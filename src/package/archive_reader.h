#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace brennick {

// ProductFlags bits that shape the archive.
constexpr std::uint64_t kChunksPackedFlag = std::uint64_t{1} << 5;     // chunk data is a packed block
constexpr std::uint64_t kChunkChecksumsFlag = std::uint64_t{1} << 32;  // each chunk's checksum is checked

// What the package header and the settings say about the archive.
struct ArchiveInfo {
  std::int32_t archiveSize = 0;       // ArchiveSize from the package header
  std::uint32_t archiveChecksum = 0;  // ArchiveChecksum from the package header
  std::int32_t fileCount = 0;         // FileCount; a negative count reads no record
  std::uint64_t productFlags = 0;     // ProductFlags of the settings record
};

// The stored archive must have the size the header gives (code 46) ...
void CheckArchiveSize(std::span<const std::uint8_t> stored, const ArchiveInfo& info);
// ... and its checksum (code 55), whether or not the chunks are checked too.
void CheckArchiveChecksum(std::span<const std::uint8_t> stored, const ArchiveInfo& info);

// Walks the chunks without unpacking them: their sizes must tile the archive
// exactly and, with ProductFlags bit 32, their checksums must match (codes 61
// to 63). Cheap enough to run before anything is changed.
void CheckArchiveChunks(std::span<const std::uint8_t> stored, std::uint64_t productFlags);

// The file records of a checked archive, one at a time, chunk after chunk
// (codes 60 to 63 and 84 end through CorruptInstaller).
class ArchiveRecords {
 public:
  ArchiveRecords(std::span<const std::uint8_t> stored, std::uint64_t productFlags);
  ~ArchiveRecords();

  // The next record's body; `beforeChunk` runs before each chunk is read.
  // The view is valid until the next call.
  std::span<const std::uint8_t> Next(const std::function<void()>& beforeChunk);

  // After the last record the archive must be used up exactly: archive bytes
  // left are code 80, queued record bytes code 83.
  void Finish();

 private:
  struct Reading;
  std::unique_ptr<Reading> reading_;
};

// Hands each file record's body to `onRecord`, in archive order. The span is
// valid only during the call. `stored` is the whole stored archive: it is
// checked against ArchiveSize (code 46) and ArchiveChecksum (code 55) before
// any record is read, then cut into chunks (codes 60 to 63) whose data is
// the stream of length-prefixed records (code 84 for a negative length).
// Whatever is left after the last record is damage: archive bytes (code 80)
// or queued record bytes (code 83). Every failure ends through CorruptInstaller.
void ReadArchiveRecords(std::span<const std::uint8_t> stored, const ArchiveInfo& info,
                        const std::function<void(std::span<const std::uint8_t>)>& onRecord);

}  // namespace brennick
