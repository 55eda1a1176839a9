#include "engine/file_destination.h"

#include "package/corrupt_installer.h"
#include "startup/own_file_name.h"
#include "startup/resolve_path.h"

namespace brennick {

namespace {

FileDestination FromOverridePath(const FileRecord& record, const DestinationFolders& folders,
                                 const std::function<std::string(const std::string&)>& expand) {
  std::string path = expand(record.TargetOverride);
  if (path.size() >= 2 && path.ends_with("\\\\")) path.pop_back();
  path = ResolvePath(path, record.Kind == FileKind::kShared ? folders.sharedPath : folders.installDir);
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
  if ((record.FileFlags & file_flags::kToUninstallFolder) != 0)
    return {JoinPath(folders.uninstallDataDir, record.Name), false};
  switch (record.Kind) {
    case FileKind::kProgram:
    case FileKind::kStartupProgram:
    case FileKind::kVersionedProgram:
    case FileKind::kInfDriver:
    case FileKind::kMsiPackage:
    case FileKind::kControlPanelApplet:
      return {JoinPath(folders.installDir, record.Name), true};
    case FileKind::kShared:
      return {JoinPath(folders.sharedPath, record.Name), false};
    case FileKind::kFont:
      return {JoinPath(folders.fontsFolder, record.Name), false};
    case FileKind::kSystem:
    case FileKind::kComServer:
    case FileKind::kTypeLibrary:
      return {JoinPath(folders.systemFolder, record.Name), false};
    default:
      CorruptInstaller(corrupt::kFileKind);
  }
}

}  // namespace brennick
