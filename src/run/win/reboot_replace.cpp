#include "run/win/reboot_replace.h"

#include <algorithm>
#include <vector>

#include "foundation/path_text.h"
#include "foundation/win/dynamic_function.h"
#include "foundation/win/file_io.h"
#include "foundation/win/grant_access.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"
#include "foundation/win/short_path.h"
#include "foundation/win/system_error_text.h"
#include "package/file_stamp.h"
#include "package/settings_record.h"
#include "run/win/file_times.h"
#include "run/wininit_text.h"
#include "startup/win/windows_facts.h"

namespace brennick::win {

namespace {

// The last error of a registered restart-time request: the file operation is
// pending, not done.
constexpr DWORD kDelayedSign = ERROR_BUSY;
constexpr DWORD kReplaceAtRestart = MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT;
constexpr DWORD kDeleteAtRestart = MOVEFILE_DELAY_UNTIL_REBOOT;
constexpr int kExtensionTries = 100;

bool Fail(DWORD error) {
  ::SetLastError(error);
  return false;
}

bool Registered() {
  ::SetLastError(kDelayedSign);
  return true;
}

bool Exists(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool DeleteFilePath(const std::string& path) { return ::DeleteFileW(WidePath(path).c_str()) != FALSE; }

// The folder part of a path with its last separator, so that a file in a
// drive's root gives "C:\"; empty when the path has no folder part.
std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string MakeTempFileIn(const std::string& folder) {
  if (IsUtf8Path(folder)) {
    wchar_t made[MAX_PATH];
    if (::GetTempFileNameW(WidePath(folder).c_str(), L"CVX", 0, made) == 0) return {};
    return kUtf8PathMark + FromWide(made, CP_UTF8);
  }
  char made[MAX_PATH];
  if (::GetTempFileNameA(folder.c_str(), "CVX", 0, made) == 0) return {};
  return made;
}

std::string UserTempFolder(bool utf8) {
  if (utf8) {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return kUtf8PathMark + FromWide(std::wstring_view(folder, length), CP_UTF8);
  }
  char folder[MAX_PATH + 1];
  const DWORD length = ::GetTempPathA(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  return std::string(folder, length);
}

// `path` with its extension (if any) replaced by `dottedExtension`.
std::string WithExtension(const std::string& path, const std::string& dottedExtension) {
  const std::size_t nameStart = path.find_last_of("\\/") + 1;  // 0 when there is no separator
  const std::size_t dot = path.rfind('.');
  const std::size_t stemEnd = (dot != std::string::npos && dot >= nameStart) ? dot : path.size();
  return path.substr(0, stemEnd) + dottedExtension;
}

bool SamePath(const std::string& a, const std::string& b) {
  const auto full = [](const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring result(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, result.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    result.resize(length);
    return result;
  };
  return ::lstrcmpiW(full(a).c_str(), full(b).c_str()) == 0;
}

// The delayed move of Windows NT; an empty target deletes the source.
bool DelayedMove(const std::string& source, const std::string& target, DWORD options) {
  if (IsUtf8Path(source) || IsUtf8Path(target)) {
    using MoveFileExWFn = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
    const auto moveFileEx = LookUpFunction<MoveFileExWFn>(L"kernel32.dll", "MoveFileExW");
    if (moveFileEx == nullptr) return Fail(ERROR_PROC_NOT_FOUND);
    const std::wstring wideTarget = WidePath(target);
    return moveFileEx(WidePath(source).c_str(), target.empty() ? nullptr : wideTarget.c_str(), options) != FALSE;
  }
  using MoveFileExAFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto moveFileEx = LookUpFunction<MoveFileExAFn>(L"kernel32.dll", "MoveFileExA");
  if (moveFileEx == nullptr) return Fail(ERROR_PROC_NOT_FOUND);
  return moveFileEx(source.c_str(), target.empty() ? nullptr : target.c_str(), options) != FALSE;
}

std::string InWindowsFolder(const std::string& windowsFolder, const char* name) {
  const bool separated = !windowsFolder.empty() && (windowsFolder.back() == '\\' || windowsFolder.back() == '/');
  return windowsFolder + (separated ? "" : "\\") + name;
}

bool HasWininitProgram(const std::string& windowsFolder) {
  return !windowsFolder.empty() && Exists(InWindowsFolder(windowsFolder, "wininit.exe"));
}

// A path as a "wininit.ini" line holds it: the short form, in the ANSI code
// page (the file is read before any wide text exists).
std::string WininitPath(const std::string& path) {
  const std::string shortPath = ShortPathOf(path);
  return IsUtf8Path(shortPath) ? FromWide(WidePathText(shortPath), CP_ACP) : shortPath;
}

// Adds `entry` to the "[rename]" section of "wininit.ini", making the file
// when there is none yet (Windows renames it away after carrying it out).
bool AddToWininit(const std::string& windowsFolder, const std::string& entry) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(InWindowsFolder(windowsFolder, "wininit.ini")).c_str(),
                                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size)) return false;
  if (size.QuadPart > 0x10000000) return Fail(ERROR_FILE_TOO_LARGE);
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t got = 0;
  if (const DWORD error = ReadAll(file.get(), std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()), got);
      error != 0) {
    return Fail(error);
  }
  if (got != text.size()) return Fail(ERROR_READ_FAULT);

