#include "engine/file_queues.h"

#include <utility>

namespace brennick {

namespace {

constexpr char kTypeLibraryMark = '\xA9';

}  // namespace

void QueueByKind(InstallLists& lists, const FileRecord& r, const std::string& destination) {
  const bool permanent = IsPermanentFile(r);
  switch (r.Kind) {
    case FileKind::kShared:
      lists.SharedDllList.push_back(destination + (permanent ? " " : ""));
      break;
    case FileKind::kSystem:
      lists.SharedDllList.push_back(destination + " ");
      break;
    case FileKind::kComServer:
      lists.ComRegisterList.push_back(destination);
      lists.SharedDllList.push_back(destination + (permanent ? " " : "^"));
      break;
    case FileKind::kTypeLibrary:
      lists.TypeLibList.push_back(destination);
      lists.SharedDllList.push_back(destination + (permanent ? ' ' : kTypeLibraryMark));
      break;
    default:
      break;
  }
}

void QueueShortcut(InstallLists& lists, const FileRecord& r, const std::string& destination) {
  const bool wanted = (r.Kind == FileKind::kProgram && HasShortcutIcon(r)) || r.Kind == FileKind::kStartupProgram;
  if (!wanted) return;
  ShortcutRecord link;
  link.OnDesktop = (r.FileFlags & file_flags::kDesktopShortcut) != 0;
  link.InStartMenu = (r.FileFlags & file_flags::kStartMenuShortcut) != 0;
  link.InStartup = r.Kind == FileKind::kStartupProgram;
  link.KeepOnUninstall = IsPermanentFile(r);
  link.LinkTarget = destination;
  link.LinkArguments = r.Arguments;
  link.LinkWorkingDir = r.WorkingDir;
  link.LinkName = r.Label;
  link.LinkIcon = r.ShortcutIcon;
  lists.ShortcutEntries.push_back(std::move(link));
}

}  // namespace brennick
