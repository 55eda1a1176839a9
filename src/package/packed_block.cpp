#include "package/packed_block.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "foundation/byte_view.h"
#include "package/package_layout.h"

namespace brennick {

namespace {

static_assert(std::endian::native == std::endian::little, "the bit stream is read as native words");

// Writable bytes kept past the end of the output: copies move 16 bytes at a
// time and may write up to 15 bytes past their own end.
constexpr std::size_t kSlack = 16;

// The output is reserved up front, but a damaged DecodedSize must not make us
// reserve gigabytes for a stream of a few bytes. Ordinary blocks shrink far
// less than 64 times; what a block of long fills needs beyond that is grown.
constexpr std::size_t kMinReserve = 64 * 1024;
constexpr std::size_t kReservePerStreamByte = 64;

// Bit positions are counted in 64 bits even on the 32-bit program: a stream
// of more than 512 MiB has more bits than a 32-bit size can count.
using BitPos = std::uint64_t;

class BitStream {
 public:
  explicit BitStream(std::span<const std::uint8_t> bytes)
      : data_(bytes.data()), bytes_(bytes.size()), bits_(static_cast<BitPos>(bytes.size()) * 8) {}

  BitPos Bits() const { return bits_; }

  // The 64 bits from `pos` on, the first in bit 0; at least 57 of them are
  // real, and bits past the end of the stream read as 0.
  std::uint64_t Window(BitPos pos) const {
    const BitPos byte = pos >> 3;
    std::uint64_t word = 0;
    if (byte + 8 <= bytes_) {
      std::memcpy(&word, data_ + byte, 8);
    } else if (byte < bytes_) {
      std::memcpy(&word, data_ + byte, static_cast<std::size_t>(bytes_ - byte));
    }
    return word >> (pos & 7);
  }

  // Copies `count` whole bytes starting at bit `pos`; the caller has checked
  // that they are all in the stream.
  void CopyBytes(BitPos pos, std::uint8_t* out, std::size_t count) const {
    const std::uint8_t* in = data_ + (pos >> 3);
    const unsigned shift = static_cast<unsigned>(pos & 7);
    if (shift == 0) {
      std::memcpy(out, in, count);
      return;
    }
    // Byte i of the run is made of bytes i and i + 1 of the stream, and byte
    // `count` is still in the stream because the run does not start on a byte.
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
      std::uint64_t low;
      std::memcpy(&low, in + i, 8);
      const std::uint64_t word = (low >> shift) | (static_cast<std::uint64_t>(in[i + 8]) << (64 - shift));
      std::memcpy(out + i, &word, 8);
    }
    for (; i < count; ++i) {
      out[i] = static_cast<std::uint8_t>((in[i] >> shift) | (in[i + 1] << (8 - shift)));
    }
  }

 private:
  const std::uint8_t* data_;
  std::size_t bytes_;
  BitPos bits_;
};

class Decoder {
 public:
  // Decodes into `out`, whose storage is reused: a caller that decodes one
  // block after another pays for allocating and clearing it once.
  Decoder(std::span<const std::uint8_t> stream, std::size_t decodedSize, std::vector<std::uint8_t>& out)
      : stream_(stream), decodedSize_(decodedSize), buffer_(out) {}

  bool Run() {
    const std::size_t streamBytes = static_cast<std::size_t>(stream_.Bits() / 8);
    const std::size_t bound =
        streamBytes > decodedSize_ / kReservePerStreamByte ? decodedSize_ : streamBytes * kReservePerStreamByte;
    Reserve(std::min(decodedSize_, std::max(kMinReserve, bound)));

    while (length_ < decodedSize_) {
      const std::uint64_t op = stream_.Window(pos_);
      if ((op & 1) == 0) {
        ++pos_;
        if (!Literals()) return false;
      } else if ((op & 2) != 0) {
        pos_ += 2;
        if (!Fill()) return false;
      } else {
        pos_ += 2;
        if (!Copy()) return false;
      }
    }
    buffer_.resize(decodedSize_);
    return true;
  }

 private:
  // V(w, s): a prefix of 1 bits, each widening the field by s, ended by a 0
  // bit (or the end of the stream), then min(w, 32) raw bits.
  bool ReadNumber(unsigned width, unsigned step, std::uint64_t& value) {
    const std::uint64_t window = stream_.Window(pos_);
    const unsigned ones = static_cast<unsigned>(std::countr_one(window));
    if (ones <= 8) {
      // Prefix, its 0 bit and up to 32 raw bits fit in the 57 real bits.
      const unsigned raw = std::min(width + step * ones, 32u);
      const unsigned total = ones + 1 + raw;
      // Also covers "at least 2 bits left": every V takes at least 2 bits.
      if (pos_ + total > stream_.Bits()) return false;
      value = (window >> (ones + 1)) & ((std::uint64_t{1} << raw) - 1);
      pos_ += total;
      return true;
    }
    return ReadLongNumber(width, step, value);
  }

