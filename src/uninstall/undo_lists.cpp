#include "uninstall/undo_lists.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>

#include "foundation/path_text.h"
#include "foundation/text.h"
#include "run/comma_fields.h"

namespace brennick {

namespace {

constexpr char kComServerMark = '^';
constexpr char kPermanentMark = ' ';
constexpr char kTypeLibraryMark = '\xA9';
constexpr unsigned long kHighestPort = 65535;

// The next double-quoted token at `pos`, after optional blanks; `pos` moves
// past its closing quote. Nothing when no complete token follows.
std::optional<std::string_view> NextQuoted(std::string_view text, std::size_t& pos, bool skipBlanks) {
  if (skipBlanks) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  } else {
    pos = text.find('"', pos);
    if (pos == std::string_view::npos) return std::nullopt;
  }
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  const std::size_t close = text.find('"', pos + 1);
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view token = text.substr(pos + 1, close - pos - 1);
  pos = close + 1;
  return token;
}

// Whether the last byte of a UTF-8 text is the final byte of a character of
// more than one byte (a lead byte with exactly the right number of
// continuation bytes after it).
bool EndsInMultiByteCharacter(std::string_view text) {
  std::size_t continuation = 0;
  std::size_t i = text.size();
  while (i > 0 && continuation < 4 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80) {
    --i;
    ++continuation;
  }
  if (continuation == 0 || i == 0) return false;
  const auto lead = static_cast<unsigned char>(text[i - 1]);
  const std::size_t length = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
  return length == continuation + 1;
}

bool TakeMark(std::string_view& entry, char mark) {
  if (entry.empty() || entry.back() != mark) return false;
  // In a UTF-8 path the byte 0xA9 also ends characters such as "é"; there it
  // is part of the name, not a mark (a mark always follows a whole name).
  if (mark == kTypeLibraryMark && IsUtf8Path(entry) && EndsInMultiByteCharacter(entry)) return false;
  entry.remove_suffix(1);
  return true;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<ProductFont> ParseProductFonts(std::string_view value) {
  std::vector<ProductFont> fonts;
  std::size_t pos = 0;
  while (true) {
    const auto name = NextQuoted(value, pos, true);
    if (!name) break;
    const auto file = NextQuoted(value, pos, true);
    if (!file) break;
    if (!name->empty() && !file->empty()) fonts.push_back({std::string(*name), std::string(*file)});
  }
  return fonts;
}

std::vector<SharedFileEntry> ParseSharedFiles(std::string_view value) {
  std::vector<SharedFileEntry> entries;
  std::size_t pos = 0;
  while (true) {
    auto token = NextQuoted(value, pos, false);
    if (!token) break;
    std::string_view path = *token;
    SharedFileEntry entry;
    entry.ComServer = TakeMark(path, kComServerMark);
    entry.Permanent = TakeMark(path, kPermanentMark);
    entry.TypeLibrary = TakeMark(path, kTypeLibraryMark);
    if (path.empty()) break;
    entry.Path = std::string(path);
    entries.push_back(std::move(entry));
  }
  return entries;
}

RegistryEntryUndo ClassifyRegistryEntry(std::string_view line) {
  const std::vector<std::string> fields = SplitCommaFields(line);
  RegistryEntryUndo undo;
  if (fields.size() == 1) {
    const std::string_view key = TrimWhiteSpace(fields[0]);
    if (std::count(key.begin(), key.end(), '\\') >= 2) {
      undo.kind = RegistryEntryUndo::Kind::Key;
      undo.Key = std::string(key);
    }
  } else if (fields.size() == 6 && fields[5] != "1") {
    undo.kind = RegistryEntryUndo::Kind::Value;
    undo.Key = fields[0];
    undo.ValueName = fields[1];
  }
  return undo;
}

std::string AssociationBackupName(std::string_view productName) {
  std::string name = std::string(productName) + " Backup";
  std::erase_if(name, [](char c) { return c == '\\' || c == '\r' || c == '\n' || c == '\t'; });
  return name;
}

std::optional<FirewallUndo> ParseFirewallLine(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t semicolon = line.find(';', start);
    fields.push_back(line.substr(start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start));
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  if (fields.size() != 4 || fields[0].empty()) return std::nullopt;
  FirewallUndo undo;
  if (!AllDigits(fields[0])) {
    undo.Program = std::string(fields[0]);
    return undo;
  }
  // No exception can have been opened for a number that is not a port.
  std::uint64_t port = 0;
  const auto [end, error] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), port);
  (void)end;
  if (error != std::errc() || port > kHighestPort) return std::nullopt;
  undo.Port = static_cast<unsigned long>(port);
  undo.IsPort = true;
  undo.Protocols = std::strtoul(std::string(fields[2]).c_str(), nullptr, 10);
  return undo;
}

std::vector<std::string> FoldersLongestFirst(std::vector<std::string> folders) {
  std::stable_sort(folders.begin(), folders.end(),
                   [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return folders;
}

}  // namespace brennick
