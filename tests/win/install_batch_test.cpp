#include "run/win/install_batch.h"

#include <gtest/gtest.h>

#include "foundation/text.h"
#include "foundation/win/hidden_batch.h"
#include "foundation/win/short_path.h"
#include "run/win/install_log.h"
#include "scratch_folder.h"

namespace brennick::win {
namespace {

using testing::ScratchFolder;

// The temporary install log so far; the next append still goes to its end.
std::string LogSoFar(Program& program) { return program.installLog.ReadAll(); }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// An installation into a scratch folder (its name has blanks, so the batch
// is run by its short name), with the install log open.
class InstallBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.state.InstallDir = folder_.path();
    program_.state.ProductName = "R&D 100%";
    OpenInstallLog(program_);
    ASSERT_FALSE(program_.installLog.Path().empty());
  }
  void TearDown() override { program_.installLog.Discard(); }

  // The batch and its output file are gone after every run.
  void ExpectNoBatchFiles() {
    EXPECT_FALSE(Exists(folder_.path() + "\\SETUPBAT.BAT"));
    EXPECT_FALSE(Exists(folder_.path() + "\\cs_batch.log"));
  }

  Program program_;
  ScratchFolder folder_{"install batch"};
};

TEST_F(InstallBatchTest, RunsInTheFolderWithTheInstallerValuesAndLogsItsOutput) {
  program_.state.AutomaticMode = true;
  const std::string commands =
      "echo made>\"%InstallDir%\\made.txt\"\n"
      "set ProductName>name.txt\r\n"  // relative: the folder is the working folder
      "echo Batch says hello";
  EXPECT_TRUE(RunInstallBatch(program_, folder_.path(), false, commands, "Test Batch"));

  EXPECT_EQ(ScratchFolder::Read(folder_.path() + "\\made.txt"), "made\r\n");
  EXPECT_EQ(ScratchFolder::Read(folder_.path() + "\\name.txt"), "ProductName=R&D 100%\r\n");
  const std::string log = LogSoFar(program_);
  EXPECT_TRUE(log.ends_with("\r\nRunning Test Batch...\r\nBatch says hello\r\n\r\n")) << log;
  ExpectNoBatchFiles();
}

TEST_F(InstallBatchTest, BatchLiesInAFolderOfItsOwnWhileItRuns) {
  program_.state.AutomaticMode = true;
  // The folder may be open to other users: the batch they could change
  // while it runs must not be there. It is in a fresh folder of the
  // temporary folder (named by its short path, as the batch is started),
  // gone with it afterwards.
  EXPECT_TRUE(RunInstallBatch(program_, folder_.path(), true, "echo %~dp0>\"%InstallDir%\\where.txt\"", nullptr));
  std::string where = ScratchFolder::Read(folder_.path() + "\\where.txt");
  ASSERT_TRUE(where.ends_with("\\\r\n")) << where;
  where.resize(where.size() - 2);
  const std::string temporary = ShortPathOf(TemporaryFolder());
  EXPECT_TRUE(EqualsNoCase(where.substr(0, temporary.size()), temporary)) << where << " in " << temporary;
  EXPECT_GT(where.size(), temporary.size() + 1) << where;
  EXPECT_FALSE(Exists(where));
  ExpectNoBatchFiles();
}

TEST_F(InstallBatchTest, HiddenBatchLeavesOutPauseAndOutputIsOnlyLoggedWithALabel) {
  const std::string commands = "@PAUSE\r\necho after the pause";
  EXPECT_TRUE(RunInstallBatch(program_, folder_.path(), true, commands, "Hidden Batch"));
  const std::string log = LogSoFar(program_);
  // A pause that ran would have asked for a key in the output.
  EXPECT_TRUE(log.ends_with("\r\nRunning Hidden Batch...\r\nafter the pause\r\n\r\n")) << log;
  ExpectNoBatchFiles();

  EXPECT_TRUE(RunInstallBatch(program_, folder_.path(), true, "@pause\r\necho not captured", nullptr));
  EXPECT_EQ(LogSoFar(program_), log);
  ExpectNoBatchFiles();
}

TEST_F(InstallBatchTest, NothingToRunAndNowhereToWrite) {
  program_.state.AutomaticMode = true;  // no message box
  EXPECT_TRUE(RunInstallBatch(program_, folder_.path(), true, "", "Empty Batch"));
  ExpectNoBatchFiles();
  EXPECT_FALSE(RunInstallBatch(program_, folder_.path() + "\\missing", true, "echo x", "Lost Batch"));
  EXPECT_EQ(LogSoFar(program_).find("Lost Batch"), std::string::npos);
}

}  // namespace
}  // namespace brennick::win
