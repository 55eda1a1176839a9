#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace brennick::build {

// The part walker (package/package_header_fields.h) that writes the header or
// a file item: numbers little-endian, texts zero-terminated, with the offset
// of every field outside the lists by its name. Refuses (BuildError, naming
// `part`) what the program would take for damage: a bound that does not hold,
// a version other than this program's, a text with a zero byte, a list of
// another length than its count.
class PartWriter {
 public:
  explicit PartWriter(std::string part) : part_(std::move(part)) {}

  std::vector<std::uint8_t> bytes;
  std::map<std::string, std::size_t> offsets;

  void U32(std::uint32_t& v, const char* name) { Number(v, name); }
  void I32(std::int32_t& v, const char* name) { Number(static_cast<std::uint32_t>(v), name); }
  void Flags(std::int32_t& v, const char* name) { I32(v, name); }
  void Str(std::string& text, const char* name);
  void Data(std::span<const std::uint8_t>& data, std::size_t size, const char* name);
  void Limit(bool ok, int code, const char* name);
  void VersionLimit(bool ok, const std::string& version);
  void Entries(std::vector<std::int32_t>& list, std::int32_t count, const char* name);
  void BeginList(const char* name) {
    Mark(name);
    ++depth_;
  }
  void Item() {}
  void EndList() { --depth_; }

 private:
  [[noreturn]] void Refuse(const std::string& why) const;
  void Mark(const char* name);
  void Number(std::uint32_t value, const char* name);

  std::string part_;
  int depth_ = 0;
};

}  // namespace brennick::build
