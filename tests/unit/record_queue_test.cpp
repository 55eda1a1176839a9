#include "package/record_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fatal_capture.h"
#include "package/corrupt_installer.h"

namespace brennick {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Framed(const std::string& body) {
  Bytes bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(body.size() >> (8 * i)));
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

std::string Text(const std::optional<std::span<const std::uint8_t>>& record) {
  return record ? std::string(record->begin(), record->end()) : "(none)";
}

TEST(RecordQueue, IncompleteRecordsWaitUntouched) {
  const Bytes stream = Framed("first");
  RecordQueue queue;
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_EQ(Text(queue.TakeRecord()), "(none)");
  // Fed a byte at a time, the record appears exactly when its last byte does.
  for (std::size_t i = 0; i + 1 < stream.size(); ++i) {
    queue.Feed(std::span(stream).subspan(i, 1));
    EXPECT_EQ(Text(queue.TakeRecord()), "(none)") << "after " << i + 1 << " bytes";
    EXPECT_FALSE(queue.IsEmpty());
  }
  queue.Feed(std::span(stream).last(1));
  EXPECT_EQ(Text(queue.TakeRecord()), "first");
  EXPECT_TRUE(queue.IsEmpty());
}

TEST(RecordQueue, RecordsAcrossAndWithinFeeds) {
  Bytes stream;
  const std::vector<std::string> bodies = {"", "a", std::string(3000, 'b'), "cd", std::string(70, 'e')};
  for (const auto& body : bodies) {
    const Bytes framed = Framed(body);
    stream.insert(stream.end(), framed.begin(), framed.end());
  }
  for (std::size_t piece : {1u, 3u, 7u, 100u, 5000u}) {
    RecordQueue queue;
    std::vector<std::string> taken;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      queue.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
      while (auto record = queue.TakeRecord()) taken.push_back(Text(record));
    }
    EXPECT_EQ(taken, bodies) << "pieces of " << piece;
    EXPECT_TRUE(queue.IsEmpty());
  }
}

TEST(RecordQueue, NegativeLengthIsCorrupt) {
  RecordQueue queue;
  const Bytes stream = {0xFF, 0xFF, 0xFF, 0xFF, 'x'};
  queue.Feed(stream);
  const std::string expected = testing::FatalMessageOf([] { CorruptInstaller(corrupt::kRecordLengthNegative); });
  EXPECT_EQ(testing::FatalMessageOf([&] { queue.TakeRecord(); }), expected);
  EXPECT_NE(expected.find("Error code: 84"), std::string::npos);
}

}  // namespace
}  // namespace brennick
