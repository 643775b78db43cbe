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

std::string sampleBytes() {
  std::string bytes;
  for (int k = 0; k < 1000; ++k) bytes += static_cast<char>(k * 7 % 256);
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
  const std::vector<Case> cases = {
      {0, 1000, true}, {0, 0, true},     {999, 1, true},   {1000, 0, true},  {500, 77, true},
      {999, 2, false}, {1000, 1, false}, {1001, 0, false}, {~0ull, 1, false}, {1, ~std::size_t{0}, false},
  };
  std::unique_ptr<FileByteSource> file = openFile();
  ASSERT_NE(file, nullptr);
  MemoryByteSource memory(bytes_);
  RandomAccessBytes* both[] = {file->randomAccess(), memory.randomAccess()};
  for (RandomAccessBytes* bytes : both) {
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->size(), 1000u);
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
