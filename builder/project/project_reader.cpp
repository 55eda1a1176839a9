#include "builder/project/project_reader.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

#include "builder/basics/build_error.h"
#include "builder/basics/windows_1252.h"
#include "package/line_breaks.h"

namespace brennick::build {

void SourceFile::Fail(std::uint32_t line, std::string_view what) const {
  throw BuildError(label_ + ":" + std::to_string(line) + ": " + std::string(what));
}

toml::table SourceFile::Parse(const std::filesystem::path& file) const {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw BuildError(label_ + ": cannot open the file");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  try {
    return toml::parse(text, file.string());
  } catch (const toml::parse_error& error) {
    Fail(error.source().begin.line, error.description());
  }
}

TableReader::TableReader(const SourceFile& file, const toml::table& table, std::string where)
    : file_(&file), table_(&table), where_(std::move(where)) {}

std::uint32_t TableReader::line() const { return table_->source().begin.line; }

std::uint32_t TableReader::LineOf(std::string_view key) const {
  const toml::node* node = table_->get(key);
  if (node != nullptr && node->source().begin.line != 0) return node->source().begin.line;
  return line();
}

bool TableReader::Has(std::string_view key) const { return table_->contains(key); }

std::vector<std::string> TableReader::Keys() const {
  std::vector<std::string> keys;
  for (const auto& entry : *table_) keys.emplace_back(entry.first.str());
  return keys;
}

const toml::node* TableReader::Node(std::string_view key) {
  known_.emplace(key);
  return table_->get(key);
}

void TableReader::Fail(std::string_view key, std::string_view what) const {
  const std::string name = where_.empty() ? std::string(key) : where_ + " " + std::string(key);
  file_->Fail(LineOf(key), name + ": " + std::string(what));
}

void TableReader::FailTable(std::string_view what) const { file_->Fail(line(), where_ + ": " + std::string(what)); }

std::string TableReader::Stored(std::string_view key, std::string utf8) const {
  if (utf8.find('\0') != std::string::npos) Fail(key, "a text may not hold a zero character");
  if (!utf8.empty() && utf8.front() == '|') return utf8;  // a UTF-8 path, as the program takes it
  auto text = Utf8ToWindows1252(utf8);
  if (!text) {
    Fail(key, "the character " + FirstCharacterOutside1252(utf8) +
                  " has no Windows-1252 form (only paths that begin with \"|\" may hold any character)");
  }
  return *text;
}

std::optional<std::string> TableReader::Utf8(std::string_view key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_string()) Fail(key, "expected a string");
  return node->as_string()->get();
}

std::optional<std::string> TableReader::Text(std::string_view key) {
  auto utf8 = Utf8(key);
  if (!utf8) return std::nullopt;
  return Stored(key, std::move(*utf8));
}

std::optional<std::string> TableReader::Lines(std::string_view key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  std::string utf8;
  if (node->is_string()) {
    utf8 = node->as_string()->get();
  } else if (node->is_array()) {
    for (const toml::node& line : *node->as_array()) {
      if (!line.is_string()) Fail(key, "expected a string or an array of strings");
      utf8 += line.as_string()->get();
      utf8 += "\r\n";
    }
  } else {
    Fail(key, "expected a string or an array of strings");
  }
  return NormalizeLineBreaks(Stored(key, std::move(utf8)));
}

std::optional<bool> TableReader::Bool(std::string_view key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_boolean()) Fail(key, "expected true or false");
  return node->as_boolean()->get();
}

std::optional<std::int64_t> TableReader::Integer(std::string_view key, std::int64_t min, std::int64_t max) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_integer()) Fail(key, "expected an integer");
  const std::int64_t value = node->as_integer()->get();
  if (value < min || value > max) {
    Fail(key, "expected an integer from " + std::to_string(min) + " to " + std::to_string(max));
  }
  return value;
}

std::optional<std::uint64_t> TableReader::Bits(std::string_view key, unsigned width) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  const std::string expected = "expected a " + std::to_string(width) + "-bit number (an integer or a \"0x...\" string)";
  std::uint64_t value = 0;
  if (node->is_integer()) {
    if (node->as_integer()->get() < 0) Fail(key, expected);
    value = static_cast<std::uint64_t>(node->as_integer()->get());
  } else if (node->is_string()) {
    const std::string& text = node->as_string()->get();
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) Fail(key, expected);
    const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) Fail(key, expected);
  } else {
    Fail(key, expected);
  }
  if (width < 64 && (value >> width) != 0) Fail(key, expected);
  return value;
}

std::optional<double> TableReader::Number(std::string_view key, double min, double max) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  double value = 0;
  if (node->is_floating_point()) {
    value = node->as_floating_point()->get();
  } else if (node->is_integer()) {
    value = static_cast<double>(node->as_integer()->get());
  } else {
    Fail(key, "expected a number");
  }
  if (!(value >= min && value <= max)) {
    std::ostringstream range;
    range << "expected a number from " << min << " to " << max;
    Fail(key, range.str());
  }
  return value;
}

