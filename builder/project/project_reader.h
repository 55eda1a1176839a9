#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "builder/project/civil_time.h"
#include "builder/project/toml.h"

namespace brennick::build {

// A TOML file of a project: its name in messages and the folder that its
// relative paths start from.
class SourceFile {
 public:
  SourceFile(std::string label, std::filesystem::path folder) : label_(std::move(label)), folder_(std::move(folder)) {}

  const std::string& label() const { return label_; }
  const std::filesystem::path& folder() const { return folder_; }

  // Throws BuildError "<label>:<line>: <what>".
  [[noreturn]] void Fail(std::uint32_t line, std::string_view what) const;

  // The whole file, parsed; a syntax error throws BuildError with its line.
  toml::table Parse(const std::filesystem::path& file) const;

 private:
  std::string label_;
  std::filesystem::path folder_;
};

// Typed access to one TOML table of a project file. Every getter returns
// nothing for an absent key and throws BuildError naming the file, the line,
// the table and the key when the value has the wrong type or is out of
// range. Keys that were asked for are known; Finish() refuses the others.
//
// Texts come back as the program stores them: Windows-1252 (a text that
// begins with "|" stays UTF-8, as the program expects of such paths).
class TableReader {
 public:
  // `where` names the table in messages: "[product]", "[[files]] #2".
  TableReader(const SourceFile& file, const toml::table& table, std::string where);

  const SourceFile& file() const { return *file_; }
  const std::string& where() const { return where_; }
  std::uint32_t line() const;
  std::uint32_t LineOf(std::string_view key) const;  // the key's line, or the table's
  bool Has(std::string_view key) const;
  std::vector<std::string> Keys() const;  // every key of the table, in key order

  // The raw node (marks the key known), or nullptr.
  const toml::node* Node(std::string_view key);

  std::optional<std::string> Text(std::string_view key);
  std::optional<std::string> Utf8(std::string_view key);
  // A string or an array of strings (one per line); line breaks become "\r\n".
  std::optional<std::string> Lines(std::string_view key);
  std::optional<bool> Bool(std::string_view key);
  std::optional<std::int64_t> Integer(std::string_view key, std::int64_t min, std::int64_t max);
  // A non-negative integer or a "0x..." string, of at most `width` bits.
  std::optional<std::uint64_t> Bits(std::string_view key, unsigned width);
  std::optional<double> Number(std::string_view key, double min, double max);
  // "#RRGGBB" or an integer taken as the stored COLORREF 0x00BBGGRR (high byte 0).
  std::optional<std::uint32_t> Color(std::string_view key);
  // A TOML date or date-time, or the same as an ISO string. `words` names
  // other values the caller takes, for the message ("\"now\", ").
  std::optional<CivilTime> Time(std::string_view key, std::string_view words = {});
  // The bytes of the file the value names, relative to the project folder.
  std::optional<std::string> FileContents(std::string_view key);

  template <class T>
  using Names = std::initializer_list<std::pair<std::string_view, T>>;

  // One of the names.
  template <class T>
  std::optional<T> Choice(std::string_view key, Names<T> names) {
    const auto index = ChoiceIndex(key, NameList(names));
    if (!index) return std::nullopt;
    return (names.begin() + *index)->second;
  }
  std::optional<std::int64_t> ChoiceOrInteger(std::string_view key, Names<std::int64_t> names, std::int64_t min,
                                              std::int64_t max);  // a name, or an integer from min to max

  std::optional<TableReader> Table(std::string_view key);
  // An array of tables; entry n is named "[[key]] #n" in messages.
  std::vector<TableReader> Tables(std::string_view key);

  [[noreturn]] void Fail(std::string_view key, std::string_view what) const;
  [[noreturn]] void FailTable(std::string_view what) const;

  // Refuses every key that no getter asked for.
  void Finish() const;

 private:
  template <class T>
  static std::vector<std::string_view> NameList(Names<T> names) {
    std::vector<std::string_view> list;
    for (const auto& entry : names) list.push_back(entry.first);
    return list;
  }
  std::optional<std::size_t> ChoiceIndex(std::string_view key, const std::vector<std::string_view>& names);
  std::string Stored(std::string_view key, std::string utf8) const;

  const SourceFile* file_;
  const toml::table* table_;
  std::string where_;
  std::set<std::string, std::less<>> known_;
};

}  // namespace brennick::build
