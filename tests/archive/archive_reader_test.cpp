#include "archive/archive_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "archive/format.h"
#include "archive_fakes.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

using archive::kNullStringMarker;

constexpr std::string_view kStrayNotice = "Unexpected Long before cString found";

// Every case runs with the archive in one chunk and cut into chunks of 1 and 3 bytes: where
// the chunks break must never change a value, a message or a position.
class ArchiveReaderTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  std::size_t chunkSize() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Chunking, ArchiveReaderTest, ::testing::Values(0, 1, 3));

struct IntegerCase {
  std::string bytes;
  int width;
  std::int64_t expected;
};

TEST_P(ArchiveReaderTest, IntegersAreLittleEndianAndOnlyFourFfBytesAreNegative) {
  const std::vector<IntegerCase> cases = {
      {bytesOf({0x34, 0x12}), 2, 4660},
      {bytesOf({0xFF}), 1, 255},
      {bytesOf({0xFF, 0xFF}), 2, 65535},
      {bytesOf({0xFF, 0xFF, 0xFF}), 3, 16777215},
      {bytesOf({0x01, 0x02, 0x03}), 3, 0x030201},
      {bytesOf({0xFF, 0xFF, 0xFF, 0xFF}), 4, -1},
      {bytesOf({0xFE, 0xFF, 0xFF, 0xFF}), 4, 4294967294},
      {bytesOf({0xFF, 0xFF, 0xFF, 0xFE}), 4, 4278190079},
      {bytesOf({0x00, 0x00, 0x00, 0x80}), 4, 2147483648},
      {bytesOf({0xFF, 0xFF, 0xFF, 0x7F}), 4, 2147483647},
      {bytesOf({0x78, 0x56, 0x34, 0x12}), 4, 0x12345678},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "width " << c.width << ", expected " << c.expected);
    // A trailing byte keeps every read away from the end of the data.
    OpenArchive archive(c.bytes + "!", chunkSize());
    EXPECT_EQ(archive.reader.readInteger(c.width), c.expected);
    EXPECT_EQ(archive.reader.position(), static_cast<std::uint64_t>(c.width));
    EXPECT_EQ(archive.reader.readChars(1), "!");
    EXPECT_FALSE(archive.reader.atEnd());
    EXPECT_TRUE(archive.messages.shown.empty());
  }
}

TEST_P(ArchiveReaderTest, WidthZeroOrLessReadsNothing) {
  OpenArchive archive(bytesOf({0x05}), chunkSize());
  EXPECT_EQ(archive.reader.readInteger(0), 0);
  EXPECT_EQ(archive.reader.readInteger(-2), 0);
  EXPECT_EQ(archive.reader.position(), 0u);
  EXPECT_EQ(archive.reader.readInteger(1), 5);
}

TEST_P(ArchiveReaderTest, ShortIntegerNamesTheMissingByteAndYieldsNoValue) {
  for (int width = 1; width <= 4; ++width) {
    for (int present = 0; present < width; ++present) {
      SCOPED_TRACE(::testing::Message() << "width " << width << ", bytes left " << present);
      OpenArchive archive(std::string(static_cast<std::size_t>(present), '\x7F'), chunkSize());
      EXPECT_FALSE(archive.reader.readInteger(width).has_value());
      EXPECT_TRUE(archive.reader.atEnd());
      EXPECT_EQ(archive.reader.position(), static_cast<std::uint64_t>(present));
      EXPECT_EQ(archive.messages.shown, std::vector<std::string>{std::string(kPastEndNotice) +
                                                                 std::to_string(present + 1)});
    }
  }
}

TEST_P(ArchiveReaderTest, OnlyTheFirstShortfallOfAnArchiveIsReported) {
  OpenArchive archive(bytesOf({0x01}), chunkSize());
  EXPECT_FALSE(archive.reader.readInteger(4).has_value());
  EXPECT_FALSE(archive.reader.readInteger(2).has_value());
  EXPECT_FALSE(archive.reader.readInteger(1).has_value());
  EXPECT_EQ(archive.reader.readCString(), "");
  EXPECT_FALSE(archive.reader.readInteger(4).has_value());
  EXPECT_EQ(archive.messages.shown, std::vector<std::string>{std::string(kPastEndNotice) + "2"});
}

