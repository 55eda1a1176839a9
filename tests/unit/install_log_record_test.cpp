#include "run/install_log_record.h"

#include <gtest/gtest.h>

namespace brennick {
namespace {

InstallLogRecord Sample() {
  InstallLogRecord r;
  r.productName = "Example";
  r.installDate = {2026, 12, 8, 14, 7, 24};
  r.installDir = "C:\\Program Files\\Example";
  r.operatingSystem = "Windows 10";
  r.body = "Creating restore point...OK\r\n";
  r.successLine = "Installation complete";
  return r;
}

TEST(InstallLogRecord, FirstRecordWithEveryLine) {
  InstallLogRecord r = Sample();
  r.hasUninstaller = true;
  r.displayVersion = "2.1";
  r.overwritingVersion = "2.0";
  EXPECT_EQ(BuildInstallLogRecord(r),
            "Installation log for: Example\r\n"
            "Install date: 8-Dec-2026 2:07:24p\r\n"
            "Install type: New\r\n"
            "Install location: C:\\Program Files\\Example\r\n"
            "Installer version: 27.0.5\r\n"
            "Product version: 2.1\r\n"
            "Overwriting version: 2.0\r\n"
            "Operating system: Windows 10\r\n"
            "\r\n"
            "Creating restore point...OK\r\n"
            "\r\n"
            "Installation complete\r\n");
}

TEST(InstallLogRecord, LaterRecordWithFailuresAndNoOptionalLines) {
  InstallLogRecord r = Sample();
  r.fileWasEmpty = false;
  r.failures = "Failed to copy a.dll\r\n\r\n";
  EXPECT_EQ(BuildInstallLogRecord(r),
            "\r\n\r\n**********************************************\r\n"
            "Installation log for: Example\r\n"
            "Install date: 8-Dec-2026 2:07:24p\r\n"
            "Install location: C:\\Program Files\\Example\r\n"
            "Installer version: 27.0.5\r\n"
            "Operating system: Windows 10\r\n"
            "\r\n"
            "Creating restore point...OK\r\n"
            "\r\n"
            "*** FAILURE SUMMARY ***\r\n"
            "Failed to copy a.dll\r\n\r\n");
}

TEST(InstallLogRecord, InstallTypeOnlyWithAnUninstaller) {
  struct Case {
    bool hasUninstaller;
    bool isReinstall;
    const char* line;  // nullptr: no such line
  };
  const Case cases[] = {
      {true, false, "Install type: New\r\n"},
      {true, true, "Install type: Reinstall\r\n"},
      {false, true, nullptr},
  };
  for (const Case& c : cases) {
    InstallLogRecord r = Sample();
    r.hasUninstaller = c.hasUninstaller;
    r.isReinstall = c.isReinstall;
    const std::string text = BuildInstallLogRecord(r);
    if (c.line != nullptr) {
      EXPECT_NE(text.find(std::string("2:07:24p\r\n") + c.line + "Install location: "), std::string::npos) << text;
    } else {
      EXPECT_EQ(text.find("Install type"), std::string::npos) << text;
    }
  }
}

TEST(InstallLogRecord, BodyIsCopiedByteForByte) {
  InstallLogRecord r = Sample();
  const std::string body("a\0b\xff\r\n%s", 8);
  r.body = body;
  EXPECT_NE(BuildInstallLogRecord(r).find("\r\n\r\n" + body + "\r\nInstallation complete\r\n"), std::string::npos);
}

TEST(InstallLogPath, UninstallDataFolderElseInstallFolder) {
  EXPECT_EQ(InstallLogPath("C:\\App\\Uninstall", "C:\\App"), "C:\\App\\Uninstall\\Install.LOG");
  EXPECT_EQ(InstallLogPath("", "C:\\App\\"), "C:\\App\\Install.LOG");
}

}  // namespace
}  // namespace brennick
