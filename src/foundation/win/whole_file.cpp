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

}  // namespace brennick::win
