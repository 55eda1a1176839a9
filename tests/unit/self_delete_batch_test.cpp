#include "uninstall/self_delete_batch.h"

#include <gtest/gtest.h>

#include <string>

namespace brennick {
namespace {

const std::string kHead =
    ":Repeat\r\n"
    "del \"C:\\App\\Uninstall\\unins.exe\"\r\n"
    "if exist \"C:\\App\\Uninstall\\unins.exe\" goto Repeat\r\n"
    "CHOICE /T 3 /D Y\r\n";
const std::string kTail =
    "rd \"C:\\App\"\r\n"
    "del \"C:\\Temp\\delunins.bat\"\r\n";

TEST(SelfDeleteBatchText, RemovesTheUninstallFoldersInnermostFirst) {
  struct Case {
    const char* subdir;
    const char* folders;
  };
  const Case cases[] = {
      {"", ""},
      {"Uninstall", "rd \"C:\\App\\Uninstall\"\r\n"},
      {"Support\\Uninstall", "rd \"C:\\App\\Support\\Uninstall\"\r\nrd \"C:\\App\\Support\"\r\n"},
      {"Support\\Uninstall\\", "rd \"C:\\App\\Support\\Uninstall\\\"\r\nrd \"C:\\App\\Support\"\r\n"},
      {"\\Uninstall", "rd \"C:\\App\\Uninstall\"\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelfDeleteBatchText("C:\\App\\Uninstall\\unins.exe", "C:\\App", c.subdir, "C:\\Temp\\delunins.bat"),
              kHead + c.folders + kTail)
        << c.subdir;
  }
}

TEST(SelfDeleteBatchText, WalksUpAtMostFiftyLevels) {
  std::string subdir = "d";
  for (int i = 0; i < 59; ++i) subdir += "\\d";
  const std::string text = SelfDeleteBatchText("x.exe", "C:\\App", subdir, "b.bat");
  std::size_t rd = 0;
  for (std::size_t at = text.find("rd \""); at != std::string::npos; at = text.find("rd \"", at + 1)) ++rd;
  EXPECT_EQ(rd, 51u);  // fifty levels of the uninstall folder, then the installation folder
  EXPECT_NE(text.find("rd \"C:\\App\\" + subdir + "\"\r\n"), std::string::npos);
  EXPECT_EQ(text.find("rd \"C:\\App\\d\\d\\d\\d\\d\\d\\d\\d\\d\\d\"\r\n"), std::string::npos);
}

TEST(SelfDeleteBatchText, EveryPathGoesThroughTheSpelling) {
  const auto spell = [](const std::string& path) { return path.starts_with("|") ? "S(" + path.substr(1) + ")" : path; };
  EXPECT_EQ(SelfDeleteBatchText("|C:\\\xc3\xbc\\U\\u.exe", "|C:\\\xc3\xbc", "U", "C:\\T\\delunins.bat", spell),
            ":Repeat\r\ndel \"S(C:\\\xc3\xbc\\U\\u.exe)\"\r\nif exist \"S(C:\\\xc3\xbc\\U\\u.exe)\" goto Repeat\r\n"
            "CHOICE /T 3 /D Y\r\nrd \"S(C:\\\xc3\xbc\\U)\"\r\nrd \"S(C:\\\xc3\xbc)\"\r\ndel \"C:\\T\\delunins.bat\"\r\n");
}

TEST(SelfDeleteBatchText, PercentSignsInPathsAreNotExpanded) {
  EXPECT_EQ(SelfDeleteBatchText("C:\\100%App%\\u.exe", "C:\\100%App%", "U%TEMP%", "C:\\T%\\delunins.bat"),
            ":Repeat\r\n"
            "del \"C:\\100%%App%%\\u.exe\"\r\n"
            "if exist \"C:\\100%%App%%\\u.exe\" goto Repeat\r\n"
            "CHOICE /T 3 /D Y\r\n"
            "rd \"C:\\100%%App%%\\U%%TEMP%%\"\r\n"
            "rd \"C:\\100%%App%%\"\r\n"
            "del \"C:\\T%%\\delunins.bat\"\r\n");
}

}  // namespace
}  // namespace brennick
