#include "startup/win/temporary_log.h"

#include <cstdint>

#include "foundation/win/file_io.h"
#include "foundation/win/path_text_win.h"

namespace brennick::win {

bool TemporaryLog::Open() {
  Discard();
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return false;
  wchar_t name[MAX_PATH] = {};
  if (::GetTempFileNameW(folder, L"bsl", 0, name) == 0) return false;
  // GetTempFileName has created the file: from here on Discard deletes it.
  path_ = PathFromWide(name);
  file_.reset(::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  if (!file_) Discard();
  return IsOpen();
}

void TemporaryLog::Append(std::string_view text) {
  // A log that cannot grow must not fail the step that writes to it.
  if (file_) WriteAll(file_.get(), text);
}

std::string TemporaryLog::ReadAll() {
  LARGE_INTEGER size = {};
  if (!file_ || !::GetFileSizeEx(file_.get(), &size) || size.QuadPart <= 0) return {};
  const LARGE_INTEGER start = {};
  if (!::SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) return {};
  std::string body(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t got = 0;
  win::ReadAll(file_.get(), std::span(reinterpret_cast<std::uint8_t*>(body.data()), body.size()), got);
  body.resize(got);
  ::SetFilePointerEx(file_.get(), start, nullptr, FILE_END);
  return body;
}

void TemporaryLog::Discard() {
  file_.reset();
  if (path_.empty()) return;
  ::DeleteFileW(WidePath(path_).c_str());
  path_.clear();
}

}  // namespace brennick::win
