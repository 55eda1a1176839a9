#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brennick {

// The header at the start of the package section (see package_layout.h);
// its fields in stored order: package_header_fields.h.
struct PackageHeader {
  std::uint32_t Magic = 0;
  std::string Version;
  std::int32_t SettingsSize = 0;
  std::uint32_t SettingsChecksum = 0;  // also the key of the settings block's scrambling
  std::uint32_t StubChecksum = 0;
  std::int32_t ArchiveEnd = 0;  // from the section start
  std::int32_t FileCount = 0;
  std::int32_t ArchiveSize = 0;
  std::uint32_t ArchiveChecksum = 0;
  std::vector<std::int32_t> FileDataSizes;
  bool operator==(const PackageHeader&) const = default;
};

// Where the parts of a package lie, from the section start.
struct PackageParts {
  PackageHeader header;
  std::span<const std::uint8_t> settingsBlock;  // SettingsSize bytes, still scrambled and packed
  std::size_t archiveStart = 0;                 // the first byte after the settings block
};

// Reads and checks the header of the package section `section`, and finds
// the settings block after it. A damaged header ends through CorruptInstaller
// (20, 22, 27, 28, 29, 45, 50); a package of another version ends with the
// version message.
PackageParts ReadPackageHeader(std::span<const std::uint8_t> section);

}  // namespace brennick
