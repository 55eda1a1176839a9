#include "engine/overwrite_rules.h"

#include <cstdio>

#include "foundation/version_compare.h"
#include "package/file_stamp.h"

namespace brennick {

namespace {

OverwriteVerdict Skip(std::string logText, bool record = false) {
  OverwriteVerdict v;
  v.write = false;
  v.recordForUninstall = record;
  v.logText = std::move(logText);
  return v;
}

std::string Formatted(const char* format, const std::string& a, const std::string& b) {
  const int size = std::snprintf(nullptr, 0, format, a.c_str(), b.c_str());
  std::string text(static_cast<std::size_t>(size), '\0');
  std::snprintf(text.data(), text.size() + 1, format, a.c_str(), b.c_str());
  return text;
}

// Kinds 6 to 9: the version must be newer (when both are known), then the
// date must be newer (when the existing one can be read).
OverwriteVerdict JudgeVersionedFile(const FileRecord& r, const std::string& destination, ExistingFile& existing) {
  const bool recordWhenSkipped = r.Kind == FileKind::kVersionedProgram && !IsPermanentFile(r);
  std::string reason;
  if (!r.Label.empty()) {
    const std::string version = existing.Version();
    if (!version.empty()) {
      if (CompareVersions(r.Label, version) <= 0) {
        return Skip(destination +
                        Formatted(" was not installed because its version (%s) is not newer than %s\r\n", r.Label, version),
                    recordWhenSkipped);
      }
      reason = Formatted("its version (%s) is newer than %s", r.Label, version);
    }
  }
  // A file packaged without a date cannot be judged by date: only the
  // version speaks for or against it.
  if (StampHasDate(r.Stamp)) {
    if (const auto lastWrite = existing.LastWrite()) {
      const std::string packaged = FormatStampForLog(r.Stamp);
      const std::string present = FormatStampForLog(*lastWrite);
      if (CompareStamps(r.Stamp, *lastWrite) <= 0) {
        return Skip(destination + Formatted(" was not installed because its date (%s) is not newer than %s.\r\n",
                                            packaged, present),
                    recordWhenSkipped);
      }
      if (!reason.empty()) reason += " and ";
      reason += Formatted("its date (%s) is newer than %s", packaged, present);
    }
  }
  OverwriteVerdict v;
  v.existedBefore = true;
  v.logText = reason.empty() ? destination + " is out of date and will be replaced.\r\n"
                             : destination + " needs replacement because " + reason + "\r\n";
  return v;
}

}  // namespace

bool IsInstallFolderKind(FileKind kind) {
  return kind == FileKind::kProgram || kind == FileKind::kStartupProgram ||
         (kind >= FileKind::kVersionedProgram && kind <= FileKind::kControlPanelApplet);
}

int OverwriteModeOf(const FileRecord& record) { return (record.FileFlags >> 2) & 0x7; }

std::string FormatStampForLog(const FileStamp& s) {
  char text[96];
  std::snprintf(text, sizeof text, "%d/%d/%02d %d:%02d:%02d", s[0], s[1], s[2], s[3], s[4], s[5]);
  return text;
}

OverwriteVerdict JudgeOverwrite(const FileRecord& r, const std::string& destination, ExistingFile& existing) {
  const int mode = OverwriteModeOf(r);
  const bool record = IsInstallFolderKind(r.Kind) && !IsPermanentFile(r);
  if (mode == 1) return Skip({});
  if (mode == 2 && !existing.Exists()) {
    return Skip(destination + " was not installed because it does not already exist.\r\n");
  }
  if (mode == 3 && existing.Exists()) {
    return Skip(destination + " was not installed because it already exists.\r\n", record);
  }
  if (mode == 4 && StampHasDate(r.Stamp)) {
    const auto lastWrite = existing.LastWrite();
    if (lastWrite && StampHasDate(*lastWrite) && CompareStamps(*lastWrite, r.Stamp) > 0) {
      return Skip(destination + " was not installed because the existing file is newer.\r\n", record);
    }
  }
  if ((r.Kind == FileKind::kShared || r.Kind == FileKind::kFont) && existing.Exists()) {
    if (StampHasDateAndTime(r.Stamp)) {
      const auto lastWrite = existing.LastWrite();
      if (lastWrite && CompareStamps(*lastWrite, r.Stamp) >= 0) return Skip(destination + " is up to date.\r\n");
    }
    OverwriteVerdict v;
    v.existedBefore = true;
    v.logText = destination + " is out of date and will be replaced.\r\n";
    return v;
  }
  if (IsVersionedKind(r.Kind) && existing.Exists()) return JudgeVersionedFile(r, destination, existing);
  return {};
}

}  // namespace brennick
