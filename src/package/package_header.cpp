#include "package/package_header.h"

#include "foundation/fatal.h"
#include "package/corrupt_installer.h"
#include "package/package_cursor.h"
#include "package/package_layout.h"
#include "res/version.h"

namespace brennick {

PackageParts ReadPackageHeader(std::span<const std::uint8_t> section) {
  PackageCursor cursor(section);
  PackageParts parts;
  PackageHeader& h = parts.header;

  h.Magic = cursor.ReadU32();
  if (h.Magic != package::kPackageMagic) CorruptInstaller(corrupt::kPackageMagic);
  h.Version = cursor.ReadString();
  if (h.Version != package::kPackageVersion) {
    FatalError("The installer version (" BRENNICK_VERSION_TEXT ") does not match the version of %s (%s).  Close all "
               "applications and reinstall %s.",
               BRENNICK_FAMILY_NAME, h.Version.c_str(), BRENNICK_FAMILY_NAME);
  }
  h.SettingsSize = cursor.ReadI32();
  if (h.SettingsSize < 1 || h.SettingsSize > package::kMaxSettingsSize) CorruptInstaller(corrupt::kSettingsSize);
  h.SettingsChecksum = cursor.ReadU32();
  h.StubChecksum = cursor.ReadU32();
  h.ArchiveEnd = cursor.ReadI32();
  if (h.ArchiveEnd < 0) CorruptInstaller(corrupt::kArchiveEndNegative);
  h.FileCount = cursor.ReadI32();
  if (h.FileCount < 0) CorruptInstaller(corrupt::kFileCountNegative);
  h.ArchiveSize = cursor.ReadI32();
  if (h.ArchiveSize < 0) CorruptInstaller(corrupt::kArchiveSizeNegative);
  h.ArchiveChecksum = cursor.ReadU32();

  // Bounded before anything is reserved: a damaged count cannot ask for more
  // sizes than the section holds.
  if (static_cast<std::size_t>(h.FileCount) > cursor.Left() / 4) CorruptInstaller(corrupt::kPackageTruncated);
  h.FileDataSizes.reserve(static_cast<std::size_t>(h.FileCount));
  for (std::int32_t i = 0; i < h.FileCount; ++i) {
    const std::int32_t size = cursor.ReadI32();
    if (size < 0 || size > package::kMaxFileDataSize) CorruptInstaller(corrupt::kFileDataSize);
    h.FileDataSizes.push_back(size);
  }

  parts.settingsBlock = cursor.ReadBytes(static_cast<std::size_t>(h.SettingsSize));
  parts.archiveStart = cursor.Position();
  return parts;
}

}  // namespace brennick