std::optional<std::uint32_t> TableReader::Color(std::string_view key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  const char* expected = "expected a colour: \"#RRGGBB\" or an integer 0x00BBGGRR from 0 to 0xFFFFFF";
  if (node->is_integer()) {
    // A set high byte would make Windows read a palette index instead of a colour.
    const std::int64_t value = node->as_integer()->get();
    if (value < 0 || value > 0xFFFFFF) Fail(key, expected);
    return static_cast<std::uint32_t>(value);
  }
  if (!node->is_string()) Fail(key, expected);
  const std::string& text = node->as_string()->get();
  if (text.size() != 7 || text[0] != '#') Fail(key, expected);
  std::uint32_t rgb = 0;
  const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
  if (error != std::errc() || end != text.data() + 7) Fail(key, expected);
  const std::uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return red | (green << 8) | (blue << 16);
}

std::optional<CivilTime> TableReader::Time(std::string_view key, std::string_view words) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  const std::string expected =
      "expected " + std::string(words) + "a date (2024-05-31) or a date and time (2024-05-31T14:30:00)";
  CivilTime t;
  if (node->is_string()) {
    const auto parsed = ParseIsoDateTime(node->as_string()->get());
    if (!parsed) Fail(key, expected);
    return parsed;
  }
  if (node->is_date()) {
    const toml::date d = node->as_date()->get();
    t = {d.year, d.month, d.day, false, 0, 0, 0};
  } else if (node->is_date_time()) {
    const toml::date_time dt = node->as_date_time()->get();
    if (dt.offset && dt.offset->minutes != 0) Fail(key, "give the time in UTC (without an offset, or with Z)");
    t = {dt.date.year, dt.date.month, dt.date.day, true, dt.time.hour, dt.time.minute, dt.time.second};
  } else {
    Fail(key, expected);
  }
  if (!IsValidCivilTime(t)) Fail(key, expected);
  return t;
}

std::optional<std::string> TableReader::FileContents(std::string_view key) {
  const auto name = Utf8(key);
  if (!name) return std::nullopt;
  const std::filesystem::path path = file_->folder() / std::filesystem::path(*name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) Fail(key, "no such file: \"" + *name + "\"");
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) Fail(key, "cannot read \"" + *name + "\"");
  return bytes;
}

std::optional<std::size_t> TableReader::ChoiceIndex(std::string_view key, const std::vector<std::string_view>& names) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  std::string expected = "expected one of";
  for (std::size_t i = 0; i < names.size(); ++i)
    expected += std::string(i == 0 ? " \"" : ", \"") + std::string(names[i]) + "\"";
  if (!node->is_string()) Fail(key, expected);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (node->as_string()->get() == names[i]) return i;
  }
  Fail(key, expected);
}

std::optional<std::int64_t> TableReader::ChoiceOrInteger(std::string_view key, Names<std::int64_t> names,
                                                         std::int64_t min, std::int64_t max) {
  const toml::node* node = Node(key);
  if (node != nullptr && node->is_integer()) return Integer(key, min, max);
  return Choice(key, names);
}

std::optional<TableReader> TableReader::Table(std::string_view key) {
  const toml::node* node = Node(key);
  if (node == nullptr) return std::nullopt;
  if (!node->is_table()) Fail(key, "expected a table");
  const std::string name = where_.empty() ? "[" + std::string(key) + "]"
                                          : "[" + where_.substr(1, where_.size() - 2) + "." + std::string(key) + "]";
  return TableReader(*file_, *node->as_table(), name);
}

std::vector<TableReader> TableReader::Tables(std::string_view key) {
  std::vector<TableReader> tables;
  const toml::node* node = Node(key);
  if (node == nullptr) return tables;
  const std::string expected = "expected an array of tables: [[" + std::string(key) + "]]";
  if (!node->is_array()) Fail(key, expected);
  std::size_t number = 0;
  for (const toml::node& entry : *node->as_array()) {
    if (!entry.is_table()) Fail(key, expected);
    tables.emplace_back(*file_, *entry.as_table(), "[[" + std::string(key) + "]] #" + std::to_string(++number));
  }
  return tables;
}

void TableReader::Finish() const {
  for (const auto& [key, node] : *table_) {
    if (known_.count(key.str()) == 0) {
      const std::string name = where_.empty() ? std::string(key.str()) : where_ + " " + std::string(key.str());
      const std::uint32_t at = node.source().begin.line != 0 ? node.source().begin.line : line();
      file_->Fail(at, name + ": unknown key");
    }
  }
}

}  // namespace brennick::build
