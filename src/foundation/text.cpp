#include "foundation/text.h"

namespace brennick {

namespace {
char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = FoldAscii(c);
  return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t hit; (hit = text.find(from, start)) != std::string_view::npos;) {
    out.append(text, start, hit - start);
    out.append(to);
    start = hit + from.size();
  }
  out.append(text, start);
  return out;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle) {
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t hit; (hit = FindNoCase(text, from)) != std::string_view::npos;) {
    out.append(text.substr(0, hit));
    out.append(to);
    text.remove_prefix(hit + from.size());
  }
  out.append(text);
  return out;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimWhiteSpace(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace brennick
