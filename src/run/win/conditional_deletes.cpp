#include "run/win/conditional_deletes.h"

#include "foundation/win/local_time.h"
#include "foundation/win/no_links.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/system_error_text.h"
#include "run/deletion_condition.h"
#include "run/win/install_log.h"
#include "run/win/reboot_replace.h"
#include "startup/installer_settings.h"
#include "startup/resolve_path.h"
#include "startup/win/machine_settings.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

// The files a name (wildcards allowed) matches, as full paths.
std::vector<std::string> MatchingFiles(const std::string& pattern) {
  std::vector<std::string> files;
  const std::wstring widePattern = WidePath(pattern);
  WIN32_FIND_DATAW found;
  const ScopedFind find(::FindFirstFileW(widePattern.c_str(), &found));
  if (!find.valid()) return files;
  const std::size_t slash = widePattern.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : widePattern.substr(0, slash + 1);
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) files.push_back(PathFromWide(folder + found.cFileName));
  } while (::FindNextFileW(find.get(), &found));
  return files;
}

// What happened to one file.
enum class Outcome { Skipped, Done, Kept };

Outcome DeleteOneFile(Program& program, DeletionPass pass, const FileDeletionEntry& entry, const std::string& path) {
  InstallerState& state = program.state;
  const std::wstring wide = WidePath(path);
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &facts)) return Outcome::Skipped;
  const FileFacts file{(std::uint64_t{facts.nFileSizeHigh} << 32) | facts.nFileSizeLow,
                       LocalTimeOf(facts.ftLastWriteTime)};
  if (!DeletionConditionHolds(entry.ConditionType, entry.ConditionValue, file)) return Outcome::Skipped;

  const bool install = pass == DeletionPass::Install;
  ::SetFileAttributesW(wide.c_str(), facts.dwFileAttributes &
                                         ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::string failure;
  const bool onlyAtRestart = (entry.Flags & kDeleteOnlyAtRestart) != 0;
  if (!onlyAtRestart) {
    // A pattern over a folder other users may write must not reach through
    // a link they planted there.
    const std::uint32_t error = DeleteFileWithoutLinks(path);
    if (error == 0) {
      if (install) LogTexts(program, {"Deleted file: ", path, "\r\n"});
      return Outcome::Done;
    }
    failure = SystemErrorText(error);
    if ((entry.Flags & kDeleteAtRestartOnFailure) == 0) {
      if (install) LogTexts(program, {"Failed to delete file \"", path, "\": ", failure, "\r\n"});
      return Outcome::Kept;
    }
  }
  if (install) {
    LogTexts(program, {"File \"", path, "\" will be deleted after rebooting", onlyAtRestart ? "" : ": ",
                       onlyAtRestart ? "." : failure, "\r\n"});
  }
  if (ScheduleDeleteAtReboot(path, WindowsFacts().IsNtBased(), state.WindowsFolder)) {
    SetFlag(state.Settings.ProductFlags, install ? flags::kRestartRequired : flags::kUninstallRestartRequired);
    return Outcome::Done;
  }
  if (install) {
    AddFailures(program, {"Failed to register \"", path, "\" for deletion: ", SystemErrorText(::GetLastError()), "\r\n"});
  }
  return Outcome::Kept;
}

}  // namespace

void RunConditionalDeletes(Program& program, DeletionPass pass, std::vector<FileDeletionEntry>& entries) {
  InstallerState& state = program.state;
  const std::uint8_t passBit = pass == DeletionPass::Install ? kDeleteAtInstall : kDeleteAtUninstall;
  MachineSettings machine;
  bool reachedDeletion = false;
  std::vector<FileDeletionEntry> kept;
  for (const FileDeletionEntry& entry : entries) {
    if ((entry.Flags & passBit) == 0) {
      kept.push_back(entry);
      continue;
    }
    const std::string pattern = ResolvePath(machine.ExpandVariables(entry.Name, RunValuesOf(state)), state.InstallDir);
    bool done = false;
    bool failed = false;
    for (const std::string& file : MatchingFiles(pattern)) {
      const Outcome outcome = DeleteOneFile(program, pass, entry, file);
      reachedDeletion |= outcome != Outcome::Skipped;
      done |= outcome == Outcome::Done;
      failed |= outcome == Outcome::Kept;
    }
    // An entry stays for a later run while one of its files could not be
    // dealt with; an entry whose files are all gone is done.
    if (!done || failed) kept.push_back(entry);
  }
  if (pass == DeletionPass::Uninstall) {
    entries = std::move(kept);
  } else if (reachedDeletion) {
    LogText(program, "\r\n");
  }
}

}  // namespace brennick::win
