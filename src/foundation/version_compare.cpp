#include "foundation/version_compare.h"

#include <vector>

namespace brennick {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The digit runs without their leading zeros, so that any length compares.
std::vector<std::string_view> Numbers(std::string_view text) {
  std::vector<std::string_view> numbers;
  if (!text.empty() && text.front() == '.') numbers.emplace_back();  // the leading 0
  for (std::size_t i = 0; i < text.size();) {
    if (!IsDigit(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    std::size_t start = i;
    while (start < end && text[start] == '0') ++start;
    numbers.push_back(text.substr(start, end - start));
    i = end;
  }
  return numbers;
}

int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int LastLetter(std::string_view text) {
  for (std::size_t i = text.size(); i-- > 0;) {
    if (IsLetter(text[i])) return static_cast<unsigned char>(text[i]);
  }
  return 0;
}

}  // namespace

int CompareVersions(std::string_view a, std::string_view b) {
  const std::vector<std::string_view> left = Numbers(a);
  const std::vector<std::string_view> right = Numbers(b);
  for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
    if (const int order = CompareNumbers(left[i], right[i]); order != 0) return order;
  }
  if (left.size() != right.size()) return left.size() < right.size() ? -1 : 1;
  const int letters = LastLetter(a) - LastLetter(b);
  return letters < 0 ? -1 : (letters > 0 ? 1 : 0);
}

}  // namespace brennick
