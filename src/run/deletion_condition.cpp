#include "run/deletion_condition.h"

#include <charconv>
#include <limits>
#include <optional>
#include <tuple>

#include "foundation/text.h"
#include "package/corrupt_installer.h"

namespace brennick {

namespace {

// A number of `minDigits` to `maxDigits` decimal digits at the front of
// `text`, taken off it.
std::optional<int> TakeNumber(std::string_view& text, std::size_t minDigits, std::size_t maxDigits) {
  std::size_t digits = 0;
  while (digits < text.size() && digits < maxDigits && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits < minDigits) return std::nullopt;
  int number = 0;
  for (std::size_t i = 0; i < digits; ++i) number = number * 10 + (text[i] - '0');
  text.remove_prefix(digits);
  return number;
}

bool TakeChar(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD" (month and day may have one digit), the whole text.
std::optional<DateTime> ParseDate(std::string_view text) {
  const auto year = TakeNumber(text, 4, 4);
  if (!year || !TakeChar(text, '-')) return std::nullopt;
  const auto month = TakeNumber(text, 1, 2);
  if (!month || !TakeChar(text, '-')) return std::nullopt;
  const auto day = TakeNumber(text, 1, 2);
  if (!day || !text.empty()) return std::nullopt;
  if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
  DateTime date;
  date.year = *year;
  date.month = *month;
  date.day = *day;
  return date;
}

// "HH:MM:SS" (each part may have one digit), the whole text, into `when`.
bool ParseTime(std::string_view text, DateTime& when) {
  const auto hour = TakeNumber(text, 1, 2);
  if (!hour || !TakeChar(text, ':')) return false;
  const auto minute = TakeNumber(text, 1, 2);
  if (!minute || !TakeChar(text, ':')) return false;
  const auto second = TakeNumber(text, 1, 2);
  if (!second || !text.empty()) return false;
  if (*hour > 23 || *minute > 59 || *second > 59) return false;
  when.hour = *hour;
  when.minute = *minute;
  when.second = *second;
  return true;
}

// -1, 0 or 1 as the file's last change lies before, on or after the value's
// date (and time, when the value has a valid one).
int CompareWithDate(std::string_view value, const DateTime& modified) {
  value = TrimWhiteSpace(value);
  const std::size_t blank = value.find(' ');
  const std::string_view datePart = value.substr(0, blank);
  std::optional<DateTime> given = ParseDate(datePart);
  if (!given) CorruptInstaller(corrupt::kDeletionDate);
  const bool withTime =
      blank != std::string_view::npos && ParseTime(TrimWhiteSpace(value.substr(blank)), *given);
  const auto key = [withTime](const DateTime& d) {
    return withTime ? std::tuple(d.year, d.month, d.day, d.hour, d.minute, d.second)
                    : std::tuple(d.year, d.month, d.day, 0, 0, 0);
  };
  const auto file = key(modified);
  const auto limit = key(*given);
  return file < limit ? -1 : (limit < file ? 1 : 0);
}

// Leading blanks, then decimal digits; a value without digits reads as 0 (as
// strtoull reads it), one too large for 64 bits as the largest number.
std::uint64_t SizeOf(std::string_view value) {
  while (!value.empty() && IsWhiteSpace(value.front())) value.remove_prefix(1);
  std::uint64_t size = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
  (void)end;
  if (error == std::errc::result_out_of_range) return std::numeric_limits<std::uint64_t>::max();
  return error == std::errc() ? size : 0;
}

}  // namespace

bool DeletionConditionHolds(std::uint8_t conditionType, std::string_view value, const FileFacts& file) {
  switch (static_cast<std::int8_t>(conditionType)) {
    case 1:
      return CompareWithDate(value, file.modified) == 0;
    case 2:
      return CompareWithDate(value, file.modified) < 0;
    case 3:
      return CompareWithDate(value, file.modified) > 0;
    case 4:
      return file.size == SizeOf(value);
    case 5:
      return file.size >= SizeOf(value);
    case 6:
      return file.size <= SizeOf(value);
    default:
      return true;
  }
}

}  // namespace brennick
