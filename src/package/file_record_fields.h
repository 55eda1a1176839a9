#pragma once

// The order and widths of a file item (a record body of the archive): the
// file record, the file's data and the data's checksum, written down once.
// Walked by the part walkers described in package_header_fields.h.

#include <cstdint>

#include "package/corrupt_installer.h"
#include "package/file_record.h"
#include "package/package_checksum.h"
#include "package/package_layout.h"

namespace brennick {

// `dataSize`: the file's entry in the header's size list.
template <class Walker>
void VisitFileItem(Walker& w, FileItem& item, std::int64_t dataSize) {
  FileRecord& r = item.record;
  w.Str(r.Name, "Name");
  w.Limit(!r.Name.empty(), corrupt::kFileNameEmpty, "Name");
  std::int32_t kind = static_cast<std::int32_t>(r.Kind);
  w.I32(kind, "FileKind");
  r.Kind = static_cast<FileKind>(kind);
  w.Flags(r.FileFlags, "FileFlags");
  w.I32(r.Attributes, "Attributes");
  w.BeginList("FileStamp");
  for (std::int32_t& part : r.Stamp) {
    w.Item();
    w.I32(part, "part");
  }
  w.EndList();
  w.Str(r.Label, "Label");
  if (HasShortcutIcon(r)) w.Str(r.ShortcutIcon, "ShortcutIcon");
  w.Str(r.Arguments, "Arguments");
  w.Str(r.TargetOverride, "TargetOverride");
  w.Str(r.WorkingDir, "WorkingDir");
  if (r.Kind == FileKind::kMsiPackage) w.I32(r.MsiUiLevel, "MsiUiLevel");

  w.Limit(dataSize >= 0, corrupt::kFileSizeNegative, "Size");
  w.Limit(dataSize <= package::kMaxFileDataSize, corrupt::kFileSizeTooLarge, "Size");
  w.Data(item.data, static_cast<std::size_t>(dataSize), "Size");
  const std::uint32_t checksum = PackageChecksum(item.data);
  std::uint32_t stored = checksum;
  w.U32(stored, "Checksum");
  w.Limit(stored == checksum, corrupt::kFileChecksum, "Checksum");
}

}  // namespace brennick
