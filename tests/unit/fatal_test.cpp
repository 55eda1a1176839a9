#include "foundation/fatal.h"

#include <gtest/gtest.h>

#include <vector>

#include "fatal_capture.h"
#include "foundation/checked_array.h"
#include "package/corrupt_installer.h"

namespace brennick {
namespace {

using testing::FatalMessageOf;

TEST(FatalError, FormatsPrintfStyle) {
  EXPECT_EQ(FatalMessageOf([] { FatalError("Error #%d: %s", 3, "The file was not found."); }),
            "Error #3: The file was not found.");
}

TEST(FatalError, CutsLongTextAt4096Bytes) {
  const std::string longText(10000, 'x');
  const std::string shown = FatalMessageOf([&] { FatalError("%s", longText.c_str()); });
  EXPECT_EQ(shown.size(), kFatalMessageCapacity - 1);  // the last byte holds the terminating zero
}

// Shows what it was given and records how it ended, by throwing.
class RecordingHandler final : public OnceOnlyFatalHandler {
 public:
  std::vector<std::string> shown;
  std::vector<std::string> ends;

 protected:
  void Show(const std::string& message) override {
    shown.push_back(message);
    if (message == "fails") FatalError("the handler failed");  // a second entry
  }
  [[noreturn]] void EndInOrder(int code) override {
    ends.push_back("in order " + std::to_string(code));
    throw 0;
  }
  [[noreturn]] void EndAtOnce(int code) override {
    ends.push_back("at once " + std::to_string(code));
    throw 0;
  }
};

TEST(OnceOnlyFatalHandler, SecondEntryEndsAtOnceWithoutAMessage) {
  RecordingHandler handler;
  FatalHandler* previous = SetFatalHandler(&handler);
  EXPECT_ANY_THROW(FatalError("fails"));
  SetFatalHandler(previous);
  EXPECT_EQ(handler.shown, std::vector<std::string>{"fails"});
  EXPECT_EQ(handler.ends, std::vector<std::string>{"at once 1"});
}

TEST(OnceOnlyFatalHandler, FirstEntryShowsThenEndsInOrder) {
  RecordingHandler handler;
  FatalHandler* previous = SetFatalHandler(&handler);
  EXPECT_ANY_THROW(FatalError("damaged"));
  SetFatalHandler(previous);
  EXPECT_EQ(handler.shown, std::vector<std::string>{"damaged"});
  EXPECT_EQ(handler.ends, std::vector<std::string>{"in order 1"});
}

TEST(CorruptInstaller, BuiltInEnglishTextWithTheCode) {
  EXPECT_EQ(FatalMessageOf([] { CorruptInstaller(43); }),
            "This installation program is corrupt.  This is usually caused by a faulty download, but it can "
            "also be caused by a virus on your computer.  The installation cannot proceed.\r\n\r\nDelete the "
            "corrupted installer (to prevent caching), then re-download it.  If the problem persists, check "
            "your system for viruses.\r\n\r\nError code: 43");
}

TEST(CheckedAt, IndexOutsideTheArrayIsFatal) {
  std::vector<int> items{1, 2, 3};
  EXPECT_EQ(CheckedAt(items, 2, "int"), 3);
  EXPECT_EQ(FatalMessageOf([&] { CheckedAt(items, 3, "int"); }), "Vector<int>[3]\r\nmax_index = 2");
  EXPECT_EQ(FatalMessageOf([&] { CheckedAt(items, -1, "int"); }), "Vector<int>[-1]\r\nmax_index = 2");
  std::vector<int> empty;
  EXPECT_EQ(FatalMessageOf([&] { CheckedAt(empty, 0, "FileRecord"); }), "Vector<FileRecord>[0]\r\nmax_index = -1");
}

}  // namespace
}  // namespace brennick
