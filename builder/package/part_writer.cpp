#include "builder/package/part_writer.h"

#include "builder/basics/build_error.h"

namespace brennick::build {

void PartWriter::Str(std::string& text, const char* name) {
  if (text.find('\0') != std::string::npos) Refuse(std::string("the ") + name + " holds a zero byte");
  Mark(name);
  // One byte at a time: GCC 12 takes a range insert here for an overflow.
  for (const char c : text) bytes.push_back(static_cast<std::uint8_t>(c));
  bytes.push_back(0);
}

void PartWriter::Data(std::span<const std::uint8_t>& data, std::size_t, const char* name) {
  Mark(name);
  bytes.insert(bytes.end(), data.begin(), data.end());
}

void PartWriter::Limit(bool ok, int, const char* name) {
  if (!ok) Refuse(std::string("the ") + name + " is out of its bounds");
}

void PartWriter::VersionLimit(bool ok, const std::string& version) {
  if (!ok) Refuse("the version " + version + " is not this program's");
}

void PartWriter::Entries(std::vector<std::int32_t>& list, std::int32_t count, const char* name) {
  // A count below 0 has been refused already.
  if (list.size() != static_cast<std::size_t>(count)) {
    Refuse(std::string("the ") + name + " hold " + std::to_string(list.size()) + " entries, not " +
           std::to_string(count));
  }
}

void PartWriter::Refuse(const std::string& why) const { throw BuildError(part_ + ": " + why); }

void PartWriter::Mark(const char* name) {
  if (depth_ == 0) offsets.emplace(name, bytes.size());
}

void PartWriter::Number(std::uint32_t value, const char* name) {
  Mark(name);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace brennick::build
