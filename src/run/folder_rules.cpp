#include "run/folder_rules.h"

#include "foundation/text.h"

namespace brennick {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view WithoutTrailingBackslash(std::string_view path) {
  while (path.size() > 3 && path.back() == '\\') path.remove_suffix(1);
  return path;
}

}  // namespace

std::string DriveRoot(char letter) { return std::string(1, letter) + ":\\"; }

bool IsNetworkFolder(std::string_view folder) { return folder.starts_with("\\\\"); }

std::string VolumeRoot(std::string_view folder) {
  if (const char letter = DriveLetterOfFolder(folder); letter != 0) return DriveRoot(letter);
  if (!IsNetworkFolder(folder)) return std::string();
  const std::size_t server = folder.find('\\', 2);
  if (server == std::string_view::npos || server == 2) return std::string();
  const std::size_t share = folder.find('\\', server + 1);
  if (share == server + 1) return std::string();
  return std::string(folder.substr(0, share)) + "\\";
}

char DriveLetterOfFolder(std::string_view folder) {
  if (folder.size() < 2 || folder[1] != ':' || !IsLetter(folder[0])) return 0;
  return static_cast<char>(folder[0] & ~0x20);
}

std::optional<std::string> AbsoluteFolderText(std::string_view typed) {
  std::string folder;
  for (const char c : typed) {
    if (c != '"') folder += c;
  }
  std::size_t rest = 0;
  if (IsNetworkFolder(folder) && folder.size() > 2 && folder[2] != '\\') {
    rest = 2;
  } else if (folder.size() >= 3 && IsLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\') {
    rest = 3;
  } else {
    return std::nullopt;
  }
  const std::string_view tail = std::string_view(folder).substr(rest);
  if (tail.find_first_of("/\"<>|*?:;") != std::string_view::npos) return std::nullopt;
  if (tail.find("\\\\") != std::string_view::npos || tail.starts_with('\\')) return std::nullopt;
  return folder;
}

bool IsSameFolder(std::string_view folder, std::string_view other) {
  return EqualsNoCase(WithoutTrailingBackslash(folder), WithoutTrailingBackslash(other));
}

}  // namespace brennick
