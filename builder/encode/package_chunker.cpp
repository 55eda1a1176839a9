#include "builder/encode/package_chunker.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <string>
#include <thread>

#include "builder/basics/build_error.h"
#include "package/package_checksum.h"

namespace brennick::build {

namespace {

constexpr std::size_t kMaxField = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Packs the chunks of `stream` on all cores. Each chunk is a block of its
// own, so the bytes do not depend on how the work was shared out.
std::vector<std::vector<std::uint8_t>> PackChunks(std::span<const std::uint8_t> stream, std::size_t chunkSize,
                                                  int level) {
  const std::size_t count = (stream.size() + chunkSize - 1) / chunkSize;
  std::vector<std::vector<std::uint8_t>> packed(count);
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex failureLock;
  const auto work = [&] {
    try {
      for (std::size_t i = next++; i < count; i = next++) {
        const std::size_t start = i * chunkSize;
        packed[i] = EncodePackedBlock(stream.subspan(start, std::min(chunkSize, stream.size() - start)), level);
      }
    } catch (...) {
      const std::lock_guard<std::mutex> lock(failureLock);
      if (!failure) failure = std::current_exception();
      next = count;
    }
  };
  const std::size_t workers = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  for (std::size_t i = 1; i < workers; ++i) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  if (failure) std::rethrow_exception(failure);
  return packed;
}

}  // namespace

StoredArchive BuildArchive(std::span<const std::vector<std::uint8_t>> records, const ArchiveOptions& options) {
  std::vector<std::uint8_t> stream;
  for (const auto& record : records) {
    if (record.size() > kMaxField) throw BuildError("file record too large: " + std::to_string(record.size()));
    AppendU32(stream, static_cast<std::uint32_t>(record.size()));
    stream.insert(stream.end(), record.begin(), record.end());
  }

  const std::size_t chunkSize = std::clamp<std::size_t>(options.chunkSize, 1, kMaxField);
  const std::vector<std::vector<std::uint8_t>> packed =
      options.packChunks ? PackChunks(stream, chunkSize, options.level) : std::vector<std::vector<std::uint8_t>>{};
  StoredArchive archive;
  for (std::size_t start = 0, i = 0; start < stream.size(); start += chunkSize, ++i) {
    const std::span<const std::uint8_t> data =
        options.packChunks
            ? std::span<const std::uint8_t>(packed[i])
            : std::span<const std::uint8_t>(stream).subspan(start, std::min(chunkSize, stream.size() - start));
    AppendU32(archive.bytes, static_cast<std::uint32_t>(data.size()));
    AppendU32(archive.bytes, PackageChecksum(data));
    archive.bytes.insert(archive.bytes.end(), data.begin(), data.end());
  }

  if (archive.bytes.size() > kMaxField) throw BuildError("archive too large: " + std::to_string(archive.bytes.size()));
  archive.archiveSize = static_cast<std::int32_t>(archive.bytes.size());
  archive.archiveChecksum = PackageChecksum(archive.bytes);
  return archive;
}

}  // namespace brennick::build
