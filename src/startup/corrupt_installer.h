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
// Ours, outside the inherited table: the section table (or the optional
// header size in front of it) runs past the end of the file.
constexpr int kSectionTableTruncated = 49;
}  // namespace corrupt

// Ends through the fatal path with the corrupt-installer message and `code`.
[[noreturn]] void CorruptInstaller(int code);

}  // namespace brennick
