#include "foundation/win/whole_file.h"

#include "foundation/win/file.h"
#include "foundation/win/file_io.h"
#include "foundation/win/path_text_win.h"
#include "foundation/win/scoped_handle.h"

namespace brennick::win {

WholeFile ReadWholeFile(const std::string& path) {
  WholeFile whole;
  File file;
  whole.result = file.Open(path, FileAccess::Read);
  if (!whole.result.ok()) return whole;
  const std::int64_t size = file.Size();
  if (size < 0) {
    whole.result = {FileResult::ReadFailed, ::GetLastError()};
    return whole;
  }
  const FileRead read = file.ReadAt(0, static_cast<std::size_t>(size));
  if (!read.result.ok()) {
    whole.result = read.result;
    return whole;
  }
  // A file that shrank while it was read.
  if (read.bytes.size() != static_cast<std::size_t>(size)) {
    whole.result = {FileResult::ReadFailed, ERROR_HANDLE_EOF};
    return whole;
  }
  whole.bytes.assign(read.bytes.begin(), read.bytes.end());
  return whole;
}

std::uint32_t WriteWholeFile(const std::string& path, std::string_view bytes) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return ::GetLastError();
  return WriteAll(file.get(), bytes);
}

std::uint32_t ReplaceWholeFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = WidePath(path);
  // A name nobody else has made: CREATE_NEW fails on anything already there,
  // a link included.
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    const std::wstring fresh = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                               std::to_wstring(::GetTickCount() + attempt) + L".new";
    ScopedKernelHandle file(
        ::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return error;
    }
    DWORD error = WriteAll(file.get(), bytes);
    if (error == 0 && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    file.reset();
    if (error == 0 &&
        !::MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error = ::GetLastError();
    }
    if (error != 0) ::DeleteFileW(fresh.c_str());
    return error;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace brennick::win
