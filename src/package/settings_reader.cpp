#include "package/settings_reader.h"

#include <algorithm>
#include <cstring>

#include "package/line_breaks.h"
#include "package/settings_fields.h"

namespace brennick {

namespace {

// The reader over the decoded block. A read that does not fit takes what is
// left, zero-fills the rest and moves to the end.
class SettingsStream {
 public:
  static constexpr WalkMode kMode = WalkMode::Reading;

  SettingsStream(std::span<const std::uint8_t> block, const std::function<void()>& afterField7)
      : block_(block), afterField7_(afterField7) {}

  void U8(std::uint8_t& v, const char*) { Read(&v, 1); }
  void U16(std::uint16_t& v, const char*) { v = static_cast<std::uint16_t>(Number(2)); }
  void U32(std::uint32_t& v, const char*) { v = static_cast<std::uint32_t>(Number(4)); }
  void I32(std::int32_t& v, const char*) { v = static_cast<std::int32_t>(static_cast<std::uint32_t>(Number(4))); }
  void U64(std::uint64_t& v, const char*) { v = Number(8); }
  void Count(std::uint32_t& v, const char* name) { U32(v, name); }
  void CountU8(std::uint8_t& v, const char* name) { U8(v, name); }
  void F64(double& v, const char*) {
    const std::uint64_t bits = Number(8);
    std::memcpy(&v, &bits, sizeof v);
  }
  void Str(std::string& text, const char*) {
    const auto rest = block_.subspan(pos_);
    const auto zero = std::find(rest.begin(), rest.end(), std::uint8_t{0});
    text.assign(rest.begin(), zero);
    pos_ += text.size() + (zero != rest.end() ? 1 : 0);
  }
  void Blob(std::string& bytes, const char*) {
    std::uint32_t length = 0;
    U32(length, nullptr);
    bytes.clear();
    if (static_cast<std::int32_t>(length) < 0) {
      pos_ = block_.size();  // a failed read; the end marker tells
      return;
    }
    // A length beyond the block takes what is left; nothing the size of a
    // damaged length field is ever allocated.
    const std::size_t take = std::min<std::size_t>(length, block_.size() - pos_);
    bytes.assign(reinterpret_cast<const char*>(block_.data() + pos_), take);
    pos_ += take;
  }
  template <std::size_t N>
  void Bytes(std::array<std::uint8_t, N>& bytes, const char*) {
    Read(bytes.data(), N);
  }
  void Limit(bool ok, int code, const char*) {
    if (!ok) CorruptInstaller(code);
  }
  void AfterField7() {
    if (afterField7_) afterField7_();
  }
  void BeginList(const char*) {}
  void Item() {}
  void EndList() {}

 private:
  void Read(void* out, std::size_t n) {
    const std::size_t take = std::min(n, block_.size() - pos_);
    if (take > 0) std::memcpy(out, block_.data() + pos_, take);
    std::memset(static_cast<std::uint8_t*>(out) + take, 0, n - take);
    pos_ += take;
  }
  std::uint64_t Number(std::size_t width) {
    std::uint8_t bytes[8] = {};
    Read(bytes, width);
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
  }

  std::span<const std::uint8_t> block_;
  std::size_t pos_ = 0;
  const std::function<void()>& afterField7_;
};

}  // namespace

void ReadSettingsRecordInto(std::span<const std::uint8_t> block, SettingsRecord& record,
                            const std::function<void()>& afterField7) {
  SettingsStream stream(block, afterField7);
  VisitSettingsRecord(stream, record);
  for (auto& row : record.Languages.Messages) {
    for (std::string& text : row) text = NormalizeLineBreaks(text);
  }
}

SettingsRecord ReadSettingsRecord(std::span<const std::uint8_t> block, const std::function<void()>& afterField7) {
  SettingsRecord record;
  ReadSettingsRecordInto(block, record, afterField7);
  return record;
}

}  // namespace brennick
