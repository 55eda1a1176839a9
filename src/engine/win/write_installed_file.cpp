#include "engine/win/write_installed_file.h"

#include <algorithm>
#include <vector>

#include "foundation/open_error.h"
#include "foundation/path_text.h"
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
constexpr DWORD kBlock = 1 << 20;         // bytes per WriteFile / ReadFile call

enum class Attempt { Written, Failed, Differs };

bool WriteAll(HANDLE file, std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), kBlock));
    DWORD written = 0;
    if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written != chunk) return false;
    data = data.subspan(chunk);
  }
  return true;
}

bool HoldsData(const std::string& path, std::span<const std::uint8_t> data) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  std::vector<std::uint8_t> buffer(std::min<std::size_t>(std::max<std::size_t>(data.size(), 1), kBlock));
  while (true) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
    if (read == 0) return data.empty();
    if (read > data.size() || !std::equal(buffer.begin(), buffer.begin() + read, data.begin())) return false;
    data = data.subspan(read);
  }
}

// Writes the file and dates it through the same handle: opening it again
// for the date alone costs as much as a small file's writing.
Attempt TryWrite(const std::string& path, std::span<const std::uint8_t> data, const FileStamp& stamp) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Attempt::Failed;
  if (!WriteAll(file.get(), data)) return Attempt::Failed;
  if (StampHasDateAndTime(stamp)) SetFileStampTimes(file.get(), stamp);
  return Attempt::Written;
}

bool DriveOfPathExists(char letter) {
  return letter == 0 || DriveExists(letter);  // a network path: the share speaks for itself
}

// Every attempt failed: hand the file to the restart-time replacement when
// that is allowed, and report either way.
void ReportUnwritten(Program& program, const std::string& path, std::span<const std::uint8_t> data,
                     const FileStamp& stamp, bool existedBefore, DWORD error, bool& registered) {
  InstallerState& state = program.state;
  std::string report = "\r\n" + Message(state, 31) + " " + path + "\r\n";
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
    const Attempt attempt = TryWrite(path, data, stamp);
    const DWORD error = ::GetLastError();
    if (attempt == Attempt::Written) {
      if (!verify || HoldsData(path, data)) break;
      if (attemptsLeft == 0) {
        AddFailure(program, Message(program.state, 31) + " " + path + "\r\n" + SystemErrorText(::GetLastError()) +
                                "\r\n\r\n");
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
