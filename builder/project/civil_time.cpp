#include "builder/project/civil_time.h"

#include <chrono>
#include <cctype>

namespace brennick::build {

namespace {

// The number made of exactly `count` digits at `pos`, or -1.
int Digits(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

void PutLittleEndian(std::uint8_t* out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

bool IsValidCivilTime(const CivilTime& t) {
  using namespace std::chrono;
  if (t.year < 1601 || t.year > 9999) return false;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31) return false;
  const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)}, day{static_cast<unsigned>(t.day)}};
  if (!date.ok()) return false;
  if (!t.hasTime) return true;
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

std::optional<CivilTime> ParseIsoDateTime(std::string_view text) {
  CivilTime t;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  t.year = Digits(text, 0, 4);
  t.month = Digits(text, 5, 2);
  t.day = Digits(text, 8, 2);
  if (text.size() > 10) {
    if ((text[10] != 'T' && text[10] != ' ') || (text.size() != 16 && text.size() != 19)) return std::nullopt;
    if (text[13] != ':' || (text.size() == 19 && text[16] != ':')) return std::nullopt;
    t.hasTime = true;
    t.hour = Digits(text, 11, 2);
    t.minute = Digits(text, 14, 2);
    t.second = text.size() == 19 ? Digits(text, 17, 2) : 0;
  }
  if (!IsValidCivilTime(t)) return std::nullopt;
  return t;
}

CivilTime CivilFromUnixSeconds(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds at{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(at);
  const year_month_day date{day};
  const hh_mm_ss clock{at - day};
  CivilTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.hasTime = true;
  t.hour = static_cast<int>(clock.hours().count());
  t.minute = static_cast<int>(clock.minutes().count());
  t.second = static_cast<int>(clock.seconds().count());
  return t;
}

CivilTime ModificationTime(const std::filesystem::path& file) {
  using namespace std::chrono;
  const auto written = std::filesystem::last_write_time(file);
  const auto utc = floor<std::chrono::seconds>(file_clock::to_sys(written));
  return CivilFromUnixSeconds(utc.time_since_epoch().count());
}

FileStamp StampOf(const CivilTime& t) {
  if (!t.hasTime) return {t.year, t.month, t.day, -1, 0, 0};
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

std::array<std::uint8_t, 24> StampBytes(const FileStamp& stamp) {
  std::array<std::uint8_t, 24> bytes{};
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    PutLittleEndian(bytes.data() + 4 * i, static_cast<std::uint32_t>(stamp[i]), 4);
  }
  return bytes;
}

std::array<std::uint8_t, 20> BuildTimeBytes(const CivilTime& t) {
  using namespace std::chrono;
  const year_month_day date{year{t.year}, month{static_cast<unsigned>(t.month)}, day{static_cast<unsigned>(t.day)}};
  const unsigned weekdayNumber = weekday{sys_days{date}}.c_encoding();  // Sunday 0, as Windows counts
  const std::array<unsigned, 8> fields = {static_cast<unsigned>(t.year),
                                          static_cast<unsigned>(t.month),
                                          weekdayNumber,
                                          static_cast<unsigned>(t.day),
                                          static_cast<unsigned>(t.hour),
                                          static_cast<unsigned>(t.minute),
                                          static_cast<unsigned>(t.second),
                                          0};
  std::array<std::uint8_t, 20> bytes{};
  for (std::size_t i = 0; i < fields.size(); ++i) PutLittleEndian(bytes.data() + 2 * i, fields[i], 2);
  return bytes;
}

}  // namespace brennick::build
