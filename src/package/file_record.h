#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace brennick {

// The packaged date and time of a file: year, month, day, hour, minute,
// second. Month 0: no date; hour -1: no time of day.
using FileStamp = std::array<std::int32_t, 6>;

// One file of the archive, as its record stores it (in the order of
// file_record_fields.h).
struct FileRecord {
  std::string Name;            // may hold a sub-path; "|" in front marks UTF-8
  std::int32_t FileKind = 0;
  std::int32_t FileFlags = 0;
  std::int32_t Attributes = -1;  // -1: leave them as the system made them
  FileStamp Stamp{};
  std::string Label;         // version text, font name, applet name or shortcut name, by kind
  std::string ShortcutIcon;  // stored only with FileFlags bit 0 or 1
  std::string Arguments;
  std::string TargetOverride;
  std::string WorkingDir;
  std::int32_t MsiUiLevel = 0;  // stored only for kind 11
  bool operator==(const FileRecord&) const = default;
};

namespace file_kind {
constexpr std::int32_t kMsiPackage = 11;
}  // namespace file_kind

inline bool HasShortcutIcon(const FileRecord& r) { return (r.FileFlags & 0x3) != 0; }

// FileFlags bit 5: the uninstaller never removes the file.
inline bool IsPermanentFile(const FileRecord& r) { return (r.FileFlags & (1 << 5)) != 0; }

// A file record with its data.
struct FileItem {
  FileRecord record;
  std::span<const std::uint8_t> data;  // a view into the record body
};

// Reads one record body of the archive; `dataSize` is the file's entry in
// the header's size list. Damage ends through CorruptInstaller: an empty name
// (70), a size below 0 (71) or above 0x40000000 (72), data that does not
// match its checksum (100), a body too short (50).
FileItem ReadFileItem(std::span<const std::uint8_t> body, std::int32_t dataSize);

}  // namespace brennick
