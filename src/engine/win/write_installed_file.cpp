#include "engine/win/write_installed_file.h"

#include <algorithm>
#include <vector>

#include "foundation/open_error.h"
#include "foundation/path_text.h"
#include "foundation/win/file_io.h"
#include "foundation/win/file_system.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/system_error_text.h"
#include "package/file_stamp.h"
#include "run/win/file_times.h"
#include "run/win/install_log.h"
#include "run/win/reboot_replace.h"
#include "startup/installer_settings.h"

namespace brennick::win {

namespace {

constexpr DWORD kAttributeMask = 0x1127;  // read-only, hidden, system, archive, temporary, offline
constexpr std::size_t kBlock = 1 << 20;   // bytes compared per read-back

enum class Attempt { Written, Failed };

// What an attempt came to, with the Windows error of the call that failed.
struct AttemptResult {
  Attempt attempt = Attempt::Written;
  DWORD error = 0;
};

// The read-back check: whether the file holds `data`, and the Windows error
// of the call that failed when it could not be read.
struct ReadBack {
  bool same = false;
  DWORD error = 0;
};

ReadBack CheckContent(const std::string& path, std::span<const std::uint8_t> data) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {false, ::GetLastError()};
  std::vector<std::uint8_t> buffer(std::clamp<std::size_t>(data.size(), 1, kBlock));
  while (true) {
    std::size_t got = 0;
    if (const DWORD error = ReadAll(file.get(), buffer, got); error != 0) return {false, error};
    if (got == 0) return {data.empty(), 0};
    if (got > data.size() ||
        !std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got), data.begin())) {
      return {false, 0};
    }
    data = data.subspan(got);
  }
}

// Writes the file and dates it through the same handle: opening it again
// for the date alone costs as much as a small file's writing.
AttemptResult TryWrite(const std::string& path, std::span<const std::uint8_t> data, const FileStamp& stamp) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {Attempt::Failed, ::GetLastError()};
  if (const DWORD error = WriteAll(file.get(), data); error != 0) return {Attempt::Failed, error};
  if (StampHasDateAndTime(stamp)) SetFileStampTimes(file.get(), stamp);
  return {Attempt::Written, 0};
}

bool DriveOfPathExists(char letter) {
  return letter == 0 || DriveExists(letter);  // a network path: the share speaks for itself
}

// Every attempt failed: hand the file to the restart-time replacement when
// that is allowed, and report either way.
void ReportUnwritten(Program& program, const std::string& path, std::span<const std::uint8_t> data,
                     const FileStamp& stamp, bool existedBefore, DWORD error, bool& registered) {
  InstallerState& state = program.state;
  std::string report = "\r\n" + Message(state, MessageId::kCouldNotWrite) + " " + path + "\r\n";
  bool allowed = existedBefore || HasFlag(state.Settings.ProductFlags, flags::kReplaceLockedFiles);
  const char letter = DriveLetterOf(PathBody(path));
  if (DriveOfPathExists(letter)) {
    const std::string text = SystemErrorText(error);
    if (!text.empty()) report += text;
    report += "\r\n\r\n";
    if (error == ERROR_INVALID_NAME) allowed = false;
  } else {
    report += "Drive ";
    report += letter;
    report += ": is not present.\r\n";
    allowed = false;
  }
  registered = allowed && ReplaceInUseFile(state, path, data, stamp, report);
  if (registered) {
    LogText(program, report);
  } else {
    AddFailure(program, report);
  }
}

}  // namespace

bool WriteInstalledFile(Program& program, const std::string& path, std::span<const std::uint8_t> data,
                        const FileStamp& stamp, std::int32_t attributes, bool existedBefore, bool& registered) {
  registered = false;
  const std::uint64_t flagsWord = program.state.Settings.ProductFlags;
  const bool verify = HasFlag(flagsWord, flags::kVerifyWrittenFiles);

  for (int attemptsLeft = 2;; --attemptsLeft) {
    const auto [attempt, error] = TryWrite(path, data, stamp);
    if (attempt == Attempt::Written) {
      if (!verify) break;
      const ReadBack readBack = CheckContent(path, data);
      if (readBack.same) break;
      if (attemptsLeft == 0) {
        // A file that reads back wrong without a failed call has no system text to show.
        const std::string reason =
            readBack.error != 0 ? SystemErrorText(readBack.error) : "The file read back differs from what was written.";
        AddFailure(program,
                   Message(program.state, MessageId::kCouldNotWrite) + " " + path + "\r\n" + reason + "\r\n\r\n");
        return false;
      }
      continue;  // written wrong: write it again at once
    }
    if (attemptsLeft == 0) {
      ReportUnwritten(program, path, data, stamp, existedBefore, error, registered);
      return false;
    }
    if (attemptsLeft == 2) {
      if (error == ERROR_PATH_NOT_FOUND) CreateFolderWithParents(FolderOf(path));
      if (HasFlag(flagsWord, flags::kOverwriteReadOnly)) {
        const std::wstring wide = WidePath(path);
        const DWORD present = ::GetFileAttributesW(wide.c_str());
        if (present != INVALID_FILE_ATTRIBUTES) {
          ::SetFileAttributesW(wide.c_str(),
                               present & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        }
      }
    }
    ::Sleep(50);
  }

  if (attributes != -1) {
    ::SetFileAttributesW(WidePath(path).c_str(), static_cast<DWORD>(attributes) & kAttributeMask);
  }
  return true;
}

}  // namespace brennick::win
