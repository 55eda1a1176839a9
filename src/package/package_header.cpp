#include "package/package_header.h"

#include "package/package_cursor.h"
#include "package/package_header_fields.h"
#include "package/part_reader.h"

namespace brennick {

PackageParts ReadPackageHeader(std::span<const std::uint8_t> section) {
  PackageCursor cursor(section);
  PackageParts parts;
  PartReader reader(cursor);
  VisitPackageHeader(reader, parts.header);
  parts.settingsBlock = cursor.ReadBytes(static_cast<std::size_t>(parts.header.SettingsSize));
  parts.archiveStart = cursor.Position();
  return parts;
}

}  // namespace brennick
