#include "run/uninstall_data.h"

#include <initializer_list>
#include <optional>
#include <utility>

#include "foundation/text.h"
#include "package/line_breaks.h"
#include "run/comma_fields.h"

namespace brennick {

namespace {

enum class Section {
  Removals,
  Strings,
  AutoClose,
  Associations,
  Firewall,
  Inf,
  Msi,
  Registry,
  Registry2,
  ConditionalDelete,
};

constexpr std::pair<std::string_view, Section> kHeaders[] = {
    {"[Strings]", Section::Strings},     {"[Associations]", Section::Associations},
    {"[AutoClose]", Section::AutoClose}, {"[Firewall]", Section::Firewall},
    {"[INF]", Section::Inf},             {"[Registry]", Section::Registry},
    {"[Registry2]", Section::Registry2}, {"[MSI]", Section::Msi},
    {"[ConditionalDelete]", Section::ConditionalDelete},
};

constexpr std::string_view kAssociationSeparator = "~!~";
constexpr std::uint8_t kDeleteAtUninstall = 8;  // FileDeletionEntry flag bit 3

// ---- writing

void AppendSection(std::string& text, std::string_view header, const std::string& body) {
  if (body.empty()) return;
  text += "\r\n\r\n";
  text += header;
  text += "\r\n";
  text += body;
}

std::string LinesBody(const std::vector<std::string>& lines) {
  std::string body;
  for (const std::string& line : lines) body += line + "\r\n";
  return body;
}

std::string CommaLine(std::initializer_list<std::string> fields) {
  return JoinCommaFields(std::span<const std::string>(fields.begin(), fields.size())) + "\r\n";
}

std::string StringOf(const UninstallData& data, int number) {
  const auto found = data.Strings.find(number);
  return found == data.Strings.end() ? std::string() : found->second;
}

// ---- reading

std::optional<Section> HeaderOf(std::string_view trimmedLine) {
  for (const auto& [header, section] : kHeaders) {
    if (trimmedLine == header) return section;
  }
  return std::nullopt;
}

// A string's text ends before a line that begins with "~" or with a header.
bool EndsStringText(std::string_view rawLine) {
  if (rawLine.starts_with('~')) return true;
  for (const auto& [header, section] : kHeaders) {
    if (rawLine.starts_with(header)) return true;
  }
  return false;
}

// Leading blanks, an optional sign and decimal digits; anything else ends the
// number. No digits: 0. Large values are held at a bound far outside every
// range the file uses.
std::int64_t ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < 100'000'000'000) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::string StripTrailingWhiteSpace(std::string text) {
  while (!text.empty() && IsWhiteSpace(text.back())) text.pop_back();
  return text;
}

std::optional<FileAssociation> ParseAssociation(std::string_view line) {
  const std::size_t first = line.find(kAssociationSeparator);
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = line.find(kAssociationSeparator, first + kAssociationSeparator.size());
  if (second == std::string_view::npos) return std::nullopt;
  FileAssociation entry{std::string(line.substr(0, first)),
                        std::string(line.substr(first + kAssociationSeparator.size(),
                                                second - first - kAssociationSeparator.size())),
                        std::string(line.substr(second + kAssociationSeparator.size()))};
  if (entry.ExtensionKey.empty() || entry.FileTypeKey.empty() || entry.Verb.empty()) return std::nullopt;
  return entry;
}

}  // namespace

