#include "engine/file_queues.h"

#include <utility>

namespace brennick {

namespace {

constexpr std::int32_t kDesktopShortcutFlag = 1 << 0;
constexpr std::int32_t kStartMenuShortcutFlag = 1 << 1;
constexpr char kTypeLibraryMark = '\xA9';

}  // namespace

void QueueByKind(InstallLists& lists, const FileRecord& r, const std::string& destination) {
  const bool permanent = IsPermanentFile(r);
  switch (r.FileKind) {
    case 1:
      lists.SharedDllList.push_back(destination + (permanent ? " " : ""));
      break;
    case 6:
      lists.SharedDllList.push_back(destination + " ");
      break;
    case 7:
      lists.ComRegisterList.push_back(destination);
      lists.SharedDllList.push_back(destination + (permanent ? " " : "^"));
      break;
    case 8:
      lists.TypeLibList.push_back(destination);
      lists.SharedDllList.push_back(destination + (permanent ? ' ' : kTypeLibraryMark));
      break;
    default:
      break;
  }
}

void QueueShortcut(InstallLists& lists, const FileRecord& r, const std::string& destination) {
  const bool wanted =
      (r.FileKind == 0 && (r.FileFlags & (kDesktopShortcutFlag | kStartMenuShortcutFlag)) != 0) || r.FileKind == 5;
  if (!wanted) return;
  ShortcutRecord link;
  link.OnDesktop = (r.FileFlags & kDesktopShortcutFlag) != 0;
  link.InStartMenu = (r.FileFlags & kStartMenuShortcutFlag) != 0;
  link.InStartup = r.FileKind == 5;
  link.KeepOnUninstall = IsPermanentFile(r);
  link.LinkTarget = destination;
  link.LinkArguments = r.Arguments;
  link.LinkWorkingDir = r.WorkingDir;
  link.LinkName = r.Label;
  link.LinkIcon = r.ShortcutIcon;
  lists.ShortcutEntries.push_back(std::move(link));
}

}  // namespace brennick
