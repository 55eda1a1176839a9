#include "run/win/file_times.h"

#include "foundation/path_text.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

namespace {

std::optional<FILETIME> FileTimeOf(const FileStamp& stamp) {
  if (!StampHasDateAndTime(stamp)) return std::nullopt;
  for (const std::int32_t part : stamp) {
    if (part < 0 || part > 0xFFFF) return std::nullopt;
  }
  SYSTEMTIME system = {};
  system.wYear = static_cast<WORD>(stamp[0]);
  system.wMonth = static_cast<WORD>(stamp[1]);
  system.wDay = static_cast<WORD>(stamp[2]);
  system.wHour = static_cast<WORD>(stamp[3]);
  system.wMinute = static_cast<WORD>(stamp[4]);
  system.wSecond = static_cast<WORD>(stamp[5]);
  FILETIME time;
  if (!::SystemTimeToFileTime(&system, &time)) return std::nullopt;
  return time;
}

}  // namespace

bool SetFileStampTimes(HANDLE file, const FileStamp& stamp) {
  const std::optional<FILETIME> time = FileTimeOf(stamp);
  if (!time) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return ::SetFileTime(file, &*time, nullptr, &*time) != FALSE;
}

bool SetFileStampTimes(const std::string& path, const FileStamp& stamp) {
  if (!FileTimeOf(stamp)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // Backup semantics: folders open too.
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.valid() && SetFileStampTimes(file.get(), stamp);
}

std::optional<FileStamp> ReadLastWriteStamp(const std::string& path) {
  if (PathBody(path).empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  SYSTEMTIME system;
  if (!::FileTimeToSystemTime(&data.ftLastWriteTime, &system)) return std::nullopt;
  return FileStamp{system.wYear, system.wMonth, system.wDay, system.wHour, system.wMinute, system.wSecond};
}

}  // namespace brennick::win