TEST_P(ArchiveReaderTest, ConsumingTheLastByteExactlyDoesNotSetTheEndFlag) {
  OpenArchive archive(bytesOf({0x02, 0x00}), chunkSize());
  EXPECT_EQ(archive.reader.readInteger(2), 2);
  EXPECT_FALSE(archive.reader.atEnd());
  EXPECT_EQ(archive.reader.readChars(0), "");
  EXPECT_FALSE(archive.reader.atEnd());
  EXPECT_EQ(archive.reader.readChars(1), "");
  EXPECT_TRUE(archive.reader.atEnd());
  EXPECT_EQ(archive.reader.position(), 2u);
  EXPECT_TRUE(archive.messages.shown.empty());
}

TEST_P(ArchiveReaderTest, ReadCharsReturnsWhatWasLeftSilently) {
  OpenArchive archive("XYAB", chunkSize());
  EXPECT_EQ(archive.reader.readChars(2), "XY");
  std::string out = "stale text";
  archive.reader.readChars(4, out);
  EXPECT_EQ(out, "AB");
  EXPECT_TRUE(archive.reader.atEnd());
  EXPECT_EQ(archive.reader.position(), 4u);
  EXPECT_TRUE(archive.messages.shown.empty());
}

TEST_P(ArchiveReaderTest, ShortFormStringsKeepEveryByte) {
  OpenArchive archive(bytesOf({0x00, 0x03, 'A', 'B', 'C', 0x03, 0x00, 0xFF, 0x0A, 0x00}),
                      chunkSize());
  std::string out = "a longer text that was here before";
  archive.reader.readCString(out);
  EXPECT_EQ(out, kNullStringMarker);
  EXPECT_EQ(archive.reader.position(), 1u);
  archive.reader.readCString(out);
  EXPECT_EQ(out, "ABC");
  EXPECT_EQ(archive.reader.position(), 5u);
  EXPECT_EQ(archive.reader.readCString(), bytesOf({0x00, 0xFF, 0x0A}));
  EXPECT_EQ(archive.reader.readCString(), kNullStringMarker);
  EXPECT_FALSE(archive.reader.atEnd());
  EXPECT_TRUE(archive.messages.shown.empty());
}

TEST_P(ArchiveReaderTest, LongFormStringsCarryTheirLengthInTwoBytes) {
  const std::string text300(300, 'q');
  const std::string text65535(65535, '\xFF');
  ArchiveBuilder built;
  built.cstring(text300).longCString("ABC").longCString(text65535).integer(1, 7);
  ASSERT_EQ(built.bytes().substr(0, 3), bytesOf({0xFF, 0x2C, 0x01}));

  OpenArchive archive(built.bytes(), chunkSize());
  EXPECT_EQ(archive.reader.readCString(), text300);
  EXPECT_EQ(archive.reader.position(), 303u);
  EXPECT_EQ(archive.reader.readCString(), "ABC");
  EXPECT_EQ(archive.reader.position(), 309u);
  EXPECT_EQ(archive.reader.readCString(), text65535);
  EXPECT_EQ(archive.reader.position(), 309u + 3 + 65535);
  EXPECT_EQ(archive.reader.readInteger(1), 7);
  EXPECT_TRUE(archive.messages.shown.empty());
}

TEST_P(ArchiveReaderTest, StrayGroupsAreSkippedWithOneNoticeEach) {
  ArchiveBuilder built;
  built.strayGroup().cstring("ABC").strayGroup().strayGroup().cstring("").integer(1, 9);
  OpenArchive archive(built.bytes(), chunkSize());
  EXPECT_EQ(archive.reader.readCString(), "ABC");
  EXPECT_EQ(archive.reader.position(), 9u);
  EXPECT_EQ(archive.messages.shown, std::vector<std::string>{std::string(kStrayNotice)});
  EXPECT_EQ(archive.reader.readCString(), kNullStringMarker);
  EXPECT_EQ(archive.reader.position(), 20u);
  EXPECT_EQ(archive.messages.shown.size(), 3u);
  EXPECT_EQ(archive.reader.readInteger(1), 9);
  EXPECT_FALSE(archive.reader.halted());
}

