#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "package/settings_record.h"

namespace brennick::build {

// The settings record as the program reads it. Refuses (BuildError) what the
// program would take for a damaged package: a value out of its bounds, a text
// with a zero byte, a list entry that reads like the list's terminator, and
// an end marker other than the right one.
std::vector<std::uint8_t> WriteSettingsRecord(const SettingsRecord& record);

// The same bytes, with the offset of every field outside the lists by its
// name (a list's name gives the offset of its stored count), for inspect and
// for damaging a package at a named field.
struct WrittenSettings {
  std::vector<std::uint8_t> bytes;
  std::map<std::string, std::size_t> offsets;
};
WrittenSettings WriteSettingsRecordWithOffsets(const SettingsRecord& record);

}  // namespace brennick::build
