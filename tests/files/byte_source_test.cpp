// Bytes read at any offset, from a file on disk and from memory: the same answers from both, and
// the forward reading of a file unaffected by it.

#include "files/byte_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vessory::files {
namespace {

// Larger than the file source's window of 256 KiB, so that reads cross its edges.
constexpr std::uint64_t kSize = 600000;

std::string sampleBytes() {
  std::string bytes;
  for (std::uint64_t k = 0; k < kSize; ++k) bytes += static_cast<char>(k * 7 % 251);
  return bytes;
}

class ByteSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("vessory-bytes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::ofstream(path_, std::ios::binary) << bytes_;
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::unique_ptr<FileByteSource> openFile() {
    std::string error;
    std::unique_ptr<FileByteSource> file = FileByteSource::open(path_.string(), error);
    EXPECT_NE(file, nullptr) << error;
    return file;
  }

  const std::string bytes_ = sampleBytes();
  std::filesystem::path path_;
};

TEST_F(ByteSourceTest, ReadsAtAnOffsetWhatLiesThereAndNothingPastTheEnd) {
  struct Case {
    std::uint64_t offset;
    std::size_t length;
    bool whole;
  };
  // In this order: each read may start a new window or fall in the last one.
  const std::vector<Case> cases = {
      {0, kSize, true},          {0, 0, true},           {500, 77, true},
      {262600, 100, true},       {262700, 100, true},    {kSize - 1, 1, true},
      {kSize, 0, true},          {kSize - 1, 2, false},  {kSize, 1, false},
      {kSize + 1, 0, false},     {~0ull, 1, false},      {1, ~std::size_t{0}, false},
      {300000, 300000, true},    {7, 262144, true},      {8, 262144, true},
  };
  std::unique_ptr<FileByteSource> file = openFile();
  ASSERT_NE(file, nullptr);
  MemoryByteSource memory(bytes_);
  RandomAccessBytes* both[] = {file->randomAccess(), memory.randomAccess()};
  for (RandomAccessBytes* bytes : both) {
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->size(), kSize);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.offset) + "+" + std::to_string(c.length));
      std::vector<unsigned char> into = {1, 2, 3};
      EXPECT_EQ(bytes->readAt(c.offset, c.length, into), c.whole);
      if (c.whole) {
        EXPECT_EQ(std::string(into.begin(), into.end()), bytes_.substr(c.offset, c.length));
      }
      // The end of the data is no failure of the disk.
      EXPECT_EQ(bytes->errorText(), "");
    }
  }
}

TEST_F(ByteSourceTest, AFileReadForwardGivesEveryByteOnce) {
  std::unique_ptr<FileByteSource> file = openFile();
  ASSERT_NE(file, nullptr);
  std::string read;
  for (auto chunk = file->nextChunk(); !chunk.empty(); chunk = file->nextChunk()) {
    read.append(chunk.begin(), chunk.end());
  }
  EXPECT_EQ(read, bytes_);
  EXPECT_EQ(file->errorText(), "");
  // Closed, it reads nothing, at an offset neither.
  file->close();
  std::vector<unsigned char> into;
  EXPECT_FALSE(file->readAt(0, 1, into));
  EXPECT_TRUE(file->nextChunk().empty());
}

}  // namespace
}  // namespace vessory::files
