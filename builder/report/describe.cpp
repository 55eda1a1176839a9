#include "builder/report/describe.h"

#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

#include "builder/basics/flag_names.h"
#include "builder/basics/windows_1252.h"
#include "package/package_checksum.h"
#include "package/settings_fields.h"

namespace brennick::build {

namespace {

std::string Hex(std::uint64_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

// Stored texts are Windows-1252, except "|" texts, which carry UTF-8.
std::string TextAsUtf8(std::string_view text) {
  if (!text.empty() && text.front() == '|' && IsValidUtf8(text)) return std::string(text);
  return Windows1252ToUtf8(text);
}

class Describer {
 public:
  static constexpr WalkMode kMode = WalkMode::Describing;

  explicit Describer(JsonValue& root) : root_(root) {}

  void U8(std::uint8_t& v, const char* name) { Put(name, JsonValue::Number(std::uint64_t{v})); }
  void U16(std::uint16_t& v, const char* name) { Put(name, JsonValue::Number(std::uint64_t{v})); }
  void U32(std::uint32_t& v, const char* name) {
    Put(name, JsonValue::Number(std::uint64_t{v}));
    if (frames_.empty() && std::string_view(name) == "ProductFlags2") PutFlagNames(v);
  }
  void I32(std::int32_t& v, const char* name) { Put(name, JsonValue::Number(std::int64_t{v})); }
  void U64(std::uint64_t& v, const char* name) {
    Put(name, JsonValue::String(Hex(v, 16)));
    if (frames_.empty() && std::string_view(name) == "ProductFlags") productFlags_ = v;
  }
  void F64(double& v, const char* name) { Put(name, JsonValue::Number(v)); }
  void Str(std::string& text, const char* name) { Put(name, JsonValue::String(TextAsUtf8(text))); }
  void Blob(std::string& data, const char* name) {
    JsonValue blob = JsonValue::Object();
    blob.Set("size", JsonValue::Number(std::uint64_t{data.size()}));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    blob.Set("checksum", JsonValue::String(Hex(PackageChecksum(bytes), 8)));
    Put(name, std::move(blob));
  }
  template <std::size_t N>
  void Bytes(std::array<std::uint8_t, N>& raw, const char* name) {
    std::string hex;
    for (std::uint8_t byte : raw) hex += Hex(byte, 2).substr(2);
    Put(name, JsonValue::String(hex));
  }
  void Count(std::uint32_t&, const char*) {}  // the arrays show their length
  void CountU8(std::uint8_t&, const char*) {}
  void Limit(bool ok, int code, const char* name) {
    if (ok) return;
    JsonValue problem = JsonValue::Object();
    problem.Set("field", JsonValue::String(name));
    problem.Set("code", JsonValue::Number(std::int64_t{code}));
    problems_.Add(std::move(problem));
  }
  void AfterField7() {}
  void BeginList(const char* name) {
    JsonValue& list = Put(name, JsonValue::Array());
    frames_.push_back({name, &list, nullptr});
  }
  void Item() { frames_.back().item = &frames_.back().list->Add(JsonValue::Object()); }
  void EndList() {
    JsonValue& list = *frames_.back().list;
    frames_.pop_back();
    JsonValue collapsed = JsonValue::Array();
    for (const JsonValue& item : list.items()) {
      collapsed.Add(item.items().size() == 1 ? item.items().front() : item);
    }
    list = std::move(collapsed);
  }

  JsonValue problems_ = JsonValue::Array();

 private:
  struct Frame {
    std::string_view name;
    JsonValue* list;
    JsonValue* item;
  };

  // The lists that end at a terminator walk their first field as "first".
  std::string FieldName(const char* name) const {
    if (std::string_view(name) == "first" && !frames_.empty()) {
      if (frames_.back().name == "FileDeletions") return "Name";
      if (frames_.back().name == "ProgramsToClose") return "ClassPattern";
    }
    return name;
  }

  JsonValue& Put(const char* name, JsonValue value) {
    if (frames_.empty()) return root_.Set(name, std::move(value));
    return frames_.back().item->Set(FieldName(name), std::move(value));
  }

  void PutFlagNames(std::uint32_t productFlags2) {
    JsonValue names = JsonValue::Array();
    for (const std::string& flag : SetFlagNames(productFlags_, productFlags2)) names.Add(JsonValue::String(flag));
    root_.Set("flags", std::move(names));
  }

  JsonValue& root_;
  std::vector<Frame> frames_;
  std::uint64_t productFlags_ = 0;
};

}  // namespace

JsonValue DescribeSettings(const SettingsRecord& record) {
  SettingsRecord copy = record;  // the walk takes the record by reference
  JsonValue root = JsonValue::Object();
  Describer describer(root);
  VisitSettingsRecord(describer, copy);
  if (!describer.problems_.items().empty()) root.Set("problems", std::move(describer.problems_));
  return root;
}

std::string DescribeSettingsJson(const SettingsRecord& record) { return WriteJson(DescribeSettings(record)); }

}  // namespace brennick::build
