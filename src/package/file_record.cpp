#include "package/file_record.h"

#include "package/corrupt_installer.h"
#include "package/package_checksum.h"
#include "package/package_cursor.h"
#include "package/package_layout.h"

namespace brennick {

FileItem ReadFileItem(std::span<const std::uint8_t> body, std::int32_t dataSize) {
  PackageCursor cursor(body);
  FileItem item;
  FileRecord& r = item.record;
  r.Name = cursor.ReadString();
  if (r.Name.empty()) CorruptInstaller(corrupt::kFileNameEmpty);
  r.FileKind = cursor.ReadI32();
  r.FileFlags = cursor.ReadI32();
  r.Attributes = cursor.ReadI32();
  for (std::int32_t& part : r.Stamp) part = cursor.ReadI32();
  r.Label = cursor.ReadString();
  if (HasShortcutIcon(r)) r.ShortcutIcon = cursor.ReadString();
  r.Arguments = cursor.ReadString();
  r.TargetOverride = cursor.ReadString();
  r.WorkingDir = cursor.ReadString();
  if (r.FileKind == file_kind::kMsiPackage) r.MsiUiLevel = cursor.ReadI32();
  if (dataSize < 0) CorruptInstaller(corrupt::kFileSizeNegative);
  if (dataSize > package::kMaxFileDataSize) CorruptInstaller(corrupt::kFileSizeTooLarge);
  item.data = cursor.ReadBytes(static_cast<std::size_t>(dataSize));
  if (cursor.ReadU32() != PackageChecksum(item.data)) CorruptInstaller(corrupt::kFileChecksum);
  return item;
}

}  // namespace brennick
