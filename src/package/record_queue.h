#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brennick {

// The decoded chunk data of the archive, waiting to be cut into file records
// (each an i32 length, then that many bytes). Records may span chunks, and a
// chunk may hold several, so bytes are queued until a whole record is there.
class RecordQueue {
 public:
  // Appends decoded chunk data.
  void Feed(std::span<const std::uint8_t> bytes);

  // The next record's body, removed from the queue; nothing, with the queue
  // untouched, while the length field or the body is incomplete. A negative
  // length can never be completed by more data: it ends through
  // CorruptInstaller (code 84). The view stays valid until the next Feed:
  // records are handed on without a copy of their own.
  std::optional<std::span<const std::uint8_t>> TakeRecord();

  // True when no byte is queued.
  bool IsEmpty() const { return read_ == bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t read_ = 0;  // bytes at the front already taken
};

}  // namespace brennick
