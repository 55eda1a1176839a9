#include "foundation/win/file_io.h"

#include <algorithm>

namespace brennick::win {

namespace {

// One call moves at most this much: some systems refuse larger pieces on
// network files.
constexpr std::size_t kPiece = std::size_t{1} << 24;

}  // namespace

std::uint32_t WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(std::min(bytes.size(), kPiece)), &written, nullptr)) {
      return ::GetLastError();
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes = bytes.subspan(written);
  }
  return 0;
}

std::uint32_t WriteAll(HANDLE file, std::string_view bytes) {
  return WriteAll(file, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::uint32_t ReadAll(HANDLE file, std::span<std::uint8_t> bytes, std::size_t& got) {
  got = 0;
  while (got < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data() + got, static_cast<DWORD>(std::min(bytes.size() - got, kPiece)), &read,
                    nullptr)) {
      return ::GetLastError();
    }
    if (read == 0) break;
    got += read;
  }
  return 0;
}

}  // namespace brennick::win
