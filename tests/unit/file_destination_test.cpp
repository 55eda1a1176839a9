#include "engine/file_destination.h"

#include <gtest/gtest.h>

#include "fatal_capture.h"
#include "package/corrupt_installer.h"
#include "run/folder_rules.h"

namespace brennick {
namespace {

const DestinationFolders kFolders{"C:\\Program Files\\App", "C:\\Program Files\\Common Files\\Pub",
                                  "C:\\Program Files\\App\\uninst", "C:\\windows\\Fonts", "C:\\windows\\system32"};

std::string Expand(const std::string& text) {
  std::string out = text;
  const std::string variable = "%InstallDir%";
  if (const auto at = out.find(variable); at != std::string::npos) out.replace(at, variable.size(), kFolders.installDir);
  return out;
}

TEST(FileDestination, ByKindFlagAndOverride) {
  struct Case {
    std::int32_t kind;
    std::int32_t flags;
    const char* target;
    const char* path;
    bool createFolders;
    const char* name;  // the record's name afterwards
  } const cases[] = {
      {0, 0, "", "C:\\Program Files\\App\\bin\\app.exe", true, "bin\\app.exe"},
      {5, 0, "", "C:\\Program Files\\App\\bin\\app.exe", true, "bin\\app.exe"},
      {12, 0, "", "C:\\Program Files\\App\\bin\\app.exe", true, "bin\\app.exe"},
      {1, 0, "", "C:\\Program Files\\Common Files\\Pub\\bin\\app.exe", false, "bin\\app.exe"},
      {4, 0, "", "C:\\windows\\Fonts\\bin\\app.exe", false, "bin\\app.exe"},
      {7, 0, "", "C:\\windows\\system32\\bin\\app.exe", false, "bin\\app.exe"},
      {0, 1 << 6, "", "C:\\Program Files\\App\\uninst\\bin\\app.exe", false, "bin\\app.exe"},
      // A bare name renames the file in its own folder.
      {0, 0, "readme2.txt", "C:\\Program Files\\App\\readme2.txt", true, "readme2.txt"},
      // A folder that ends in a backslash keeps the file's own name.
      {0, 0, "%InstallDir%\\docs\\", "C:\\Program Files\\App\\docs\\app.exe", true, "bin\\app.exe"},
      {0, 0, "%InstallDir%\\docs\\\\", "C:\\Program Files\\App\\docs\\app.exe", true, "bin\\app.exe"},
      {0, 1 << 6, "extra\\new.exe", "C:\\Program Files\\App\\extra\\new.exe", true, "bin\\app.exe"},
      {1, 0, "lib\\", "C:\\Program Files\\Common Files\\Pub\\lib\\app.exe", true, "bin\\app.exe"},
      {6, 0, "D:\\Tools\\x.dll", "D:\\Tools\\x.dll", true, "bin\\app.exe"},
  };
  for (const Case& c : cases) {
    FileRecord record;
    record.Name = "bin\\app.exe";
    record.Kind = static_cast<FileKind>(c.kind);
    record.FileFlags = c.flags;
    record.TargetOverride = c.target;
    const FileDestination d = ResolveFileDestination(record, kFolders, Expand);
    EXPECT_EQ(d.path, c.path) << c.kind << " " << c.target;
    EXPECT_EQ(d.createFolders, c.createFolders) << c.kind << " " << c.target;
    EXPECT_EQ(record.Name, c.name) << c.kind << " " << c.target;
  }
}

TEST(FileDestination, InvalidKindIsDamage) {
  for (const std::int32_t kind : {2, 3, 13, -1}) {
    FileRecord record;
    record.Name = "a";
    record.Kind = static_cast<FileKind>(kind);
    EXPECT_EQ(testing::FatalMessageOf([&] { ResolveFileDestination(record, kFolders, Expand); }),
              testing::FatalMessageOf([] { CorruptInstaller(110); }))
        << kind;
  }
}

TEST(FolderRules, AbsoluteFolders) {
  struct Case {
    const char* typed;
    const char* accepted;  // nullptr: refused
  } const cases[] = {
      {"C:\\Apps\\Tool", "C:\\Apps\\Tool"},
      {"\"C:\\Some Folder\\App\"", "C:\\Some Folder\\App"},
      {"\\\\server\\share\\App", "\\\\server\\share\\App"},
      {"C:\\", "C:\\"},
      {"C:Apps", nullptr},
      {"Apps\\Tool", nullptr},
      {"\\Apps", nullptr},
      {"\\\\\\server", nullptr},
      {"C:\\Apps\\\\Tool", nullptr},
      {"C:\\Apps/Tool", nullptr},
      {"C:\\Apps\\a:b", nullptr},
      {"C:\\Apps\\a*", nullptr},
      {"C:\\Apps\\a;b", nullptr},
      {"C:\\Apps\\a|b", nullptr},
      {"1:\\Apps", nullptr},
  };
  for (const Case& c : cases) {
    const auto folder = AbsoluteFolderText(c.typed);
    if (c.accepted == nullptr) {
      EXPECT_FALSE(folder) << c.typed;
    } else {
      EXPECT_EQ(folder.value_or("(refused)"), c.accepted) << c.typed;
    }
  }
  EXPECT_EQ(DriveLetterOfFolder("d:\\x"), 'D');
  EXPECT_EQ(DriveLetterOfFolder("\\\\server\\x"), 0);
  EXPECT_EQ(VolumeRoot("d:\\x\\y"), "D:\\");
  EXPECT_EQ(VolumeRoot("\\\\server\\share\\App\\x"), "\\\\server\\share\\");
  EXPECT_EQ(VolumeRoot("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(VolumeRoot("\\\\server"), "");
  EXPECT_TRUE(IsSameFolder("c:\\program files\\", "C:\\Program Files"));
  EXPECT_FALSE(IsSameFolder("C:\\Program Files\\App", "C:\\Program Files"));
}

}  // namespace
}  // namespace brennick