std::string WriteUninstallDataText(const UninstallData& data) {
  std::string text;
  for (const RemovalEntry& entry : data.Removals) {
    if (entry.kind == kRemoveFolder) text += '~';
    text += entry.path + "\r\n";
  }

  text += "\r\n\r\n[Strings]\r\n";
  for (int number : kUninstallStringNumbers) {
    text += "~" + std::to_string(number) + "\r\n" + StringOf(data, number) + "\r\n";
  }
  text += "~" + std::to_string(kWindowTitleString) + "\r\n" + StringOf(data, kWindowTitleString) + "\r\n";

  std::string body;
  for (const ProgramToClose& entry : data.ProgramsToClose) {
    body += CommaLine({entry.ClassPattern, entry.TitlePattern, entry.DisplayName, std::to_string(entry.Action)});
  }
  AppendSection(text, "[AutoClose]", body);

  body.clear();
  for (const FileAssociation& entry : data.Associations) {
    body += entry.ExtensionKey + std::string(kAssociationSeparator) + entry.FileTypeKey +
            std::string(kAssociationSeparator) + entry.Verb + "\r\n";
  }
  AppendSection(text, "[Associations]", body);
  AppendSection(text, "[Firewall]", LinesBody(data.FirewallLines));
  AppendSection(text, "[INF]", LinesBody(data.DriverLocations));

  body.clear();
  for (const MsiRemoval& entry : data.MsiPackages) {
    body += "\"" + entry.Path + "\"," + std::to_string(entry.UiLevel) + "\r\n";
  }
  AppendSection(text, "[MSI]", body);
  AppendSection(text, "[Registry]", LinesBody(data.RegistryValues));
  AppendSection(text, "[Registry2]", LinesBody(data.RegistryEntries));

  body.clear();
  for (const FileDeletionEntry& entry : data.ConditionalDeletes) {
    if ((entry.Flags & kDeleteAtUninstall) == 0) continue;
    body += CommaLine({entry.Name, std::to_string(static_cast<std::int8_t>(entry.ConditionType)), entry.ConditionValue,
                       std::to_string(entry.Flags)});
  }
  AppendSection(text, "[ConditionalDelete]", body);
  return text;
}

UninstallData ReadUninstallDataText(std::string_view text) {
  UninstallData data;
  const std::vector<std::string> lines = UninstallDataLines(text);
  Section section = Section::Removals;
  for (std::size_t next = 0; next < lines.size();) {
    const std::string_view line = TrimWhiteSpace(lines[next++]);
    if (const std::optional<Section> header = HeaderOf(line)) {
      section = *header;
      continue;
    }
    if (line.empty()) continue;
    switch (section) {
      case Section::Removals:
        if (line.front() == '~') {
          if (line.size() > 1) data.Removals.push_back({kRemoveFolder, std::string(line.substr(1))});
        } else {
          data.Removals.push_back({kRemoveFile, std::string(line)});
        }
        break;
      case Section::Strings: {
        if (line.front() != '~') break;
        const std::int64_t number = ParseDecimal(line.substr(1));
        if (number < 1 || number > 1000) break;
        // The text runs over the following lines as they stand; the line
        // that ends it is read again as a line of its own.
        std::string value;
        for (; next < lines.size() && !EndsStringText(lines[next]); ++next) value += lines[next] + "\r\n";
        data.Strings[static_cast<int>(number)] = StripTrailingWhiteSpace(std::move(value));
        break;
      }
      case Section::AutoClose: {
        std::vector<std::string> fields = SplitCommaFields(line);
        if (fields.size() != 4) break;
        ProgramToClose entry{std::move(fields[0]), std::move(fields[1]), std::move(fields[2]),
                             static_cast<std::uint32_t>(ParseDecimal(fields[3])), 0};
        entry.PassMask = entry.Action == 2 ? 4 : 2;
        data.ProgramsToClose.push_back(std::move(entry));
        break;
      }
      case Section::Associations:
        if (std::optional<FileAssociation> entry = ParseAssociation(line)) data.Associations.push_back(*entry);
        break;
      case Section::Firewall:
        data.FirewallLines.emplace_back(line);
        break;
      case Section::Inf:
        data.DriverLocations.emplace_back(line);
        break;
      case Section::Msi: {
        std::vector<std::string> fields = SplitCommaFields(line);
        if (fields.size() != 2) break;
        const std::string_view path = TrimWhiteSpace(fields[0]);
        if (path.empty()) break;
        data.MsiPackages.push_back({std::string(path), static_cast<std::int32_t>(ParseDecimal(fields[1]))});
        break;
      }
      case Section::Registry:
        data.RegistryValues.emplace_back(line);
        break;
      case Section::Registry2:
        data.RegistryEntries.emplace_back(line);
        break;
      case Section::ConditionalDelete: {
        std::vector<std::string> fields = SplitCommaFields(line);
        if (fields.size() != 4) break;
        data.ConditionalDeletes.push_back({std::move(fields[0]), static_cast<std::uint8_t>(ParseDecimal(fields[1])),
                                           std::move(fields[2]), static_cast<std::uint8_t>(ParseDecimal(fields[3]))});
        break;
      }
    }
  }
  return data;
}

std::vector<std::string> UninstallDataLines(std::string_view text) {
  const std::string normalized = NormalizeLineBreaks(text);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < normalized.size()) {
    std::size_t end = normalized.find("\r\n", start);
    if (end == std::string::npos) end = normalized.size();
    lines.push_back(normalized.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace brennick
