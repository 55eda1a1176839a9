#include "run/win/install_log.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/win/path_text_win.h"

namespace brennick::win {
namespace {

constexpr const char* kSeparator = "\r\n\r\n**********************************************\r\n";

std::string ReadWholeFile(const std::string& path) {
  ScopedKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return "(missing)";
  std::string text(1 << 16, '\0');
  DWORD got = 0;
  ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  text.resize(got);
  return text;
}

bool Exists(const std::string& path) { return ::GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// An automatic run (no message boxes) installing into a scratch folder of the
// test's own; language string 43 is the success line.
class InstallLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "brennick-log-test-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    logPath_ = folder_ + "\\Install.LOG";

    InstallerState& state = program_.state;
    state.AutomaticMode = true;
    state.ProductName = "Example";
    state.InstallDir = folder_;
    SetFlag(state.Settings.ProductFlags, flags::kKeepInstallLog);
    LanguageStrings strings;
    strings.Names = {"English"};
    strings.Messages.resize(44, {""});
    strings.Messages[43] = {"Installation complete"};
    state.Messages = MessageTable(strings);
  }
  void TearDown() override {
    program_.installLog.Discard();
    ::DeleteFileA(logPath_.c_str());
    ::RemoveDirectoryA(folder_.c_str());
  }

  Program program_;
  std::string folder_;
  std::string logPath_;
};

TEST_F(InstallLogTest, RecordsTheRunAndRemovesTheTemporaryLog) {
  LogText(program_, "before the log exists\r\n");  // goes nowhere
  OpenInstallLog(program_);
  const std::string tempPath = program_.installLog.Path();
  ASSERT_FALSE(tempPath.empty());
  EXPECT_TRUE(Exists(tempPath));
  LogText(program_, "Creating restore point...");
  LogTexts(program_, {"OK", "\r\n"});
  LogFormat(program_, "File(%s) >>> %d%c\r\n", "a.txt", 42, '!');

  WriteInstallLog(program_, false, true, program_.state.FailureText);

  EXPECT_FALSE(Exists(tempPath));
  EXPECT_TRUE(program_.installLog.Path().empty());
  const std::string log = ReadWholeFile(logPath_);
  EXPECT_TRUE(log.starts_with("Installation log for: Example\r\nInstall date: ")) << log;
  EXPECT_NE(log.find("Installer version: 27.0.5\r\nOperating system: Windows "), std::string::npos) << log;
  EXPECT_TRUE(log.ends_with("\r\n\r\nCreating restore point...OK\r\nFile(a.txt) >>> 42!\r\n"
                            "\r\nInstallation complete\r\n"))
      << log;
  EXPECT_EQ(log.find("before the log exists"), std::string::npos);
  LogText(program_, "after the record\r\n");  // the log is gone: nothing happens

  // A second run appends its record after the separator.
  OpenInstallLog(program_);
  WriteInstallLog(program_, false, true, "");
  const std::string both = ReadWholeFile(logPath_);
  EXPECT_TRUE(both.starts_with(log + kSeparator + "Installation log for: Example\r\n")) << both;
  EXPECT_EQ(CountOf(both, kSeparator), 1u);
}

TEST_F(InstallLogTest, WithoutTheKeepFlagOnlyFailuresAreRecorded) {
  ClearFlag(program_.state.Settings.ProductFlags, flags::kKeepInstallLog);
  OpenInstallLog(program_);
  LogText(program_, "Copying...FAILED\r\n");
  const std::string tempPath = program_.installLog.Path();
  WriteInstallLog(program_, false, true, "");
  EXPECT_FALSE(Exists(logPath_));
  EXPECT_FALSE(Exists(tempPath));

  OpenInstallLog(program_);
  LogText(program_, "Copying...FAILED\r\n");
  AddFailure(program_, "Cannot copy ");
  AddFailures(program_, {"a.txt", ":\r\n"});
  AddFailureFormat(program_, "code %d\r\n\r\n", 5);
  WriteInstallLog(program_, false, false, program_.state.FailureText);
  EXPECT_TRUE(ReadWholeFile(logPath_).ends_with(
      "Copying...FAILED\r\n\r\n*** FAILURE SUMMARY ***\r\nCannot copy a.txt:\r\ncode 5\r\n\r\n"));
}

TEST_F(InstallLogTest, AppendToLogFileWaitsForAProgramThatHoldsTheFile) {
  {
    ScopedKernelHandle file(::CreateFileA(logPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), "record\r\n", 8, &written, nullptr);
  }
  ScopedKernelHandle held(::CreateFileA(logPath_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.valid());
  std::thread release([&held] {
    ::Sleep(150);
    held.reset();
  });
  AppendToLogFile(program_, "Failed to launch app: x.exe\r\n");
  release.join();
  EXPECT_EQ(ReadWholeFile(logPath_), "record\r\nFailed to launch app: x.exe\r\n");
}

}  // namespace
}  // namespace brennick::win
