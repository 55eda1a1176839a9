#pragma once

// The setup package: the one place that fixes its layout. The program reads
// it, the builder writes it; both include this header. The fields of each
// stored part, in order, are written down once beside it:
// package_header_fields.h (the header), settings_fields.h (the settings
// record), file_record_fields.h (a file record with its data).
//
//   setup.exe
//   +------------------------------+
//   | the program (stub)           |  PE headers, code, resources ...
//   +------------------------------+  <- SetupFileOffset (section ".setup")
//   | package header               |  magic, version "27.0.5\0", SettingsSize,
//   |                              |  SettingsChecksum, StubChecksum,
//   |                              |  ArchiveEnd, FileCount, ArchiveSize,
//   |                              |  ArchiveChecksum, FileDataSizes[FileCount]
//   +------------------------------+
//   | settings block               |  scrambled with SettingsChecksum, then a
//   |   (SettingsSize bytes)       |  packed block; decodes to the settings
//   |                              |  record (names, flags, lists, strings)
//   +------------------------------+  <- ArchiveStart
//   | file archive                 |  chunks: u32 size, u32 checksum, data
//   |   (ArchiveSize bytes)        |  (packed when ProductFlags bit 5);
//   |                              |  their data concatenated is a stream of
//   |                              |  u32-length-prefixed file records
//   +------------------------------+  <- ArchiveEnd
//   | section padding              |
//   +------------------------------+  <- SetupFileOffset + SetupRawSize
//   | trailing data (a signature)  |
//   +------------------------------+
//
// All numbers are little-endian. Offsets in the header are relative to the
// start of the section.
//
// The room, from the outside in:
//   pe_layout          finds the ".setup" section in the program's PE headers
//   package_header     the header (walk: package_header_fields.h)
//   package_checksum   the checksum of every part; scramble: the settings key
//   packed_block       the codec that packs the settings block and the chunks
//   settings_reader    the settings record (walk: settings_fields.h), with
//   settings_unpack    the block's unscrambling and unpacking before it
//   archive_reader     the chunks; record_queue hands out the file records
//   file_record        one file record with its data (file_record_fields.h)
//   uninstaller_image  the program without its package, for the uninstaller
//   corrupt_installer  the codes that end a damaged package
//   message_*, product_text, line_breaks
//                      the language strings the package carries, named by
//                      MessageId, with their markers and line breaks

#include <cstdint>
#include <string_view>

#include "res/version.h"

namespace brennick::package {

constexpr std::string_view kSectionName = ".setup";
constexpr std::uint32_t kPackageMagic = 0xA4F23DE5;
constexpr std::string_view kPackageVersion = BRENNICK_VERSION_TEXT;

constexpr std::int32_t kMaxSettingsSize = 0x31FFFFF;
constexpr std::int32_t kMaxFileDataSize = 0x40000000;

// A packed block: u32 magic, i32 decoded size, then the bit stream.
constexpr std::uint32_t kPackedBlockMagic = 0x9EC72BA1;
constexpr std::size_t kPackedBlockHeaderSize = 8;

// The checksum of nothing, and the start of every checksum.
constexpr std::uint32_t kChecksumSeed = 0x79E2BC9D;

// The last field of the settings record.
constexpr std::uint32_t kSettingsEndMarker = 0xD3E82B97;

// Terminators of the two string-terminated lists of the settings record.
constexpr std::string_view kFileDeletionEnd = "~~THE END~~";
constexpr std::string_view kProgramsToCloseEnd = "~~THE~END~~";

}  // namespace brennick::package
