#ifndef VESSORY_TESTS_ARCHIVE_ARCHIVE_FAKES_H_
#define VESSORY_TESTS_ARCHIVE_ARCHIVE_FAKES_H_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_reader.h"
#include "files/byte_source.h"
#include "archive/message_sink.h"

namespace vessory::testing {

// Keeps every message in the order shown.
class RecordingMessages : public archive::MessageSink {
 public:
  void showMessage(const std::string& text) override { shown.push_back(text); }

  // How many of the shown messages start with `prefix`.
  std::size_t countStartingWith(std::string_view prefix) const {
    return static_cast<std::size_t>(std::count_if(
        shown.begin(), shown.end(), [&](const std::string& m) { return m.starts_with(prefix); }));
  }

  std::vector<std::string> shown;
};

inline constexpr std::string_view kPastEndNotice = "Just read char past EOF on byte ";

// Hands out the caller's bytes in chunks of a fixed size, so that reads straddle chunk
// boundaries wherever the size puts them. The bytes must outlive the source.
class ChunkedByteSource : public files::ByteSource {
 public:
  ChunkedByteSource(const std::string& bytes, std::size_t chunkSize)
      : bytes_(bytes), chunk_size_(chunkSize) {}

  std::span<const unsigned char> nextChunk() override {
    std::size_t take = std::min(chunk_size_, bytes_.size() - offset_);
    auto chunk = std::span(reinterpret_cast<const unsigned char*>(bytes_.data()) + offset_, take);
    offset_ += take;
    return chunk;
  }

 private:
  const std::string& bytes_;
  std::size_t chunk_size_;
  std::size_t offset_ = 0;
};

// Chunk size 0 stands for the whole archive in one chunk, the way a file of moderate size and
// the memory source deliver it.
inline std::unique_ptr<files::ByteSource> makeSource(const std::string& bytes,
                                                       std::size_t chunkSize) {
  if (chunkSize == 0) return std::make_unique<files::MemoryByteSource>(bytes);
  return std::make_unique<ChunkedByteSource>(bytes, chunkSize);
}

// An archive in memory with a reader over it and the messages it has shown.
struct OpenArchive {
  explicit OpenArchive(std::string data, std::size_t chunkSize = 0)
      : bytes(std::move(data)), source(makeSource(bytes, chunkSize)), reader(*source, messages) {}

  std::string bytes;
  std::unique_ptr<files::ByteSource> source;
  RecordingMessages messages;
  archive::ArchiveReader reader;
};

// Bytes from their codes: bytesOf({0x34, 0x12}).
inline std::string bytesOf(std::initializer_list<int> codes) {
  std::string out;
  for (int code : codes) out += static_cast<char>(code);
  return out;
}

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_ARCHIVE_ARCHIVE_FAKES_H_
