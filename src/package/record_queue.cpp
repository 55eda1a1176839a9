#include "package/record_queue.h"

#include "foundation/byte_view.h"
#include "package/corrupt_installer.h"

namespace brennick {

void RecordQueue::Feed(std::span<const std::uint8_t> bytes) {
  // Taken bytes are dropped only once they outnumber the ones kept, so each
  // queued byte is moved a bounded number of times however records and
  // chunks are cut.
  if (read_ > 0 && read_ >= bytes_.size() - read_) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(read_));
    read_ = 0;
  }
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::optional<std::span<const std::uint8_t>> RecordQueue::TakeRecord() {
  const std::span<const std::uint8_t> queued = std::span<const std::uint8_t>(bytes_).subspan(read_);
  const auto length = ReadU32(queued, 0);
  if (!length) return std::nullopt;
  const auto bodySize = static_cast<std::int32_t>(*length);
  if (bodySize < 0) CorruptInstaller(corrupt::kRecordLengthNegative);
  if (queued.size() - 4 < static_cast<std::size_t>(bodySize)) return std::nullopt;

  // The bytes stay where they are until the next Feed drops what was taken.
  const auto body = queued.subspan(4, static_cast<std::size_t>(bodySize));
  read_ += 4 + body.size();
  return body;
}

}  // namespace brennick
