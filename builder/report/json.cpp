#include "builder/report/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "builder/basics/windows_1252.h"

namespace brennick::build {

JsonValue JsonValue::Bool(bool value) {
  JsonValue v;
  v.kind_ = Kind::Bool;
  v.text_ = value ? "true" : "false";
  return v;
}

JsonValue JsonValue::Number(std::int64_t value) {
  JsonValue v;
  v.kind_ = Kind::Number;
  v.text_ = std::to_string(value);
  return v;
}

JsonValue JsonValue::Number(std::uint64_t value) {
  JsonValue v;
  v.kind_ = Kind::Number;
  v.text_ = std::to_string(value);
  return v;
}

JsonValue JsonValue::Number(double value) {
  if (!std::isfinite(value)) return JsonValue();
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  if (std::strtod(text, nullptr) != value) std::snprintf(text, sizeof text, "%.17g", value);
  JsonValue v;
  v.kind_ = Kind::Number;
  v.text_ = text;
  return v;
}

JsonValue JsonValue::String(std::string_view utf8) {
  JsonValue v;
  v.kind_ = Kind::String;
  v.text_ = std::string(utf8);
  return v;
}

JsonValue JsonValue::Array() {
  JsonValue v;
  v.kind_ = Kind::Array;
  return v;
}

JsonValue JsonValue::Object() {
  JsonValue v;
  v.kind_ = Kind::Object;
  return v;
}

JsonValue& JsonValue::Add(JsonValue value) {
  items_.push_back(std::move(value));
  return items_.back();
}

JsonValue& JsonValue::Set(std::string key, JsonValue value) {
  keys_.push_back(std::move(key));
  items_.push_back(std::move(value));
  return items_.back();
}

std::string JsonQuote(std::string_view text) {
  const std::string utf8 = IsValidUtf8(text) ? std::string(text) : Windows1252ToUtf8(text);
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

namespace {

bool IsScalar(const JsonValue& v) { return v.kind() != JsonValue::Kind::Array && v.kind() != JsonValue::Kind::Object; }

void Write(const JsonValue& v, int depth, std::string& out) {
  const std::string indent(2 * static_cast<std::size_t>(depth + 1), ' ');
  const std::string closing(2 * static_cast<std::size_t>(depth), ' ');
  switch (v.kind()) {
    case JsonValue::Kind::Null:
      out += "null";
      return;
    case JsonValue::Kind::Bool:
    case JsonValue::Kind::Number:
      out += v.text();
      return;
    case JsonValue::Kind::String:
      out += JsonQuote(v.text());
      return;
    case JsonValue::Kind::Array: {
      bool flat = true;
      for (const JsonValue& item : v.items()) flat = flat && IsScalar(item);
      if (v.items().empty() || flat) {
        out += '[';
        for (std::size_t i = 0; i < v.items().size(); ++i) {
          if (i > 0) out += ", ";
          Write(v.items()[i], depth + 1, out);
        }
        out += ']';
        return;
      }
      out += "[\n";
      for (std::size_t i = 0; i < v.items().size(); ++i) {
        out += indent;
        Write(v.items()[i], depth + 1, out);
        out += i + 1 < v.items().size() ? ",\n" : "\n";
      }
      out += closing + "]";
      return;
    }
    case JsonValue::Kind::Object: {
      if (v.items().empty()) {
        out += "{}";
        return;
      }
      out += "{\n";
      for (std::size_t i = 0; i < v.items().size(); ++i) {
        out += indent + JsonQuote(v.keys()[i]) + ": ";
        Write(v.items()[i], depth + 1, out);
        out += i + 1 < v.items().size() ? ",\n" : "\n";
      }
      out += closing + "}";
      return;
    }
  }
}

}  // namespace

std::string WriteJson(const JsonValue& value) {
  std::string out;
  Write(value, 0, out);
  out += '\n';
  return out;
}

}  // namespace brennick::build
