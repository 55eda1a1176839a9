#include "builder/package/settings_writer.h"

#include <cstring>
#include <map>
#include <string>

#include "builder/basics/build_error.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

class SettingsWriter {
 public:
  static constexpr WalkMode kMode = WalkMode::Writing;

  std::vector<std::uint8_t> bytes;
  std::map<std::string, std::size_t> offsets;  // of every field outside the lists

  void U8(std::uint8_t& v, const char* name) { Number(v, 1, name); }
  void U16(std::uint16_t& v, const char* name) { Number(v, 2, name); }
  void U32(std::uint32_t& v, const char* name) { Number(v, 4, name); }
  void I32(std::int32_t& v, const char* name) { Number(static_cast<std::uint32_t>(v), 4, name); }
  void U64(std::uint64_t& v, const char* name) { Number(v, 8, name); }
  void Count(std::uint32_t& v, const char* name) { Number(v, 4, name); }
  void CountU8(std::uint8_t& v, const char* name) { Number(v, 1, name); }
  void F64(double& v, const char* name) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Number(bits, 8, name);
  }
  void Str(std::string& text, const char* name) {
    Mark(name);
    if (text.find('\0') != std::string::npos) {
      throw BuildError(std::string("the text of ") + Name(name) + " holds a zero byte");
    }
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
  }
  void Blob(std::string& data, const char* name) {
    if (data.size() > 0x7FFFFFFFu) throw BuildError(std::string(Name(name)) + " is too large");
    Number(data.size(), 4, name);
    bytes.insert(bytes.end(), data.begin(), data.end());
  }
  template <std::size_t N>
  void Bytes(std::array<std::uint8_t, N>& raw, const char* name) {
    Mark(name);
    bytes.insert(bytes.end(), raw.begin(), raw.end());
  }
  void Limit(bool ok, int, const char* name) {
    if (!ok) throw BuildError(std::string("the setting ") + Name(name) + " is out of its bounds");
  }
  void AfterField7() {}
  void BeginList(const char* name) {
    Mark(name);  // a list without a stored count: where its first entry starts
    ++depth_;
  }
  void Item() {}
  void EndList() { --depth_; }

 private:
  static const char* Name(const char* name) { return name != nullptr ? name : "(a count)"; }
  void Mark(const char* name) {
    if (depth_ == 0 && name != nullptr) offsets.emplace(name, bytes.size());
  }
  void Number(std::uint64_t value, int width, const char* name) {
    Mark(name);
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  int depth_ = 0;
};

}  // namespace

WrittenSettings WriteSettingsRecordWithOffsets(const SettingsRecord& record) {
  SettingsRecord copy = record;  // the walk takes the record by reference
  SettingsWriter writer;
  VisitSettingsRecord(writer, copy);
  return {std::move(writer.bytes), std::move(writer.offsets)};
}

std::vector<std::uint8_t> WriteSettingsRecord(const SettingsRecord& record) {
  return WriteSettingsRecordWithOffsets(record).bytes;
}

}  // namespace brennick::build
