#include "archive/event_record.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/format.h"
#include "archive_fakes.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

using archive::EventRecord;
using archive::readEventRecord;

const std::string kZeroWordNotice = " The Always zero byte was not zero";

// Keeps a copy of the record at each display point, in the order offered.
class SnapshotObserver : public archive::RecordObserver {
 public:
  void startTimeRead(const EventRecord& record) override { points.emplace_back("start", record); }
  void descriptionRead(const EventRecord& record) override {
    points.emplace_back("description", record);
  }
  std::vector<std::pair<std::string, EventRecord>> points;
};

// A repeat block whose every value is -7, so that a value a record did not carry shows.
EventRecord recordWithMarkedRepeat() {
  EventRecord record;
  record.repeat = {-7, {}, false, -7, -7, -7, -7, -7, -7, -7, -7, -7};
  return record;
}

RecordPlan plainRecord() {
  RecordPlan layout;
  layout.description = "D";
  layout.note = "N";
  return layout;
}

TEST(EventRecordTest, PlainRecordStoresEveryFieldInOrder) {
  RecordPlan layout;
  layout.recordId = 11;
  layout.status = 12;
  layout.position = 13;
  layout.startTime = 14;
  layout.endTime = 15;
  layout.description = "Lunch with Ann";
  layout.duration = 16;
  layout.note = "";
  layout.untimed = 17;
  layout.isPrivate = 18;
  layout.category = 19;
  layout.alarmSet = 20;
  layout.alarmAdvanceUnits = 21;
  layout.alarmAdvanceType = 22;
  OpenArchive archive(ArchiveBuilder().record(layout).bytes());
  EventRecord record;
  record.repeat.isRepeating = true;
  readEventRecord(archive.reader, 1, record, archive.messages, nullptr);

  const std::vector<std::int64_t> values = {
      record.recordId, record.status,   record.position,          record.startTime,
      record.endTime,  record.duration, record.untimed,           record.isPrivate,
      record.category, record.alarmSet, record.alarmAdvanceUnits, record.alarmAdvanceType};
  EXPECT_EQ(values, (std::vector<std::int64_t>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
  EXPECT_EQ(record.description, "Lunch with Ann");
  EXPECT_EQ(record.note, archive::kNullStringMarker);
  EXPECT_FALSE(record.repeat.isRepeating);
  EXPECT_EQ(record.repeat.exceptionCount, 0);
  // 120 bytes of fixed items, 15 + 1 of strings.
  EXPECT_EQ(archive.reader.position(), 136u);
  EXPECT_EQ(archive.bytes.size(), 136u);
  EXPECT_TRUE(archive.messages.shown.empty());
}

struct KindCase {
  std::uint32_t brand;
  std::size_t repeatBytes;
};

TEST(EventRecordTest, EachRepeatKindTakesItsOwnNumberOfBytes) {
  const KindCase kinds[] = {{0, 16}, {1, 20}, {2, 21}, {3, 24},
                            {4, 20}, {5, 24}, {6, 16}, {0xFFFFFFFF, 16}};
  for (const KindCase& kind : kinds) {
    for (std::uint16_t flag : {std::uint16_t{0x8001}, std::uint16_t{0xFFFF}}) {
      SCOPED_TRACE(::testing::Message() << "kind " << kind.brand << ", flag " << flag);
      RecordPlan layout = plainRecord();
      layout.repeatFlag = flag;
      layout.brand = kind.brand;
      layout.interval = 2, layout.endDate = 3, layout.firstDayOfWeek = 4, layout.dayIndex = 5;
      layout.daysMask = 0xA5, layout.weekIndex = 6, layout.dayNumber = 7, layout.monthIndex = 8;
      RecordPlan next = plainRecord();
      next.recordId = 4242;
      ArchiveBuilder built;
      built.record(layout);
      // 124 bytes of fixed items and one-letter strings; a class entry with its 8-letter name.
      const std::size_t size = 124 + (flag == 0xFFFF ? 12 : 0) + kind.repeatBytes;
      ASSERT_EQ(built.size(), size);
      built.record(next);

      OpenArchive archive(built.bytes());
      EventRecord record = recordWithMarkedRepeat();
      readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
      EXPECT_EQ(archive.reader.position(), size);
      const archive::RepeatEvent& r = record.repeat;
      EXPECT_TRUE(r.isRepeating);
      EXPECT_EQ(r.brand, kind.brand == 0xFFFFFFFF ? -1 : std::int64_t{kind.brand});
      EXPECT_EQ(std::vector<std::int64_t>({r.interval, r.endDate, r.firstDayOfWeek}),
                std::vector<std::int64_t>({2, 3, 4}));
      const std::int64_t b = r.brand;
      EXPECT_EQ(r.brandDayIndex, b >= 1 && b <= 3 ? 5 : -7);
      EXPECT_EQ(r.brandDaysMask, b == 2 ? 0xA5 : -7);
      EXPECT_EQ(r.brandWeekIndex, b == 3 ? 6 : -7);
      EXPECT_EQ(r.brandDayNumber, b == 4 || b == 5 ? 7 : -7);
      EXPECT_EQ(r.brandMonthIndex, b == 5 ? 8 : -7);

      readEventRecord(archive.reader, 2, record, archive.messages, nullptr);
      EXPECT_EQ(record.recordId, 4242);
      EXPECT_EQ(archive.reader.position(), archive.bytes.size());
      EXPECT_TRUE(archive.messages.shown.empty());
    }
  }
}

TEST(EventRecordTest, ClassConstantOtherThanOneIsReportedAndReadingGoesOn) {
  for (std::uint16_t constant : {std::uint16_t{2}, std::uint16_t{0}, std::uint16_t{65535}}) {
    RecordPlan layout = plainRecord();
    layout.repeatFlag = 0xFFFF;
    layout.classConstant = constant;
    layout.className = "CWeekly";
    layout.brand = 2;
    layout.dayIndex = 3;
    layout.daysMask = 0x41;
    OpenArchive archive(ArchiveBuilder().record(layout).integer(1, 0x5A).bytes());
    EventRecord record;
    readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
    EXPECT_EQ(archive.messages.shown,
              std::vector<std::string>{"Should be Constant 1: " + std::to_string(constant)});
    EXPECT_EQ(record.repeat.brandDaysMask, 0x41);
    EXPECT_EQ(archive.reader.readInteger(1), 0x5A);
  }
}

TEST(EventRecordTest, NonZeroZeroWordsAreReportedWithTheRecordOrdinal) {
  RecordPlan layout = plainRecord();
  layout.descriptionZeroWord = 1;
  layout.description = "Still read";
  OpenArchive one(ArchiveBuilder().record(layout).bytes());
  EventRecord record;
  readEventRecord(one.reader, 7, record, one.messages, nullptr);
  EXPECT_EQ(one.messages.shown, std::vector<std::string>{"At Record 7" + kZeroWordNotice});
  EXPECT_EQ(record.description, "Still read");

  layout.noteZeroWord = 0xFFFFFFFF;
  OpenArchive two(ArchiveBuilder().record(layout).bytes());
  readEventRecord(two.reader, 31000, record, two.messages, nullptr);
  EXPECT_EQ(two.messages.shown, std::vector<std::string>(2, "At Record 31000" + kZeroWordNotice));
  EXPECT_EQ(record.note, "N");
}

TEST(EventRecordTest, ExceptionDatesFillSlotsInOrderWhateverTheirCount) {
  for (std::uint32_t count : {0u, 3u, 1200u}) {
    RecordPlan layout = plainRecord();
    for (std::uint32_t j = 1; j <= count; ++j) layout.exceptions.push_back(1000000 + j);
    layout.repeatFlag = 1;
    layout.brand = 4;
    layout.dayNumber = 17;
    OpenArchive archive(ArchiveBuilder().record(layout).bytes());
    EventRecord record;
    readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
    EXPECT_EQ(record.repeat.exceptionCount, count);
    ASSERT_EQ(record.repeat.exceptions.size(), count);
    for (std::uint32_t j = 1; j <= count; ++j) {
      ASSERT_EQ(record.repeat.exceptions[j - 1], 1000000 + j) << "slot " << j;
    }
    EXPECT_EQ(record.repeat.brandDayNumber, 17);
    EXPECT_EQ(archive.reader.position(), 124u + 4 * count + 20);
  }
}

TEST(EventRecordTest, FieldsARecordDoesNotCarryKeepTheEarlierValues) {
  RecordPlan first = plainRecord();
  first.exceptions = {10, 20, 30};
  first.repeatFlag = 0xFFFF;
  first.brand = 5, first.interval = 2, first.endDate = 99, first.firstDayOfWeek = 1;
  first.dayNumber = 14, first.monthIndex = 6;
  RecordPlan second = plainRecord();
  second.exceptions = {77};
  RecordPlan third = plainRecord();
  third.repeatFlag = 2;
  third.brand = 2, third.interval = 3, third.dayIndex = 4, third.daysMask = 0x7F;
  RecordPlan fourth = plainRecord();
  fourth.repeatFlag = 2;
  fourth.brand = 3, fourth.dayIndex = 8, fourth.weekIndex = 9;
  OpenArchive archive(
      ArchiveBuilder().record(first).record(second).record(third).record(fourth).bytes());
  EventRecord record;
  readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
  readEventRecord(archive.reader, 2, record, archive.messages, nullptr);
  const archive::RepeatEvent& r = record.repeat;
  EXPECT_FALSE(r.isRepeating);
  EXPECT_EQ(r.exceptionCount, 1);
  EXPECT_EQ(r.exceptions, (std::vector<std::int64_t>{77, 20, 30}));
  EXPECT_EQ(std::vector<std::int64_t>({r.brand, r.interval, r.endDate, r.firstDayOfWeek,
                                       r.brandDayNumber, r.brandMonthIndex}),
            std::vector<std::int64_t>({5, 2, 99, 1, 14, 6}));

  readEventRecord(archive.reader, 3, record, archive.messages, nullptr);
  EXPECT_TRUE(r.isRepeating);
  EXPECT_EQ(std::vector<std::int64_t>({r.brand, r.interval, r.endDate, r.brandDayIndex,
                                       r.brandDaysMask, r.brandDayNumber, r.brandMonthIndex}),
            std::vector<std::int64_t>(
                {2, 3, -1, 4, 0x7F, 14, 6}));  // the builder's end date is FF FF FF FF

  readEventRecord(archive.reader, 4, record, archive.messages, nullptr);
  EXPECT_EQ(
      std::vector<std::int64_t>({r.brand, r.brandDayIndex, r.brandDaysMask, r.brandWeekIndex}),
      std::vector<std::int64_t>({3, 8, 0x7F, 9}));
  EXPECT_EQ(archive.reader.position(), archive.bytes.size());
  EXPECT_TRUE(archive.messages.shown.empty());
}

TEST(EventRecordTest, AllFfValuesAreStoredAsMinusOne) {
  constexpr std::uint32_t kFf = 0xFFFFFFFF;
  RecordPlan layout;
  layout.recordId = layout.status = layout.position = layout.startTime = layout.endTime = kFf;
  layout.duration = layout.untimed = layout.isPrivate = layout.category = kFf;
  layout.alarmSet = layout.alarmAdvanceUnits = layout.alarmAdvanceType = kFf;
  layout.exceptions = {kFf, 0xFFFFFFFE};
  layout.repeatFlag = 1;
  layout.brand = 5, layout.interval = kFf, layout.endDate = kFf, layout.firstDayOfWeek = kFf;
  layout.dayNumber = kFf, layout.monthIndex = 0x80000000;
  OpenArchive archive(ArchiveBuilder().record(layout).bytes());
  EventRecord record;
  readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
  const archive::RepeatEvent& r = record.repeat;
  const std::vector<std::int64_t> values = {
      record.recordId, record.status,   record.position,          record.startTime,
      record.endTime,  record.duration, record.untimed,           record.isPrivate,
      record.category, record.alarmSet, record.alarmAdvanceUnits, record.alarmAdvanceType,
      r.interval,      r.endDate,       r.firstDayOfWeek,         r.brandDayNumber};
  EXPECT_EQ(values, std::vector<std::int64_t>(16, -1));
  EXPECT_EQ(r.exceptions, (std::vector<std::int64_t>{-1, 4294967294}));
  EXPECT_EQ(r.brandMonthIndex, 2147483648);
  EXPECT_EQ(archive.reader.position(), archive.bytes.size());
}

TEST(EventRecordTest, DisplayPointsComeRightAfterStartTimeAndDescription) {
  RecordPlan first = plainRecord();
  first.startTime = 100, first.endTime = 101, first.duration = 102;
  RecordPlan second = plainRecord();
  second.startTime = 200, second.endTime = 201, second.description = "Second",
  second.duration = 202;
  OpenArchive archive(ArchiveBuilder().record(first).record(second).bytes());
  EventRecord record;
  readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
  SnapshotObserver observer;
  readEventRecord(archive.reader, 2, record, archive.messages, &observer);
  ASSERT_EQ(observer.points.size(), 2u);
  const auto& [startName, atStart] = observer.points[0];
  EXPECT_EQ(startName, "start");
  EXPECT_EQ(atStart.startTime, 200);
  EXPECT_EQ(atStart.endTime, 101);
  EXPECT_EQ(atStart.description, "D");
  const auto& [descriptionName, atDescription] = observer.points[1];
  EXPECT_EQ(descriptionName, "description");
  EXPECT_EQ(atDescription.endTime, 201);
  EXPECT_EQ(atDescription.description, "Second");
  EXPECT_EQ(atDescription.duration, 102);
}

TEST(EventRecordTest, SequencingErrorStopsTheRecordWhereItStands) {
  RecordPlan first = plainRecord();
  first.note = "first note";
  RecordPlan second = plainRecord();
  second.startTime = 5;
  second.rawDescription = ArchiveBuilder().sequencingError().cstring("x").bytes();
  ArchiveBuilder built;
  built.record(first).record(second);
  OpenArchive archive(built.bytes());
  EventRecord record;
  readEventRecord(archive.reader, 1, record, archive.messages, nullptr);
  SnapshotObserver observer;
  readEventRecord(archive.reader, 2, record, archive.messages, &observer);
  EXPECT_TRUE(archive.reader.halted());
  EXPECT_EQ(archive.messages.shown, std::vector<std::string>{"sequencing error"});
  EXPECT_EQ(record.startTime, 5);
  EXPECT_EQ(record.note, "first note");
  ASSERT_EQ(observer.points.size(), 1u);
  EXPECT_EQ(observer.points[0].first, "start");
}

// Cut anywhere, a record is read to its end without a crash, with one end notice, and what
// lay before the cut is stored as it was.
TEST(EventRecordTest, RecordCutShortAnywhereReportsTheEndOnce) {
  RecordPlan layout = plainRecord();
  layout.recordId = 9;
  layout.description = "Lunch";
  layout.note = std::string(300, 'n');
  layout.exceptions = {1, 2};
  layout.repeatFlag = 0xFFFF;
  layout.brand = 5;
  const std::string full = ArchiveBuilder().record(layout).bytes();
  // The description's characters start after five fields, a type word, a zero word and the
  // length byte.
  const std::size_t descriptionAt = 49;
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    SCOPED_TRACE(::testing::Message() << "cut at " << cut);
    OpenArchive archive(full.substr(0, cut));
    EventRecord record;
    SnapshotObserver observer;
    readEventRecord(archive.reader, 1, record, archive.messages, &observer);
    EXPECT_EQ(archive.messages.countStartingWith(kPastEndNotice), 1u);
    // Values cut off by the end (a class constant, a long string length) raise no notice of
    // their own: the end notice is the only message.
    EXPECT_EQ(archive.messages.shown.size(), 1u);
    EXPECT_EQ(observer.points.size(), 2u);
    EXPECT_EQ(archive.reader.position(), cut);
    EXPECT_EQ(record.recordId, cut >= 8 ? 9 : 0);
    if (cut >= descriptionAt) {
      EXPECT_EQ(record.description, std::string("Lunch").substr(0, cut - descriptionAt));
    }
  }
}

}  // namespace
}  // namespace vessory::testing
