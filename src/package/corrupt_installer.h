#pragma once

namespace brennick {

// Codes that name what is damaged in a corrupt installer. The numbers are
// shown to users and quoted in support requests, so they never change.
// docs/corrupt-installer-codes.md lists every code with its condition.
namespace corrupt {
constexpr int kSetupOffsetZero = 9;
constexpr int kSetupSeekFailed = 10;
constexpr int kPeOffset = 43;
constexpr int kSectionCount = 44;
// The section table (or the optional header size in front of it) runs past
// the end of the file.
constexpr int kSectionTableTruncated = 49;
// Ours: the package section starts so early that the stub in front of it
// cannot hold the PE header fields, the section table and the two slots
// after it that the uninstaller image is closed up with.
constexpr int kStubTooShort = 34;
// The package header.
constexpr int kPackageMagic = 20;
constexpr int kSettingsSize = 22;
constexpr int kFileCountNegative = 27;
constexpr int kFileDataSize = 28;
constexpr int kArchiveSizeNegative = 29;
constexpr int kArchiveEndNegative = 45;
// A header read would run past the end of the package section.
constexpr int kPackageTruncated = 50;
// The settings record.
constexpr int kMinStageTime = 19;
constexpr int kLicenseCount = 24;
constexpr int kReadmeCount = 26;
constexpr int kLanguageCount = 30;
constexpr int kMessageCount = 31;
constexpr int kEndMarker = 32;
constexpr int kAssociationCount = 36;
constexpr int kUninstallValueCount = 37;
constexpr int kFileDeletionCount = 38;
constexpr int kBitmapSize = 39;
constexpr int kProgramsToCloseCount = 41;
constexpr int kShortcutCount = 48;
// The settings block and the file archive.
constexpr int kSettingsChecksum = 25;
constexpr int kArchiveSize = 46;
constexpr int kSettingsUnpack = 47;
constexpr int kArchiveChecksum = 55;
constexpr int kChunkUnpack = 60;
constexpr int kChunkSizeTooSmall = 61;
constexpr int kChunkChecksum = 62;
constexpr int kChunkSizeTooLarge = 63;
constexpr int kArchiveBytesLeft = 80;
constexpr int kRecordBytesLeft = 83;
// Ours: a file record's length field is negative, which no further chunk
// data could complete.
constexpr int kRecordLengthNegative = 84;
// The stub and the data after the package.
constexpr int kStubRead = 35;
constexpr int kStubChecksum = 40;
constexpr int kTrailingRead = 42;
// File records.
constexpr int kFileNameEmpty = 70;
constexpr int kFileSizeNegative = 71;
constexpr int kFileSizeTooLarge = 72;
constexpr int kFileChecksum = 100;
constexpr int kFileKind = 110;
// A file deletion's date condition whose value is not a date.
constexpr int kDeletionDate = 65;
}  // namespace corrupt

// Ends through the fatal path with the corrupt-installer message and `code`.
[[noreturn]] void CorruptInstaller(int code);

}  // namespace brennick
