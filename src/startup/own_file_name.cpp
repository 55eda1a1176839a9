#include "startup/own_file_name.h"

#include "foundation/text.h"

namespace brennick {

std::string_view FileNameOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string OwnFileNameFromCommandLine(std::string_view commandLine) {
  const std::string_view line = TrimWhiteSpace(commandLine);
  if (line.empty()) return {};
  std::string_view name;
  if (line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  } else {
    name = line.substr(0, line.find_first_of(" \t"));
  }
  std::string result(name);
  if (FileNameOf(name).find('.') == std::string_view::npos) result += ".EXE";
  return result;
}

}  // namespace brennick
