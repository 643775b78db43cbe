// Walks a built archive of a few hundred mixed records, faults included, and checks every field
// and every message against what the generated record descriptions say must be read.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "archive/archive_header.h"
#include "archive/event_record.h"
#include "archive/format.h"
#include "archive_fakes.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

using archive::EventRecord;

constexpr int kRecords = 300;

// One generated record: how it is written, and what reading it must yield and show.
struct GeneratedRecord {
  RecordPlan layout;
  std::string description;
  std::string note;
  std::vector<std::string> messages;
};

class RecordGenerator {
 public:
  explicit RecordGenerator(std::uint32_t seed) : rng_(seed) {}

  GeneratedRecord next(int ordinal) {
    GeneratedRecord out;
    RecordPlan& s = out.layout;
    for (std::uint32_t* field :
         {&s.recordId, &s.status, &s.position, &s.startTime, &s.endTime, &s.duration, &s.untimed,
          &s.isPrivate, &s.category, &s.alarmSet, &s.alarmAdvanceUnits, &s.alarmAdvanceType}) {
      *field = value();
    }
    const std::string at = "At Record " + std::to_string(ordinal);
    s.descriptionZeroWord = chance(8) ? nonZeroValue() : 0;
    if (s.descriptionZeroWord != 0)
      out.messages.push_back(at + " The Always zero byte was not zero");
    out.description = textField(s.rawDescription, out.messages);
    s.noteZeroWord = chance(8) ? nonZeroValue() : 0;
    if (s.noteZeroWord != 0) out.messages.push_back(at + " The Always zero byte was not zero");
    out.note = textField(s.rawNote, out.messages);
    repeatBlock(s, out.messages);
    return out;
  }

 private:
  bool chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(rng_) < percent; }
  std::uint32_t below(std::uint32_t n) {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_);
  }

  // A 32-bit value with the edges that matter over-represented.
  std::uint32_t value() {
    switch (below(10)) {
      case 0:
        return 0xFFFFFFFF;
      case 1:
        return 0xFFFFFFFE;
      case 2:
        return 0x80000000;
      case 3:
        return 0;
      default:
        return static_cast<std::uint32_t>(rng_());
    }
  }
  std::uint32_t nonZeroValue() {
    std::uint32_t v = value();
    return v == 0 ? 1 : v;
  }

  std::string bytes(std::size_t length) {
    std::string out(length, '\0');
    for (char& c : out) c = static_cast<char>(below(256));
    return out;
  }

  // Writes a random text in one of its encodings into `raw` and gives what must be read back.
  std::string textField(std::optional<std::string>& raw, std::vector<std::string>& messages) {
    std::size_t length = 0;
    if (!chance(10)) length = chance(85) ? 1 + below(60) : 255 + below(500);
    const std::string text = bytes(length);
    ArchiveBuilder encoded;
    if (chance(10)) {
      for (std::uint32_t k = 1 + below(2); k > 0; --k) {
        encoded.strayGroup();
        messages.push_back("Unexpected Long before cString found");
      }
    }
    // The long form for a short text too; never for empty text, whose long form means a group.
    if (length > 0 && chance(10)) {
      encoded.longCString(text);
    } else {
      encoded.cstring(text);
    }
    raw = encoded.bytes();
    return length == 0 ? std::string(archive::kNullStringMarker) : text;
  }

  void repeatBlock(RecordPlan& s, std::vector<std::string>& messages) {
    std::uint32_t exceptions = chance(60) ? 0 : (chance(90) ? 1 + below(5) : 40 + below(20));
    for (std::uint32_t j = 0; j < exceptions; ++j) s.exceptions.push_back(value());
    std::uint32_t kind = below(10);
    s.repeatFlag = kind < 4 ? 0 : kind < 7 ? 0xFFFF : static_cast<std::uint16_t>(1 + below(0xFFFE));
    s.classConstant = chance(70) ? 1 : static_cast<std::uint16_t>(below(0x10000));
    s.className = bytes(below(12));
    if (s.repeatFlag == 0xFFFF && s.classConstant != 1) {
      messages.push_back("Should be Constant 1: " + std::to_string(s.classConstant));
    }
    s.brand = chance(5) ? 0xFFFFFFFF : below(7);
    for (std::uint32_t* field : {&s.interval, &s.endDate, &s.firstDayOfWeek, &s.dayIndex,
                                 &s.weekIndex, &s.dayNumber, &s.monthIndex}) {
      *field = value();
    }
    s.daysMask = static_cast<std::uint8_t>(below(256));
  }

  std::mt19937 rng_;
};

std::int64_t stored(std::uint32_t v) { return v == 0xFFFFFFFF ? -1 : std::int64_t{v}; }

