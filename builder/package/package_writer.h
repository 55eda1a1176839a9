#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "builder/encode/packed_encoder.h"
#include "package/file_record.h"
#include "package/package_header.h"
#include "package/settings_record.h"

namespace brennick::build {

struct PackagedFile {
  FileRecord record;
  std::vector<std::uint8_t> data;
};

struct PackageOptions {
  int level = kDefaultLevel;            // packing effort of the settings block and the chunks
  std::size_t chunkSize = 1024 * 1024;  // record bytes per archive chunk
  // When not 0, the section is made a whole multiple of this many bytes by
  // zeros after the settings block's bit stream (which the program never
  // reads): a package that reads its archive from the file needs the archive
  // to end where the file ends.
  std::uint32_t sectionMultiple = 0;
};

// The package section: header, settings block, archive. The archive's chunks
// are packed when the settings ask for it (ProductFlags bit 5). StubChecksum
// is left 0: it depends on the program the package goes into.
struct PackageSection {
  std::vector<std::uint8_t> bytes;
  PackageHeader header;
};
PackageSection WritePackageSection(const SettingsRecord& settings, const std::vector<PackagedFile>& files,
                                   const PackageOptions& options);

// The header's bytes, in stored order. Refuses (BuildError) a header the
// program would not read: a field out of its bounds, another version, a size
// list of another length than FileCount.
std::vector<std::uint8_t> WritePackageHeader(const PackageHeader& header);

// The same bytes, with the offset of every field outside the size list by its
// name (the list's name gives where its first entry starts).
struct WrittenHeader {
  std::vector<std::uint8_t> bytes;
  std::map<std::string, std::size_t> offsets;
};
WrittenHeader WritePackageHeaderWithOffsets(const PackageHeader& header);

// `program` with `section` (a package section whose StubChecksum is still to
// be filled) as its ".setup" section, StubChecksum filled in. The section's
// header is read the way the program reads it, to find StubChecksum's place.
std::vector<std::uint8_t> PlacePackage(std::vector<std::uint8_t> program, std::vector<std::uint8_t> section);

// The setup program: a copy of `stub` (the program) with the package as its
// ".setup" section and StubChecksum filled in. Throws BuildError.
std::vector<std::uint8_t> WriteSetupProgram(std::vector<std::uint8_t> stub, const SettingsRecord& settings,
                                            const std::vector<PackagedFile>& files, const PackageOptions& options);

}  // namespace brennick::build
