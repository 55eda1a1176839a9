#include "package/archive_reader.h"

#include <vector>

#include "foundation/byte_view.h"
#include "package/corrupt_installer.h"
#include "package/package_checksum.h"
#include "package/packed_block.h"
#include "package/record_queue.h"

namespace brennick {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;  // i32 ChunkSize, u32 ChunkChecksum

// Reads the chunks of the stored archive one at a time, so that only one
// chunk's decoded data is held beside the records not yet taken.
class ChunkReader {
 public:
  ChunkReader(std::span<const std::uint8_t> stored, std::uint64_t productFlags)
      : stored_(stored), flags_(productFlags) {}

  std::size_t BytesLeft() const { return stored_.size() - offset_; }

  // The next chunk's stored data, its framing and checksum checked.
  std::span<const std::uint8_t> NextChunk() {
    const std::span<const std::uint8_t> rest = stored_.subspan(offset_);
    // Fewer than 4 bytes cannot hold the size field; fewer than 8 leave no
    // room for the data of any chunk. Both read as a chunk that does not fit.
    const auto sizeField = ReadU32(rest, 0);
    if (!sizeField) CorruptInstaller(corrupt::kChunkSizeTooLarge);
    const auto size = static_cast<std::int32_t>(*sizeField);
    if (size < 1) CorruptInstaller(corrupt::kChunkSizeTooSmall);
    if (rest.size() < kChunkHeaderSize || static_cast<std::size_t>(size) > rest.size() - kChunkHeaderSize) {
      CorruptInstaller(corrupt::kChunkSizeTooLarge);
    }
    const std::uint32_t checksum = *ReadU32(rest, 4);
    const auto data = rest.subspan(kChunkHeaderSize, static_cast<std::size_t>(size));
    offset_ += kChunkHeaderSize + data.size();

    if ((flags_ & kChunkChecksumsFlag) != 0 && PackageChecksum(data) != checksum) {
      CorruptInstaller(corrupt::kChunkChecksum);
    }
    return data;
  }

  void FeedNextChunk(RecordQueue& queue) {
    const std::span<const std::uint8_t> data = NextChunk();
    if ((flags_ & kChunksPackedFlag) == 0) {
      queue.Feed(data);
      return;
    }
    if (!DecodePackedBlock(data, decoded_)) CorruptInstaller(corrupt::kChunkUnpack);
    queue.Feed(decoded_);
  }

 private:
  std::span<const std::uint8_t> stored_;
  std::uint64_t flags_;
  std::size_t offset_ = 0;
  std::vector<std::uint8_t> decoded_;  // reused from chunk to chunk
};

}  // namespace

void CheckArchiveSize(std::span<const std::uint8_t> stored, const ArchiveInfo& info) {
  if (info.archiveSize < 0 || stored.size() != static_cast<std::size_t>(info.archiveSize)) {
    CorruptInstaller(corrupt::kArchiveSize);
  }
}

void CheckArchiveChecksum(std::span<const std::uint8_t> stored, const ArchiveInfo& info) {
  if (PackageChecksum(stored) != info.archiveChecksum) CorruptInstaller(corrupt::kArchiveChecksum);
}

void CheckArchiveChunks(std::span<const std::uint8_t> stored, std::uint64_t productFlags) {
  ChunkReader chunks(stored, productFlags);
  while (chunks.BytesLeft() != 0) chunks.NextChunk();
}

struct ArchiveRecords::Reading {
  ChunkReader chunks;
  RecordQueue queue;
};

ArchiveRecords::ArchiveRecords(std::span<const std::uint8_t> stored, std::uint64_t productFlags)
    : reading_(std::make_unique<Reading>(Reading{ChunkReader(stored, productFlags), RecordQueue()})) {}

ArchiveRecords::~ArchiveRecords() = default;

std::span<const std::uint8_t> ArchiveRecords::Next(const std::function<void()>& beforeChunk) {
  auto record = reading_->queue.TakeRecord();
  while (!record) {
    if (beforeChunk) beforeChunk();
    reading_->chunks.FeedNextChunk(reading_->queue);
    record = reading_->queue.TakeRecord();
  }
  return *record;
}

void ArchiveRecords::Finish() {
  if (reading_->chunks.BytesLeft() != 0) CorruptInstaller(corrupt::kArchiveBytesLeft);
  if (!reading_->queue.IsEmpty()) CorruptInstaller(corrupt::kRecordBytesLeft);
}

void ReadArchiveRecords(std::span<const std::uint8_t> stored, const ArchiveInfo& info,
                        const std::function<void(std::span<const std::uint8_t>)>& onRecord) {
  CheckArchiveSize(stored, info);
  CheckArchiveChecksum(stored, info);
  ArchiveRecords records(stored, info.productFlags);
  for (std::int32_t i = 0; i < info.fileCount; ++i) onRecord(records.Next({}));
  records.Finish();
}

}  // namespace brennick
