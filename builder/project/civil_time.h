#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "package/file_record.h"

namespace brennick::build {

// A calendar date with an optional time of day, in UTC.
struct CivilTime {
  int year = 0;
  int month = 0;
  int day = 0;
  bool hasTime = false;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const CivilTime&) const = default;
};

// "YYYY-MM-DD", optionally followed by "T" or a blank and "HH:MM" or
// "HH:MM:SS"; years 1601 to 9999. Nothing for any other text or an
// impossible date or time.
std::optional<CivilTime> ParseIsoDateTime(std::string_view text);

// Whether the fields name a real date (and time of day, when it has one).
bool IsValidCivilTime(const CivilTime& time);

// The UTC date and time of a count of seconds since 1970-01-01 00:00:00 UTC.
CivilTime CivilFromUnixSeconds(std::int64_t seconds);

// The last modification time of a file, in UTC.
CivilTime ModificationTime(const std::filesystem::path& file);

// The six fields of a file stamp; hour -1 when the time has no time of day.
FileStamp StampOf(const CivilTime& time);

// A stamp as the settings record stores one: six little-endian int32.
std::array<std::uint8_t, 24> StampBytes(const FileStamp& stamp);

// The build time record: a Windows SYSTEMTIME (eight little-endian u16:
// year, month, day of week, day, hour, minute, second, milliseconds), then
// four zero bytes. The program skips it; it only documents the build.
std::array<std::uint8_t, 20> BuildTimeBytes(const CivilTime& time);

}  // namespace brennick::build
