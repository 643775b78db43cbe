#include "archive/archive_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_fakes.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

using archive::checkArchiveTag;
using archive::DatebookHeader;
using archive::readArchiveHeader;

class RecordingTrace : public archive::TraceSink {
 public:
  void trace(const std::string& line) override { lines.push_back(line); }
  bool wantsLines() const override { return true; }
  std::vector<std::string> lines;
};

std::string headerBytes(const HeaderPlan& layout) { return ArchiveBuilder().header(layout).bytes(); }

struct ReadHeader {
  explicit ReadHeader(const HeaderPlan& layout) : archive(headerBytes(layout)) {
    header = readArchiveHeader(archive.reader, trace);
  }
  OpenArchive archive;
  RecordingTrace trace;
  DatebookHeader header;
};

HeaderPlan withCategories(int count) {
  HeaderPlan layout;
  for (int i = 1; i <= count; ++i) {
    // Indexes run backwards so that a name stored by index would land in the wrong place.
    layout.categories.push_back({static_cast<std::uint32_t>(100 - i), static_cast<std::uint32_t>(i),
                               0, "Long name " + std::to_string(i), "S" + std::to_string(i)});
  }
  layout.entryCount = 45;
  return layout;
}

TEST(ArchiveTagTest, AcceptsExactlyTheFourTagBytes) {
  OpenArchive archive(bytesOf({0x00, 0x01, 'B', 'D', 0x00}));
  EXPECT_TRUE(checkArchiveTag(archive.reader));
  EXPECT_EQ(archive.reader.position(), 4u);
  EXPECT_FALSE(archive.reader.atEnd());
}

TEST(ArchiveTagTest, RejectsEverySingleByteDifference) {
  const std::string tag = bytesOf({0x00, 0x01, 'B', 'D'});
  int rejected = 0;
  for (std::size_t at = 0; at < 4; ++at) {
    for (int code = 0; code < 256; ++code) {
      std::string bytes = tag;
      if (static_cast<unsigned char>(bytes[at]) == code) continue;
      bytes[at] = static_cast<char>(code);
      OpenArchive archive(bytes);
      if (!checkArchiveTag(archive.reader)) ++rejected;
    }
  }
  EXPECT_EQ(rejected, 4 * 255);
}

TEST(ArchiveTagTest, RejectsShortAndLookalikeArchivesSilently) {
  const std::vector<std::string> cases = {"",
                                          bytesOf({0x00}),
                                          bytesOf({0x00, 0x01}),
                                          bytesOf({0x00, 0x01, 'B'}),
                                          "DB",
                                          bytesOf({'D', 'B', 0x01, 0x00}),
                                          bytesOf({0x00, 0x01, 'b', 'd'})};
  for (const std::string& bytes : cases) {
    OpenArchive archive(bytes);
    EXPECT_FALSE(checkArchiveTag(archive.reader)) << "length " << bytes.size();
    EXPECT_TRUE(archive.messages.shown.empty());
  }
}

TEST(ArchiveHeaderTest, OneCategoryHeaderTracesThirtyLinesInFileOrder) {
  HeaderPlan layout;
  layout.categories = {{3, 7, 1, "Personal", "Pers"}};
  layout.schemaResourceId = 54;
  layout.entryCount = 45;
  ReadHeader read(layout);

  const std::vector<std::string> expected = {
      "Filename = C:\\Palm\\User\\datebook\\datebook.dat",
      "Show-Header = Datebook",
      "Next Free CategoryID =  129",
      "Category Count =  1",
      "index =  3",
      "id =  7",
      "name dirty =  1",
      "Long cat name=Personal",
      "Short cat name=Pers",
      "Schema Resource ID =  54",
      "Schema Fields per row =  15",
      "Schema Record ID Position =  0",
      "Schema Record Status Position =  1",
      "Schema Placement Position =  2",
      "Schema Field Count =  15",
      "Schema Field entry 1 =  1",
      "Schema Field entry 2 =  1",
      "Schema Field entry 3 =  1",
      "Schema Field entry 4 =  3",
      "Schema Field entry 5 =  1",
      "Schema Field entry 6 =  5",
      "Schema Field entry 7 =  1",
      "Schema Field entry 8 =  5",
      "Schema Field entry 9 =  6",
      "Schema Field entry 10 =  6",
      "Schema Field entry 11 =  1",
      "Schema Field entry 12 =  6",
      "Schema Field entry 13 =  1",
      "Schema Field entry 14 =  1",
      "Schema Field entry 15 =  8",
  };
  EXPECT_EQ(read.trace.lines, expected);
  EXPECT_EQ(read.header.storedFileName, "C:\\Palm\\User\\datebook\\datebook.dat");
  EXPECT_EQ(read.header.categoryCount, 1);
  EXPECT_EQ(read.header.categoryLongNames, std::vector<std::string>{"Personal"});
  EXPECT_EQ(read.header.entryCount, 45);
  EXPECT_EQ(read.header.recordCount, 3);
  EXPECT_EQ(read.archive.reader.position(), read.archive.bytes.size());
  EXPECT_FALSE(read.archive.reader.atEnd());
  EXPECT_TRUE(read.archive.messages.shown.empty());
}

TEST(ArchiveHeaderTest, TraceNumbersLoseTheirBlankOnlyWhenNegative) {
  HeaderPlan layout;
  layout.nextFreeCategoryId = 0xFFFFFFFF;
  layout.schemaResourceId = 0x80000000;
  layout.fileName = "";
  ReadHeader read(layout);
  ASSERT_EQ(read.trace.lines.size(), 25u);
  EXPECT_EQ(read.trace.lines[0],
            "Filename = \xAB"
            "NULL\xBB");
  EXPECT_EQ(read.trace.lines[2], "Next Free CategoryID = -1");
  EXPECT_EQ(read.trace.lines[3], "Category Count =  0");
  EXPECT_EQ(read.trace.lines[4], "Schema Resource ID =  2147483648");
}

