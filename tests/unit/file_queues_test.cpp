#include "engine/file_queues.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

constexpr std::int32_t kPermanent = 1 << 5;

FileRecord Record(std::int32_t kind, std::int32_t flags = 0) {
  FileRecord r;
  r.Kind = static_cast<FileKind>(kind);
  r.FileFlags = flags;
  return r;
}

TEST(FileQueues, CountedAndRegisteredByKind) {
  struct Case {
    std::int32_t kind;
    std::int32_t flags;
    std::vector<std::string> shared, com, typeLibs;
  };
  const std::string d = "C:\\Windows\\System32\\x.dll";
  const Case cases[] = {
      {0, 0, {}, {}, {}},                   // a program: nothing counted
      {1, 0, {d}, {}, {}},                  // shared
      {1, kPermanent, {d + " "}, {}, {}},   // shared, never removed
      {4, 0, {}, {}, {}},                   // a font is not counted
      {6, 0, {d + " "}, {}, {}},            // system files are never removed
      {7, 0, {d + "^"}, {d}, {}},           // COM server
      {7, kPermanent, {d + " "}, {d}, {}},  // permanent COM server: registered, kept
      {8, 0, {d + "\xA9"}, {}, {d}},        // type library
      {8, kPermanent, {d + " "}, {}, {d}},
  };
  for (const Case& c : cases) {
    InstallLists lists;
    QueueByKind(lists, Record(c.kind, c.flags), d);
    EXPECT_EQ(lists.SharedDllList, c.shared) << "kind " << c.kind << " flags " << c.flags;
    EXPECT_EQ(lists.ComRegisterList, c.com) << "kind " << c.kind;
    EXPECT_EQ(lists.TypeLibList, c.typeLibs) << "kind " << c.kind;
  }
}

TEST(FileQueues, ShortcutsOfProgramsAndStartupPrograms) {
  struct Case {
    std::int32_t kind;
    std::int32_t flags;
    bool queued, desktop, startMenu, startup, keep;
  };
  const Case cases[] = {
      {0, 0, false, false, false, false, false},     // no shortcut asked for
      {0, 1 << 0, true, true, false, false, false},  // desktop
      {0, (1 << 1) | kPermanent, true, false, true, false, true},
      {5, 0, true, false, false, true, false},         // a startup program always has one
      {9, 1 << 0, false, false, false, false, false},  // other kinds never do
  };
  for (const Case& c : cases) {
    InstallLists lists;
    FileRecord r = Record(c.kind, c.flags);
    r.Arguments = "/x";
    r.WorkingDir = "C:\\Work";
    r.Label = "Tool";
    r.ShortcutIcon = "tool.ico";
    QueueShortcut(lists, r, "C:\\App\\tool.exe");
    ASSERT_EQ(lists.ShortcutEntries.size(), c.queued ? 1u : 0u) << "kind " << c.kind << " flags " << c.flags;
    if (!c.queued) continue;
    const ShortcutRecord& link = lists.ShortcutEntries[0];
    EXPECT_EQ((link.OnDesktop != 0), c.desktop);
    EXPECT_EQ((link.InStartMenu != 0), c.startMenu);
    EXPECT_EQ((link.InStartup != 0), c.startup);
    EXPECT_EQ((link.KeepOnUninstall != 0), c.keep);
    EXPECT_EQ(link.LinkTarget, "C:\\App\\tool.exe");
    EXPECT_EQ(link.LinkArguments, "/x");
    EXPECT_EQ(link.LinkWorkingDir, "C:\\Work");
    EXPECT_EQ(link.LinkName, "Tool");
    EXPECT_EQ(link.LinkIcon, "tool.ico");
  }
}

}  // namespace
}  // namespace brennick
