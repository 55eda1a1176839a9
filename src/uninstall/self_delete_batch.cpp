#include "uninstall/self_delete_batch.h"

#include "foundation/text.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

constexpr int kMostFolderLevels = 50;

// A path as a quoted batch argument. The command interpreter expands
// "%name%" even inside quotes, so a "%" in a folder name is doubled;
// otherwise "del" and "rd" could act on a different path.
std::string QuotedPath(std::string_view path) { return "\"" + ReplaceAll(path, "%", "%%") + "\""; }

void DropTrailingBackslash(std::string_view& path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
}

}  // namespace

std::string SelfDeleteBatchText(std::string_view program, std::string_view installDir,
                                std::string_view uninstallSubdir, std::string_view batchPath,
                                const BatchSpelling& spell) {
  const auto Quoted = [&spell](std::string_view path) {
    return QuotedPath(spell ? spell(std::string(path)) : std::string(path));
  };
  std::string text = ":Repeat\r\ndel " + Quoted(program) + "\r\nif exist " + Quoted(program) + " goto Repeat\r\n";
  text += "CHOICE /T 3 /D Y\r\n";
  std::string_view subdir = uninstallSubdir;
  for (int level = 0; level < kMostFolderLevels && !subdir.empty(); ++level) {
    text += "rd " + Quoted(JoinPath(installDir, subdir)) + "\r\n";
    DropTrailingBackslash(subdir);
    const std::size_t cut = subdir.find_last_of('\\');
    subdir = cut == std::string_view::npos ? std::string_view() : subdir.substr(0, cut);
    DropTrailingBackslash(subdir);
  }
  text += "rd " + Quoted(installDir) + "\r\n";
  text += "del " + Quoted(batchPath) + "\r\n";
  return text;
}

}  // namespace brennick
