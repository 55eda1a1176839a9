#include "foundation/win/whole_file.h"

#include "foundation/win/file.h"
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
  const std::vector<std::uint8_t> data = file.ReadAt(0, static_cast<std::size_t>(size));
  if (data.size() != static_cast<std::size_t>(size)) {
    whole.result = {FileResult::ReadFailed, ::GetLastError()};
    return whole;
  }
  whole.bytes.assign(data.begin(), data.end());
  return whole;
}

std::uint32_t WriteWholeFile(const std::string& path, std::string_view bytes) {
  const ScopedKernelHandle file(::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return ::GetLastError();
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    return ::GetLastError();
  }
  return written == bytes.size() ? 0 : ERROR_WRITE_FAULT;
}

}  // namespace brennick::win
