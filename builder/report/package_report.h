#pragma once

#include <filesystem>

#include "builder/report/json.h"
#include "package/file_record.h"
#include "package/package_header.h"

namespace brennick::build {

// The header as inspect shows it: the stored fields but the size list (each
// file shows its own size), with ArchiveStart after StubChecksum.
JsonValue DescribePackageHeader(const PackageParts& parts);

// A file item as inspect shows it: the record's stored fields, then the
// data's Size and Checksum.
JsonValue DescribeFileItem(const FileItem& item);

// Prints what a setup holds (header, settings, files) as JSON on standard
// output. Returns the exit code; throws BuildError for what cannot be read.
int RunInspect(const std::filesystem::path& setup);

}  // namespace brennick::build