TEST(ArchiveHeaderTest, CategoryNamesAreKeptInReadingOrderForAnyCount) {
  for (int count : {0, 1, 16, 20}) {
    SCOPED_TRACE(::testing::Message() << count << " categories");
    ReadHeader read(withCategories(count));
    EXPECT_EQ(read.header.categoryCount, count);
    ASSERT_EQ(read.header.categoryLongNames.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(read.header.categoryLongNames[i], "Long name " + std::to_string(i + 1));
    }
    EXPECT_EQ(read.trace.lines.size(), 25u + 5u * count);
    // The schema and the entry count were found where they belong.
    EXPECT_EQ(read.header.recordCount, 3);
    EXPECT_EQ(read.archive.reader.position(), read.archive.bytes.size());
  }
}

TEST(ArchiveHeaderTest, RecordCountIsTheEntryCountDividedByFifteen) {
  const std::pair<std::uint32_t, std::int64_t> cases[] = {
      {45, 3}, {44, 2}, {14, 0}, {0xFFFFFFFF, 0}, {0x80000000, 143165576}, {0xFFFFFFFE, 286331152}};
  for (const auto& [entries, records] : cases) {
    HeaderPlan layout;
    layout.entryCount = entries;
    ReadHeader read(layout);
    const std::int64_t expectedEntries = entries == 0xFFFFFFFF ? -1 : std::int64_t{entries};
    EXPECT_EQ(read.header.entryCount, expectedEntries);
    EXPECT_EQ(read.header.recordCount, records) << "entry count " << entries;
  }
}

TEST(ArchiveHeaderTest, FieldCountDoesNotChangeTheFifteenFieldEntries) {
  HeaderPlan layout;
  layout.fieldCount = 14;
  layout.fieldsPerRow = 9;
  layout.entryCount = 30;
  ReadHeader read(layout);
  ASSERT_EQ(read.trace.lines.size(), 25u);
  EXPECT_EQ(read.trace.lines[9], "Schema Field Count =  14");
  EXPECT_EQ(read.trace.lines[24], "Schema Field entry 15 =  8");
  EXPECT_EQ(read.header.recordCount, 2);
  EXPECT_EQ(read.archive.reader.position(), read.archive.bytes.size());
}

TEST(ArchiveHeaderTest, LyingCategoryCountMeetsTheEndOfTheArchive) {
  HeaderPlan layout = withCategories(1);
  layout.categoryCount = 4000000000u;
  ReadHeader read(layout);
  EXPECT_EQ(read.header.categoryCount, 4000000000);
  EXPECT_TRUE(read.archive.reader.atEnd());
  // 56 bytes of schema and entry count make at most a handful of bogus entries.
  EXPECT_LE(read.header.categoryLongNames.size(), 5u);
  EXPECT_EQ(read.header.categoryLongNames.front(), "Long name 1");
  EXPECT_LE(read.trace.lines.size(), 60u);
  EXPECT_EQ(read.header.recordCount, 0);
  EXPECT_EQ(read.archive.messages.countStartingWith(kPastEndNotice), 1u);
}

TEST(ArchiveHeaderTest, NegativeCategoryCountReadsNoEntries) {
  HeaderPlan layout;
  layout.categoryCount = 0xFFFFFFFF;
  layout.entryCount = 15;
  ReadHeader read(layout);
  EXPECT_EQ(read.header.categoryCount, -1);
  EXPECT_TRUE(read.header.categoryLongNames.empty());
  EXPECT_EQ(read.trace.lines[3], "Category Count = -1");
  EXPECT_EQ(read.header.recordCount, 1);
}

TEST(ArchiveHeaderTest, HeaderCutShortAnywhereReportsTheEndExactlyOnce) {
  const std::string full = headerBytes(withCategories(2));
  for (std::size_t length = 0; length < full.size(); ++length) {
    OpenArchive archive(full.substr(0, length));
    RecordingTrace trace;
    DatebookHeader header = readArchiveHeader(archive.reader, trace);
    ASSERT_EQ(archive.messages.shown.size(), 1u) << "cut at " << length;
    EXPECT_TRUE(archive.messages.shown[0].starts_with(kPastEndNotice));
    EXPECT_EQ(header.recordCount, 0);
    EXPECT_EQ(archive.reader.position(), length);
    // The schema is still walked (and traced) after the end has been met.
    EXPECT_GE(trace.lines.size(), 25u) << "cut at " << length;
  }
}

TEST(ArchiveHeaderTest, SequencingErrorInTheFileNameStopsTheHeader) {
  std::string bytes = ArchiveBuilder().sequencingError().bytes() + headerBytes(HeaderPlan{});
  OpenArchive archive(bytes);
  RecordingTrace trace;
  DatebookHeader header = readArchiveHeader(archive.reader, trace);
  EXPECT_TRUE(archive.reader.halted());
  EXPECT_EQ(archive.messages.shown, std::vector<std::string>{"sequencing error"});
  EXPECT_EQ(trace.lines, std::vector<std::string>{"Filename = "});
  EXPECT_EQ(header.recordCount, 0);
  EXPECT_EQ(archive.reader.position(), 5u);
}

}  // namespace
}  // namespace vessory::testing
