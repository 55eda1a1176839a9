#include "startup/resolve_path.h"


namespace brennick {

namespace {

bool IsAbsolute(std::string_view path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

bool HasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  return std::string(folder) + "\\" + std::string(name);
}

std::string ResolvePath(std::string_view path, std::string_view base) {
  if (path.empty() || IsAbsolute(path)) return std::string(path);
  while (path.substr(0, 3) == "..\\") {
    path.remove_prefix(3);
    const std::size_t cut = base.find_last_of('\\');
    base = cut == std::string_view::npos ? std::string_view() : base.substr(0, cut);
  }
  if (!path.empty() && path[0] == '\\' && HasDrive(base)) return std::string(base.substr(0, 2)) + std::string(path);
  return JoinPath(base, path);
}

}  // namespace brennick