TEST_P(ArchiveReaderTest, SequencingErrorHaltsTheReader) {
  ArchiveBuilder built;
  built.strayGroup().sequencingError(0x0100).cstring("after").integer(4, 1);
  OpenArchive archive(built.bytes(), chunkSize());
  std::string out = "previous";
  archive.reader.readCString(out);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(archive.reader.halted());
  EXPECT_EQ(archive.reader.position(), 10u);
  EXPECT_EQ(archive.messages.shown,
            (std::vector<std::string>{std::string(kStrayNotice), "sequencing error"}));

  // Nothing more is read, and nothing more is said.
  EXPECT_FALSE(archive.reader.readInteger(1).has_value());
  EXPECT_FALSE(archive.reader.readInteger(4).has_value());
  EXPECT_EQ(archive.reader.readCString(), "");
  EXPECT_EQ(archive.reader.readChars(3), "");
  EXPECT_EQ(archive.reader.position(), 10u);
  EXPECT_EQ(archive.messages.shown.size(), 2u);
}

TEST_P(ArchiveReaderTest, StringRunningPastTheEndYieldsWhatWasLeft) {
  const std::pair<std::string, std::string> cases[] = {
      {bytesOf({0x05, 'A', 'B'}), "AB"},
      {bytesOf({0xFF, 0x0A, 0x00, 'A'}), "A"},
  };
  for (const auto& [bytes, left] : cases) {
    OpenArchive archive(bytes, chunkSize());
    EXPECT_EQ(archive.reader.readCString(), left);
    EXPECT_TRUE(archive.reader.atEnd());
    EXPECT_TRUE(archive.messages.shown.empty());
    // The first integer after it is the one that reports the end.
    EXPECT_FALSE(archive.reader.readInteger(2).has_value());
    EXPECT_EQ(archive.messages.shown, std::vector<std::string>{std::string(kPastEndNotice) + "1"});
  }
}

TEST_P(ArchiveReaderTest, StringAtAnEndedArchiveIsEmptyAndSilent) {
  OpenArchive archive("", chunkSize());
  std::string out = "previous";
  archive.reader.readCString(out);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(archive.reader.atEnd());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(archive.reader.readCString(), "");
  EXPECT_TRUE(archive.messages.shown.empty());
  EXPECT_EQ(archive.reader.position(), 0u);
}

// A long length or a check word cut short is the end of the archive, not a stray group: one
// end notice, then empty text.
TEST_P(ArchiveReaderTest, LongLengthCutShortReportsTheEndOnly) {
  for (const std::string& bytes :
       {bytesOf({0xFF}), bytesOf({0xFF, 0x05}), bytesOf({0xFF, 0x00, 0x00, 0x01})}) {
    OpenArchive archive(bytes, chunkSize());
    EXPECT_EQ(archive.reader.readCString(), "");
    EXPECT_FALSE(archive.reader.halted());
    EXPECT_TRUE(archive.reader.atEnd());
    const std::size_t missingByte = bytes.size() == 4 ? 2 : bytes.size();
    EXPECT_EQ(archive.messages.shown,
              std::vector<std::string>{std::string(kPastEndNotice) + std::to_string(missingByte)});
    EXPECT_FALSE(archive.reader.readInteger(4).has_value());
    EXPECT_EQ(archive.messages.shown.size(), 1u);
  }
}

// The file source hands the file out in large chunks; a value and a string that straddle the
// first chunk's end must come through whole.
TEST(FileByteSourceTest, ReadsAcrossItsOwnChunkBoundary) {
  const std::string path = ::testing::TempDir() + "vessory_file_source_test.dat";
  constexpr std::size_t kFiller = 256 * 1024 - 2;
  ArchiveBuilder built;
  built.raw(std::string(kFiller, 'f')).integer(4, 0x12345678).cstring("straddle");
  writeFile(path, built.bytes());

  std::string error;
  std::unique_ptr<files::FileByteSource> file = files::FileByteSource::open(path, error);
  ASSERT_NE(file, nullptr) << error;
  RecordingMessages messages;
  archive::ArchiveReader reader(*file, messages);
  EXPECT_EQ(reader.readChars(kFiller).size(), kFiller);
  EXPECT_EQ(reader.readInteger(4), 0x12345678);
  EXPECT_EQ(reader.readCString(), "straddle");
  EXPECT_FALSE(reader.atEnd());
  EXPECT_EQ(reader.readChars(1), "");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(reader.position(), built.size());
  EXPECT_EQ(file->errorText(), "");
  file->close();
  std::remove(path.c_str());

  EXPECT_EQ(files::FileByteSource::open(path, error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vessory::testing
