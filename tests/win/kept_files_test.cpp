#include "engine/win/kept_files.h"

#include <gtest/gtest.h>

#include <optional>

#include "scratch_folder.h"

namespace brennick::win {
namespace {

using testing::ScratchFolder;

// Records the progress calls as lines of text; pages are not expected here.
class ProgressRecorder final : public InstallUi {
 public:
  void ShowBackground(std::function<BackgroundLook()>) override { Unexpected(); }
  PageResult ShowGreeting() override { return Unexpected(); }
  bool EnterPassword() override { return Unexpected() == PageResult::Continue; }
  PageResult ShowLicense(const std::string&) override { return Unexpected(); }
  PageResult ShowReadme(const std::string&) override { return Unexpected(); }
  PageResult ShowFolderPage(std::string&) override { return Unexpected(); }
  PageResult ShowStartMenuPage(std::string&) override { return Unexpected(); }
  PageResult ShowMustUninstall() override { return Unexpected(); }
  void ShowSummary() override { Unexpected(); }
  void OpenProgressPage() override { Unexpected(); }
  void CloseProgressPage() override { Unexpected(); }

  void SetStatus(std::optional<MessageId> message) override { calls.push_back("status " + Number(message)); }
  void SetProgress(int percent) override { calls.push_back("progress " + std::to_string(percent)); }
  void ShowProgressItem(const std::string& path, std::optional<MessageId> message, std::uint64_t) override {
    calls.push_back("item " + path + " " + Number(message));
  }
  void WaitStage(int milliseconds) override { calls.push_back("wait " + std::to_string(milliseconds)); }

  std::vector<std::string> calls;

 private:
  static std::string Number(std::optional<MessageId> message) {
    return message ? std::to_string(static_cast<int>(*message)) : "none";
  }
  PageResult Unexpected() {
    ADD_FAILURE() << "a page was asked for";
    return PageResult::Cancel;
  }
};

TEST(WriteKeptFiles, WritesAndRecordsWhatTheFlagsAskFor) {
  ScratchFolder install("kept files");
  const std::string dataDir = install.path() + "\\uninstall data";
  ASSERT_TRUE(::CreateDirectoryA(dataDir.c_str(), nullptr));
  const std::string bitmap = install.path() + "\\uninstall data\\Installer Background.BMP";
  const std::string readme = install.path() + "\\readme.txt";
  const std::string eula1 = install.path() + "\\eula1.txt";
  const std::string eula2 = install.path() + "\\eula2.txt";

  const std::string bitmapBytes("BM\0\x01", 4);
  const std::string utf16Text("\xFF\xFE" "a\0", 4);

  struct Case {
    std::optional<flags::ProductBit> flag;
    std::vector<std::pair<std::string, std::string>> written;  // path, content
  };
  const Case cases[] = {
      {std::nullopt, {}},
      {flags::kKeepBackgroundBitmap, {{bitmap, bitmapBytes}}},
      {flags::kWriteReadmeFiles, {{readme, "read me"}}},
      {flags::kWriteLicenseFiles, {{eula1, utf16Text}, {eula2, "terms"}}},
  };
  for (const Case& c : cases) {
    Program program;
    InstallerState& state = program.state;
    state.InstallDir = install.path();
    state.UninstallDataDir = dataDir;
    state.Settings.MinStageTime = 250;
    if (c.flag) SetFlag(state.Settings.ProductFlags, *c.flag);
    state.Settings.BackgroundBitmap = bitmapBytes;
    state.Settings.ReadmeTexts = {"", "read me"};
    state.Settings.LicenseTexts = {utf16Text, "", "terms"};
    ProgressRecorder ui;

    WriteKeptFiles(program, ui);

    std::vector<std::string> expectedCalls;
    std::vector<RemovalEntry> expectedRemovals;
    for (const auto& [path, content] : c.written) {
      expectedCalls.push_back("item " + path + " none");
      expectedRemovals.push_back({kRemoveFile, path});
      EXPECT_EQ(ScratchFolder::Read(path), content) << path;
      ::DeleteFileA(path.c_str());
    }
    expectedCalls.insert(expectedCalls.end(), {"status 54", "wait 250", "progress 98"});
    EXPECT_EQ(ui.calls, expectedCalls) << c.flag.value_or(flags::ProductBit{-1});
    EXPECT_EQ(state.Lists.Removals, expectedRemovals) << c.flag.value_or(flags::ProductBit{-1});
    // Nothing else was written.
    for (const std::string& path : {bitmap, readme, eula1, eula2}) {
      EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << c.flag.value_or(flags::ProductBit{-1}) << " " << path;
    }
  }
  ::RemoveDirectoryA(dataDir.c_str());
}

TEST(WriteKeptFiles, AFileThatCannotBeWrittenIsNotRecorded) {
  ScratchFolder install("kept files unwritable");
  Program program;
  program.state.InstallDir = install.path() + "\\missing folder";
  SetFlag(program.state.Settings.ProductFlags, flags::kWriteReadmeFiles);
  program.state.Settings.ReadmeTexts = {"read me"};
  ProgressRecorder ui;
  WriteKeptFiles(program, ui);
  EXPECT_TRUE(program.state.Lists.Removals.empty());
  EXPECT_TRUE(program.state.FailureText.empty());
  EXPECT_EQ(ui.calls.back(), "progress 98");
}

}  // namespace
}  // namespace brennick::win