  const std::string updated = AddWininitEntry(text, entry);
  if (::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  if (const DWORD error = WriteAll(file.get(), updated); error != 0) return Fail(error);
  return ::SetEndOfFile(file.get()) != FALSE;
}

// The common road of both requests: the delayed move on NT, "wininit.ini"
// on 9x or as NT's fallback when "wininit.exe" is there. The wininit entry is
// made only when needed.
template <class MakeEntry>
bool RequestAtRestart(const std::string& source, const std::string& target, DWORD options, bool isNt,
                      const std::string& windowsFolder, MakeEntry makeEntry) {
  if (isNt) {
    if (DelayedMove(source, target, options)) return Registered();
    const DWORD failure = ::GetLastError();
    if (!HasWininitProgram(windowsFolder)) return Fail(failure);
  }
  if (windowsFolder.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (!AddToWininit(windowsFolder, makeEntry())) return false;
  return Registered();
}

bool WriteWhole(const std::string& path, std::span<const std::uint8_t> data) {
  ScopedKernelHandle file(
      ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  if (const DWORD error = WriteAll(file.get(), data); error != 0) return Fail(error);
  if (!::CloseHandle(file.release())) return false;
  return true;
}

}  // namespace

std::string CreateTempFile(const std::string& folder, const std::string& extension, bool noFallback) {
  std::string where = folder;
  std::string made = MakeTempFileIn(where);
  if (made.empty()) {
    if (noFallback) return {};
    where = UserTempFolder(IsUtf8Path(folder));
    if (where.empty()) return {};
    made = MakeTempFileIn(where);
    if (made.empty()) return {};
  }
  if (extension.empty()) return made;

  const std::string dotted = extension.front() == '.' ? extension : "." + extension;
  // Files whose new name was taken stay until the end, so that the system
  // does not hand out their numbers again.
  std::vector<std::string> leftOver;
  std::string result;
  DWORD error = 0;
  for (int attempt = 1;; ++attempt) {
    const std::string renamed = WithExtension(made, dotted);
    if (::lstrcmpiA(renamed.c_str(), made.c_str()) == 0 ||
        ::MoveFileW(WidePath(made).c_str(), WidePath(renamed).c_str())) {
      result = renamed;
      break;
    }
    error = ::GetLastError();
    leftOver.push_back(made);
    if (attempt == kExtensionTries) break;
    made = MakeTempFileIn(where);
    if (made.empty()) {
      error = ::GetLastError();
      break;
    }
  }
  for (const std::string& file : leftOver) DeleteFilePath(file);
  if (result.empty()) ::SetLastError(error);
  return result;
}

bool ScheduleReplaceAtReboot(const std::string& source, const std::string& destination, bool isNt,
                             const std::string& windowsFolder) {
  if (PathBody(source).empty() || PathBody(destination).empty()) return Fail(ERROR_INVALID_NAME);
  if (!Exists(source)) return Fail(ERROR_FILE_NOT_FOUND);
  if (SamePath(source, destination)) {
    ::SetLastError(ERROR_SUCCESS);
    return true;
  }
  return RequestAtRestart(source, destination, kReplaceAtRestart, isNt, windowsFolder,
                          [&] { return WininitPath(destination) + "=" + WininitPath(source); });
}

bool ScheduleDeleteAtReboot(const std::string& path, bool isNt, const std::string& windowsFolder) {
  if (PathBody(path).empty()) return Fail(ERROR_INVALID_NAME);
  ::SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  return RequestAtRestart(path, std::string(), kDeleteAtRestart, isNt, windowsFolder,
                          [&] { return "NUL=" + WininitPath(path); });
}

bool ReplaceInUseFile(InstallerState& state, const std::string& destination, std::span<const std::uint8_t> data,
                      const FileStamp& stamp, std::string& report) {
  const std::string tempFile = CreateTempFile(FolderOf(destination), std::string(), false);
  if (tempFile.empty() || !WriteWhole(tempFile, data)) {
    const DWORD error = ::GetLastError();
    if (!tempFile.empty()) DeleteFilePath(tempFile);
    report += "Failed to register '" + destination +
              "' for replacement because no temporary file could be created.\r\n" + SystemErrorText(error) + "\r\n\r\n";
    return false;
  }

  GrantFullAccessToEveryone(tempFile);
  if (StampHasDateAndTime(stamp)) SetFileStampTimes(tempFile, stamp);

  WindowsFacts facts;
  const std::string windowsFolder = state.WindowsFolder.empty() ? facts.WindowsFolder() : state.WindowsFolder;
  const std::string tempPath = ShortPathOf(tempFile);
  if (ScheduleReplaceAtReboot(tempPath, destination, facts.IsNtBased(), windowsFolder)) {
    SetFlag(state.Settings.ProductFlags, flags::kRestartRequired);
    report += "\"" + destination + "\" was successfully registered for replacement.\r\nTemporary file is \"" +
              tempPath + "\"\r\nReboot will be required.\r\n\r\n";
    return true;
  }
  const DWORD error = ::GetLastError();
  report += "Failed to register '" + destination + "' for replacement with temporary file '" + tempPath + "'\r\n" +
            SystemErrorText(error) + "\r\n\r\n";
  DeleteFilePath(tempFile);
  return false;
}

}  // namespace brennick::win
