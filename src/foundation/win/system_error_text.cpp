#include "foundation/win/system_error_text.h"

#include "foundation/win/win.h"

namespace brennick::win {

std::string SystemErrorText(std::uint32_t error) {
  char* buffer = nullptr;
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text;
  if (buffer != nullptr) {
    text.assign(buffer, length);
    ::LocalFree(buffer);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace brennick::win
