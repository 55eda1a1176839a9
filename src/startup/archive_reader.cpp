#include "startup/archive_reader.h"

#include <vector>

#include "foundation/byte_view.h"
#include "startup/corrupt_installer.h"
#include "startup/package_checksum.h"
#include "startup/packed_block.h"
#include "startup/record_queue.h"

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

  void FeedNextChunk(RecordQueue& queue) {
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

void ReadArchiveRecords(std::span<const std::uint8_t> stored, const ArchiveInfo& info,
                        const std::function<void(std::span<const std::uint8_t>)>& onRecord) {
  if (info.archiveSize < 0 || stored.size() != static_cast<std::size_t>(info.archiveSize)) {
    CorruptInstaller(corrupt::kArchiveSize);
  }
  // Always checked, whether or not the chunks carry checked checksums of their own.
  if (PackageChecksum(stored) != info.archiveChecksum) CorruptInstaller(corrupt::kArchiveChecksum);

  ChunkReader chunks(stored, info.productFlags);
  RecordQueue queue;
  for (std::int32_t i = 0; i < info.fileCount; ++i) {
    auto record = queue.TakeRecord();
    while (!record) {
      chunks.FeedNextChunk(queue);
      record = queue.TakeRecord();
    }
    onRecord(*record);
  }
  // The archive must be used up exactly.
  if (chunks.BytesLeft() != 0) CorruptInstaller(corrupt::kArchiveBytesLeft);
  if (!queue.IsEmpty()) CorruptInstaller(corrupt::kRecordBytesLeft);
}

}  // namespace brennick
