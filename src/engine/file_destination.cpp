#include "engine/file_destination.h"

#include "package/corrupt_installer.h"
#include "startup/own_file_name.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

constexpr std::int32_t kToUninstallFolderFlag = 1 << 6;

FileDestination FromOverridePath(const FileRecord& record, const DestinationFolders& folders,
                                 const std::function<std::string(const std::string&)>& expand) {
  std::string path = expand(record.TargetOverride);
  if (path.size() >= 2 && path.ends_with("\\\\")) path.pop_back();
  path = ResolvePath(path, record.FileKind == 1 ? folders.sharedPath : folders.installDir);
  if (path.ends_with('\\')) path += FileNameOf(record.Name);
  return {path, true};
}

}  // namespace

FileDestination ResolveFileDestination(FileRecord& record, const DestinationFolders& folders,
                                       const std::function<std::string(const std::string&)>& expand) {
  if (!record.TargetOverride.empty() && record.TargetOverride.find('\\') == std::string::npos) {
    record.Name = record.TargetOverride;
    record.TargetOverride.clear();
  }
  if (!record.TargetOverride.empty()) return FromOverridePath(record, folders, expand);
  if ((record.FileFlags & kToUninstallFolderFlag) != 0) return {JoinPath(folders.uninstallDataDir, record.Name), false};
  switch (record.FileKind) {
    case 0:
    case 5:
    case 9:
    case 10:
    case 11:
    case 12:
      return {JoinPath(folders.installDir, record.Name), true};
    case 1:
      return {JoinPath(folders.sharedPath, record.Name), false};
    case 4:
      return {JoinPath(folders.fontsFolder, record.Name), false};
    case 6:
    case 7:
    case 8:
      return {JoinPath(folders.systemFolder, record.Name), false};
    default:
      CorruptInstaller(corrupt::kFileKind);
  }
}

}  // namespace brennick