  // A prefix too long for one window; only damaged or odd streams get here.
  bool ReadLongNumber(unsigned width, unsigned step, std::uint64_t& value) {
    if (pos_ + 2 > stream_.Bits()) return false;
    std::uint64_t ones = 0;
    for (;;) {
      // Bits past the end read as 0, so the end of the stream ends the prefix.
      const unsigned run = std::min(static_cast<unsigned>(std::countr_one(stream_.Window(pos_))), 56u);
      ones += run;
      pos_ += run;
      if (run < 56) break;
    }
    ++pos_;  // the 0 bit (or a step past the end, which the raw read below fails)
    const unsigned raw = ones >= 32 ? 32u : std::min(width + step * static_cast<unsigned>(ones), 32u);
    if (pos_ + raw > stream_.Bits()) return false;
    value = stream_.Window(pos_) & ((std::uint64_t{1} << raw) - 1);
    pos_ += raw;
    return true;
  }

  bool ReadByte(std::uint8_t& value) {
    if (pos_ + 8 > stream_.Bits()) return false;
    value = static_cast<std::uint8_t>(stream_.Window(pos_));
    pos_ += 8;
    return true;
  }

  // An operation that would pass DecodedSize can only end in failure, so it
  // fails before anything is written.
  bool Fits(std::uint64_t count) const { return count <= decodedSize_ - length_; }

  bool Literals() {
    std::uint64_t n;
    if (!ReadNumber(2, 2, n)) return false;
    ++n;
    if (!Fits(n) || pos_ + n * 8 > stream_.Bits()) return false;
    const std::size_t count = static_cast<std::size_t>(n);
    MakeRoom(count);
    stream_.CopyBytes(pos_, buffer_.data() + length_, count);
    pos_ += n * 8;
    length_ += count;
    return true;
  }

  bool Fill() {
    std::uint8_t value;
    std::uint64_t n;
    if (!ReadByte(value) || !ReadNumber(1, 1, n)) return false;
    n += 3;
    if (!Fits(n)) return false;
    const std::size_t count = static_cast<std::size_t>(n);
    MakeRoom(count);
    std::memset(buffer_.data() + length_, value, count);
    length_ += count;
    return true;
  }

  bool Copy() {
    std::uint64_t n, d;
    if (!ReadNumber(2, 1, n) || !ReadNumber(12, 2, d)) return false;
    n += 4;
    d += 4;
    // The source must lie wholly in the output written so far: p = length - d
    // is not negative, and p + n does not pass the current length.
    if (d > length_ || n > d || !Fits(n)) return false;
    const std::size_t count = static_cast<std::size_t>(n);
    MakeRoom(count);
    std::uint8_t* to = buffer_.data() + length_;
    const std::uint8_t* from = to - static_cast<std::size_t>(d);
    // Moving 16 bytes at a time may read bytes this copy has written, but
    // only at source offsets of d or more, which are past n: every byte
    // that counts is read before it could change.
    for (std::size_t i = 0; i < count; i += 16) {
      std::uint8_t chunk[16];
      std::memcpy(chunk, from + i, 16);
      std::memcpy(to + i, chunk, 16);
    }
    length_ += count;
    return true;
  }

  void Reserve(std::size_t capacity) {
    capacity_ = capacity;
    buffer_.resize(capacity_ + kSlack);
  }

  void MakeRoom(std::size_t count) {
    if (count <= capacity_ - length_) return;
    const std::size_t needed = length_ + count;
    const std::size_t doubled = capacity_ > decodedSize_ / 2 ? decodedSize_ : capacity_ * 2;
    Reserve(std::max(needed, doubled));
  }

  BitStream stream_;
  std::size_t decodedSize_;
  BitPos pos_ = 0;
  std::vector<std::uint8_t>& buffer_;
  std::size_t capacity_ = 0;  // bytes of buffer_ before the slack
  std::size_t length_ = 0;    // bytes decoded
};

}  // namespace

bool DecodePackedBlock(std::span<const std::uint8_t> block, std::vector<std::uint8_t>& out) {
  const auto magic = ReadU32(block, 0);
  const auto size = ReadU32(block, 4);
  const auto decodedSize = static_cast<std::int32_t>(size.value_or(0));
  if (!magic || !size || *magic != package::kPackedBlockMagic || decodedSize < 0) {
    out.clear();
    return false;
  }
  if (decodedSize == 0) {
    out.clear();
    return true;
  }
  Decoder decoder(block.subspan(package::kPackedBlockHeaderSize), static_cast<std::size_t>(decodedSize), out);
  if (decoder.Run()) return true;
  out.clear();
  return false;
}

bool DecodePackedBlockInPlace(std::vector<std::uint8_t>& buffer) {
  std::vector<std::uint8_t> decoded;
  if (!DecodePackedBlock(buffer, decoded)) return false;
  buffer.swap(decoded);
  return true;
}

}  // namespace brennick
