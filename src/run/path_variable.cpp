#include "run/path_variable.h"

#include "foundation/text.h"

namespace brennick {

namespace {

// Wide counterparts of the ASCII case folding in foundation/text.h: only the
// letters A to Z fold, whatever the machine's locale.
wchar_t FoldWide(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualsNoCaseWide(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldWide(a[i]) != FoldWide(b[i])) return false;
  }
  return true;
}

std::size_t FindNoCaseWide(std::wstring_view text, std::wstring_view needle) {
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    if (EqualsNoCaseWide(text.substr(i, needle.size()), needle)) return i;
  }
  return std::wstring_view::npos;
}

bool EndsWithNoCaseWide(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCaseWide(text.substr(text.size() - suffix.size()), suffix);
}

bool StartsLine(std::string_view text, std::size_t at) { return at == 0 || text[at - 1] == '\n'; }

bool EndsLine(std::string_view text, std::size_t at) {
  return at == text.size() || text[at] == '\r' || text[at] == '\n';
}

// The first occurrence of `line` (any letter case) that is a whole line of
// `text`: it starts a line and either ends with its own line feed or is
// followed by a line end or the end of the text. A match inside another line
// ("REM PATH=...", or "PATH=%PATH%;C:\\APP" inside "...;C:\\APPS") is not the
// line this installation wrote, and cutting it out would damage that line.
std::size_t FindLine(std::string_view text, std::string_view line) {
  const bool endsItself = line.ends_with('\n');
  for (std::size_t from = 0; from + line.size() <= text.size(); ++from) {
    const std::size_t hit = FindNoCase(text.substr(from), line);
    if (hit == std::string_view::npos) break;
    const std::size_t at = from + hit;
    if (StartsLine(text, at) && (endsItself || EndsLine(text, at + line.size()))) return at;
    from = at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<std::wstring> EditPathValue(std::wstring_view value, std::wstring_view folder, PathChange change) {
  if (value.empty() || folder.empty()) return std::nullopt;
  const std::wstring entry = std::wstring(folder) + L";";
  const std::size_t found = FindNoCaseWide(value, entry);
  std::wstring edited(value);
  if (change == PathChange::Add) {
    if (found != std::wstring_view::npos || EndsWithNoCaseWide(value, folder)) return std::nullopt;
    if (edited.back() != L';') edited += L';';
    edited += folder;
    return edited;
  }
  if (found != std::wstring_view::npos) {
    edited.erase(found, entry.size());
    return edited;
  }
  if (!EndsWithNoCaseWide(value, folder)) return std::nullopt;
  edited.resize(edited.size() - folder.size());
  if (!edited.empty() && edited.back() == L';') edited.pop_back();
  return edited;
}

std::string AutoexecPathLine(std::string_view shortFolder) {
  return "PATH=%PATH%;" + std::string(shortFolder) + "\r\n";
}

std::optional<std::string> EditAutoexec(std::string_view text, std::string_view line, PathChange change) {
  if (line.empty()) return std::nullopt;
  std::string edited(text);
  if (change == PathChange::Add) {
    if (FindLine(text, line) != std::string_view::npos) return std::nullopt;
    if (!edited.empty() && edited.back() != '\n') edited += "\r\n";
    edited += line;
    return edited;
  }
  std::size_t at = FindLine(text, line);
  std::string_view cut = line;
  if (at == std::string_view::npos && line.ends_with("\r\n")) {
    cut = line.substr(0, line.size() - 2);
    if (cut.empty()) return std::nullopt;
    at = FindLine(text, cut);
  }
  if (at == std::string_view::npos) return std::nullopt;
  edited.erase(at, cut.size());
  return edited;
}

std::string AutoexecFailureText(std::string_view autoexecPath, std::string_view folder, PathChange change) {
  const bool remove = change == PathChange::Remove;
  return "Unable to modify " + std::string(autoexecPath) + ".  You will need to manually " +
         (remove ? "remove " : "add ") + std::string(folder) + (remove ? " from" : " to") +
         " the PATH environment variable.\r\n\r\n";
}

}  // namespace brennick
