#include "run/comma_fields.h"

namespace brennick {

namespace {

std::string QuoteField(const std::string& field) {
  std::string out;
  out.reserve(field.size() + 2);
  for (char c : field) {
    out += c;
    if (c == '"') out += '"';
  }
  const bool enclose = out.find_first_of(",\"\t\r\n;|") != std::string::npos ||
                       (!out.empty() && (out.front() == ' ' || out.front() == '\'' || out.back() == ' '));
  return enclose ? '"' + out + '"' : out;
}

}  // namespace

std::string JoinCommaFields(std::span<const std::string> fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) line += ',';
    line += QuoteField(fields[i]);
  }
  return line;
}

std::vector<std::string> SplitCommaFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  bool fieldStart = true;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (fieldStart && c == ' ') continue;
    fieldStart = false;
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
      fieldStart = true;
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace brennick