// What the run's single record must hold after reading `g` over whatever it held before.
void applyExpected(const GeneratedRecord& g, EventRecord& r) {
  const RecordPlan& s = g.layout;
  r.recordId = stored(s.recordId), r.status = stored(s.status), r.position = stored(s.position);
  r.startTime = stored(s.startTime), r.endTime = stored(s.endTime);
  r.description = g.description, r.duration = stored(s.duration), r.note = g.note;
  r.untimed = stored(s.untimed), r.isPrivate = stored(s.isPrivate);
  r.category = stored(s.category), r.alarmSet = stored(s.alarmSet);
  r.alarmAdvanceUnits = stored(s.alarmAdvanceUnits);
  r.alarmAdvanceType = stored(s.alarmAdvanceType);
  archive::RepeatEvent& p = r.repeat;
  p.exceptionCount = static_cast<std::int64_t>(s.exceptions.size());
  if (p.exceptions.size() < s.exceptions.size()) p.exceptions.resize(s.exceptions.size());
  for (std::size_t j = 0; j < s.exceptions.size(); ++j) p.exceptions[j] = stored(s.exceptions[j]);
  p.isRepeating = s.repeatFlag != 0;
  if (!p.isRepeating) return;
  p.brand = stored(s.brand), p.interval = stored(s.interval), p.endDate = stored(s.endDate);
  p.firstDayOfWeek = stored(s.firstDayOfWeek);
  if (p.brand >= 1 && p.brand <= 3) p.brandDayIndex = stored(s.dayIndex);
  if (p.brand == 2) p.brandDaysMask = s.daysMask;
  if (p.brand == 3) p.brandWeekIndex = stored(s.weekIndex);
  if (p.brand == 4 || p.brand == 5) p.brandDayNumber = stored(s.dayNumber);
  if (p.brand == 5) p.brandMonthIndex = stored(s.monthIndex);
}

auto fields(const EventRecord& r) {
  const archive::RepeatEvent& p = r.repeat;
  return std::tie(r.recordId, r.status, r.position, r.startTime, r.endTime, r.description,
                  r.duration, r.note, r.untimed, r.isPrivate, r.category, r.alarmSet,
                  r.alarmAdvanceUnits, r.alarmAdvanceType, p.exceptionCount, p.exceptions,
                  p.isRepeating, p.brand, p.interval, p.endDate, p.firstDayOfWeek, p.brandDayIndex,
                  p.brandDaysMask, p.brandWeekIndex, p.brandDayNumber, p.brandMonthIndex);
}

// Notes what the record held at each display point.
class PointLog : public archive::RecordObserver {
 public:
  void startTimeRead(const EventRecord& r) override {
    log.push_back("start " + std::to_string(r.startTime));
  }
  void descriptionRead(const EventRecord& r) override { log.push_back("text " + r.description); }
  std::vector<std::string> log;
};

class ArchiveWalkTest : public ::testing::TestWithParam<std::size_t> {};

INSTANTIATE_TEST_SUITE_P(Chunking, ArchiveWalkTest, ::testing::Values(0, 1, 7));

TEST_P(ArchiveWalkTest, EveryFieldAndMessageOfAMixedArchiveIsReadInOrder) {
  RecordGenerator generator(20240607);
  std::vector<GeneratedRecord> generated;
  std::vector<RecordPlan> layouts;
  for (int r = 1; r <= kRecords; ++r) {
    generated.push_back(generator.next(r));
    layouts.push_back(generated.back().layout);
  }
  HeaderPlan header;
  header.categories = {{1, 1, 0, "Business", "Busi"}, {2, 2, 1, "Personal", "Pers"}};

  OpenArchive archive(ArchiveBuilder().archive(layouts, header).bytes(), GetParam());
  ASSERT_TRUE(archive::checkArchiveTag(archive.reader));
  archive::TraceSink discard;
  const archive::DatebookHeader read = archive::readArchiveHeader(archive.reader, discard);
  ASSERT_EQ(read.recordCount, kRecords);
  EXPECT_EQ(read.categoryLongNames, (std::vector<std::string>{"Business", "Personal"}));

  EventRecord record;
  EventRecord expected;
  std::map<std::int64_t, int> kindsSeen;
  std::size_t messagesSeen = 0;
  for (int r = 1; r <= kRecords; ++r) {
    SCOPED_TRACE(::testing::Message() << "record " << r);
    const GeneratedRecord& g = generated[r - 1];
    PointLog points;
    archive.messages.shown.clear();
    archive::readEventRecord(archive.reader, r, record, archive.messages, &points);
    applyExpected(g, expected);
    ASSERT_EQ(fields(record), fields(expected));
    ASSERT_EQ(archive.messages.shown, g.messages);
    ASSERT_EQ(points.log, (std::vector<std::string>{"start " + std::to_string(expected.startTime),
                                                    "text " + g.description}));
    if (expected.repeat.isRepeating) ++kindsSeen[expected.repeat.brand];
    messagesSeen += g.messages.size();
  }
  EXPECT_EQ(archive.reader.position(), archive.bytes.size());
  EXPECT_FALSE(archive.reader.atEnd());
  EXPECT_EQ(archive.reader.readChars(1), "");
  EXPECT_TRUE(archive.reader.atEnd());

  // The mix must really hold every repeat kind and a fair share of faults.
  for (std::int64_t kind : {-1, 0, 1, 2, 3, 4, 5, 6}) EXPECT_GT(kindsSeen[kind], 0) << kind;
  EXPECT_GT(messagesSeen, 60u);
}

}  // namespace
}  // namespace vessory::testing
