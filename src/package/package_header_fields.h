#pragma once

// The order and widths of the package header, written down once. The header
// and the file item (file_record_fields.h) are walked by "part walkers":
// classes with one member per stored type, which the Visit functions call
// field by field in stored order:
//
//   U32/I32(value, name)            4-byte numbers
//   Flags(value, name)              an i32 flag word (described in hexadecimal)
//   Str(text, name)                 zero-terminated 8-bit text
//   Data(bytes, size, name)         `size` raw bytes (a file's data), as a view
//   Limit(ok, code, name)           a bound: a reader ends with the
//                                   corrupt-installer code, a writer refuses
//                                   to write
//   VersionLimit(ok, version)       the same for the version text: a reader
//                                   ends with the version message
//   Entries(list, count, name)      the i32 list `name` holds `count` entries:
//                                   a reader first checks that they fit in
//                                   what is left (code 50) and makes room, a
//                                   writer refuses a list of another length
//   BeginList(name) / Item() / EndList()   list structure, for describers
//
// A reader starts from an empty part and fills it; the other walkers take the
// part as it is. Every read is bounded: one that runs past the end is code 50.

#include "package/corrupt_installer.h"
#include "package/package_header.h"
#include "package/package_layout.h"

namespace brennick {

template <class Walker>
void VisitPackageHeader(Walker& w, PackageHeader& h) {
  w.U32(h.Magic, "PackageMagic");
  w.Limit(h.Magic == package::kPackageMagic, corrupt::kPackageMagic, "PackageMagic");
  w.Str(h.Version, "PackageVersion");
  w.VersionLimit(h.Version == package::kPackageVersion, h.Version);
  w.I32(h.SettingsSize, "SettingsSize");
  w.Limit(h.SettingsSize >= 1 && h.SettingsSize <= package::kMaxSettingsSize, corrupt::kSettingsSize, "SettingsSize");
  w.U32(h.SettingsChecksum, "SettingsChecksum");
  w.U32(h.StubChecksum, "StubChecksum");
  w.I32(h.ArchiveEnd, "ArchiveEnd");
  w.Limit(h.ArchiveEnd >= 0, corrupt::kArchiveEndNegative, "ArchiveEnd");
  w.I32(h.FileCount, "FileCount");
  w.Limit(h.FileCount >= 0, corrupt::kFileCountNegative, "FileCount");
  w.I32(h.ArchiveSize, "ArchiveSize");
  w.Limit(h.ArchiveSize >= 0, corrupt::kArchiveSizeNegative, "ArchiveSize");
  w.U32(h.ArchiveChecksum, "ArchiveChecksum");
  // One data size per file. A damaged count cannot ask for more sizes than
  // the section holds: Entries bounds it before anything is reserved.
  w.Entries(h.FileDataSizes, h.FileCount, "FileDataSizes");
  w.BeginList("FileDataSizes");
  for (std::int32_t& size : h.FileDataSizes) {
    w.Item();
    w.I32(size, "size");
    w.Limit(size >= 0 && size <= package::kMaxFileDataSize, corrupt::kFileDataSize, "FileDataSizes");
  }
  w.EndList();
}

}  // namespace brennick
