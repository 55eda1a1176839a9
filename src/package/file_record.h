#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace brennick {

// The packaged date and time of a file: year, month, day, hour, minute,
// second. Month 0: no date; hour -1: no time of day.
using FileStamp = std::array<std::int32_t, 6>;

// What a file is, and so where it goes and how an existing file is judged.
// Stored as a 32-bit number; a number outside the list is damage (code 110).
enum class FileKind : std::int32_t {
  kProgram = 0,              // installation folder
  kShared = 1,               // shared folder; counted in the system's shared-file list
  kFont = 4,                 // Fonts folder; registered as a font
  kStartupProgram = 5,       // installation folder, with a shortcut in the Startup folder
  kSystem = 6,               // system folder; counted
  kComServer = 7,            // system folder; registered as a COM server
  kTypeLibrary = 8,          // system folder; registered as a type library
  kVersionedProgram = 9,     // installation folder; replaced by version
  kInfDriver = 10,           // installation folder; the driver is installed
  kMsiPackage = 11,          // installation folder; the package is installed
  kControlPanelApplet = 12,  // installation folder; registered as an applet
};

// The bits of a file record's FileFlags (bits 2 to 4 hold the overwrite rule).
namespace file_flags {
constexpr std::int32_t kDesktopShortcut = 1 << 0;
constexpr std::int32_t kStartMenuShortcut = 1 << 1;
constexpr std::int32_t kPermanent = 1 << 5;                // the uninstaller never removes the file
constexpr std::int32_t kToUninstallFolder = 1 << 6;        // goes into the uninstall folder
constexpr std::uint32_t kRemoveMsiAtUninstall = 1u << 31;  // the uninstaller removes the package again
}  // namespace file_flags

// One file of the archive, as its record stores it (in the order of
// file_record_fields.h).
struct FileRecord {
  std::string Name;            // may hold a sub-path; "|" in front marks UTF-8
  FileKind Kind = FileKind::kProgram;
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

inline bool HasShortcutIcon(const FileRecord& r) {
  return (r.FileFlags & (file_flags::kDesktopShortcut | file_flags::kStartMenuShortcut)) != 0;
}

inline bool IsPermanentFile(const FileRecord& r) { return (r.FileFlags & file_flags::kPermanent) != 0; }

// System files, COM servers, type libraries and versioned programs replace
// an existing file by its version, then its date.
inline bool IsVersionedKind(FileKind kind) { return kind >= FileKind::kSystem && kind <= FileKind::kVersionedProgram; }

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
