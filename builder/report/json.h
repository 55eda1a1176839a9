#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brennick::build {

// A JSON value for the builder's reports: objects keep their members in the
// order they were added.
class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  JsonValue() = default;  // null
  static JsonValue Bool(bool value);
  static JsonValue Number(std::int64_t value);
  static JsonValue Number(std::uint64_t value);
  static JsonValue Number(double value);  // null when not finite
  static JsonValue String(std::string_view utf8);
  static JsonValue Array();
  static JsonValue Object();

  Kind kind() const { return kind_; }

  // Arrays: appends; objects: appends a member. Returns the added value.
  JsonValue& Add(JsonValue value);
  JsonValue& Set(std::string key, JsonValue value);

  const std::vector<JsonValue>& items() const { return items_; }  // array elements or member values
  const std::vector<std::string>& keys() const { return keys_; }  // member names of an object
  const std::string& text() const { return text_; }               // number text, string value

 private:
  Kind kind_ = Kind::Null;
  std::string text_;
  std::vector<std::string> keys_;
  std::vector<JsonValue> items_;
};

// The value as indented JSON text with a final line break.
std::string WriteJson(const JsonValue& value);

// A JSON string literal, quotes included. Text that is not valid UTF-8 is
// taken as Windows-1252.
std::string JsonQuote(std::string_view text);

}  // namespace brennick::build
