#include "run/pending_renames.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

using Strings = std::vector<std::string>;

TEST(ForgetPendingRenamesIn, DropsOnlyOperationsOnDeletedFiles) {
  const std::set<std::string> deleted = {"c:\\app\\a.dll", "c:\\app\\b.dll", "c:\\app\\c.dll"};
  struct Case {
    const char* name;
    Strings list;
    Strings expected;
    Strings sources;
    bool changed;
  };
  const Case cases[] = {
      {"empty list", {}, {}, {}, false},
      {"other programs' operations stay in order",
       {"\\??\\C:\\Other\\x.tmp", "!\\??\\C:\\Other\\x.dll", "\\??\\C:\\Other\\old.log", ""},
       {"\\??\\C:\\Other\\x.tmp", "!\\??\\C:\\Other\\x.dll", "\\??\\C:\\Other\\old.log", ""},
       {}, false},
      {"a move onto a deleted file, in any letter case, with prefix and mark",
       {"\\??\\C:\\Other\\x.tmp", "\\??\\C:\\Other\\x.dll", "\\??\\C:\\App\\CVX1.TMP", "!\\??\\C:\\APP\\A.DLL"},
       {"\\??\\C:\\Other\\x.tmp", "\\??\\C:\\Other\\x.dll"},
       {"C:\\App\\CVX1.TMP"}, true},
      {"a deletion of a deleted file, and a deletion with an empty source",
       {"\\??\\C:\\App\\B.dll", "", "", "", "\\??\\C:\\Other\\y.dll", ""},
       {"\\??\\C:\\Other\\y.dll", ""},
       {}, true},
      {"the pair that moves into place is examined next",
       {"\\??\\C:\\App\\1.tmp", "\\??\\C:\\App\\a.dll", "\\??\\C:\\App\\2.tmp", "\\??\\C:\\App\\b.dll",
        "\\??\\C:\\App\\c.dll", "", "\\??\\C:\\Other\\z.dll", ""},
       {"\\??\\C:\\Other\\z.dll", ""},
       {"C:\\App\\1.tmp", "C:\\App\\2.tmp"}, true},
      {"an odd list is padded: its last string becomes a pending deletion",
       {"\\??\\C:\\Other\\x.tmp", "\\??\\C:\\Other\\x.dll", "\\??\\C:\\App\\c.dll"},
       {"\\??\\C:\\Other\\x.tmp", "\\??\\C:\\Other\\x.dll"},
       {}, true},
      {"a deleted file as the source of a move stays (only destinations count)",
       {"\\??\\C:\\App\\a.dll", "\\??\\C:\\Other\\a.dll"},
       {"\\??\\C:\\App\\a.dll", "\\??\\C:\\Other\\a.dll"},
       {}, false},
      {"a longer name that merely starts like a deleted file stays",
       {"\\??\\C:\\App\\a.dll.bak", ""},
       {"\\??\\C:\\App\\a.dll.bak", ""},
       {}, false},
  };
  for (const Case& c : cases) {
    Strings list = c.list;
    const PendingRenameCleanup result = ForgetPendingRenamesIn(list, deleted, false);
    EXPECT_EQ(list, c.expected) << c.name;
    EXPECT_EQ(result.sourcesToDelete, c.sources) << c.name;
    EXPECT_EQ(result.changed, c.changed) << c.name;
    EXPECT_EQ(result.log, "") << c.name;
  }
}

TEST(ForgetPendingRenamesIn, PaddingAloneIsNoChange) {
  Strings list = {"\\??\\C:\\Other\\x.tmp"};
  const PendingRenameCleanup result = ForgetPendingRenamesIn(list, {"c:\\app\\a.dll"}, false);
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(list, (Strings{"\\??\\C:\\Other\\x.tmp", ""}));
}

TEST(ForgetPendingRenamesIn, LogNamesEachDroppedPair) {
  Strings list = {"\\??\\C:\\App\\1.tmp", "!\\??\\C:\\App\\A.dll", "\\??\\C:\\App\\B.dll", "",
                  "\\??\\C:\\Other\\x.tmp", "\\??\\C:\\Other\\x.dll"};
  const PendingRenameCleanup result = ForgetPendingRenamesIn(list, {"c:\\app\\a.dll", "c:\\app\\b.dll"}, true);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(result.log,
            "\r\n"
            "File \"c:\\app\\a.dll\" was removed from the list of pending moves.\r\n"
            "File \"c:\\app\\b.dll\" was removed from the list of pending deletions.\r\n");
  Strings empty;
  EXPECT_EQ(ForgetPendingRenamesIn(empty, {}, true).log, "") << "nothing happens to an empty list";
}

}  // namespace
}  // namespace brennick
