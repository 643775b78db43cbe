// UIDs: the same record gets the same UID in every export of the same archive, and no two
// events of one calendar share one.

#include "calendar/event_uids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"

namespace vessory::testing {
namespace {

std::vector<std::string> uidsOf(const std::string& text) {
  ReadCalendar calendar(text);
  std::vector<std::string> uids;
  for (std::size_t i = 0; i < calendar.size(); ++i) {
    uids.push_back(icalcomponent_get_uid(calendar.event(i)));
  }
  return uids;
}

std::vector<RecordSpec> withIds(const std::vector<std::uint32_t>& ids) {
  std::vector<RecordSpec> records;
  for (std::uint32_t id : ids) {
    records.emplace_back();
    records.back().recordId = id;
  }
  return records;
}

TEST(EventUidsTest, SameArchiveGivesTheSameUidsInEveryExport) {
  const std::string archive = ArchiveBuilder().archive(withIds({12, 7, 12, 0})).bytes();
  exporting::CalendarSettings later = testSettings();
  later.stampTime = kStampTime + 86400;
  const CalendarExport first = exportCalendar(archive, testSettings());
  const CalendarExport second = exportCalendar(archive, later);
  EXPECT_NE(first.text, second.text);  // the stamps differ
  EXPECT_EQ(uidsOf(first.text), uidsOf(second.text));
  EXPECT_EQ(uidsOf(first.text)[1], "datebook-record-7@vessory");
}

TEST(EventUidsTest, RepeatedIdsIncludingZeroAndMinusOneGetTheirOwnSuffix) {
  const std::vector<std::string> uids =
      uidsOf(exportRecords(withIds({7, 7, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 7, 0})).text);
  ASSERT_EQ(uids.size(), 8u);
  EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), 8u);
  EXPECT_EQ(uids[0], "datebook-record-7@vessory");
  EXPECT_EQ(uids[2], "datebook-record-0@vessory");
  EXPECT_EQ(uids[4], "datebook-record--1@vessory");
  EXPECT_EQ(uids[6], "datebook-record-7-3@vessory");
  EXPECT_EQ(uids[7], "datebook-record-0-3@vessory");
}

TEST(EventUidsTest, ManyRecordsStayUniqueAsTheTableGrows) {
  // Enough distinct ids to grow the table several times, then each id again: every repeat must
  // still be recognised after the moves.
  calendar::EventUids uids;
  std::set<std::string> seen;
  const std::int64_t distinct = 5000;
  for (std::int64_t round = 0; round < 2; ++round) {
    for (std::int64_t id = 0; id < distinct; ++id) {
      const std::int64_t recordId = id * 1024 + (id % 3 == 0 ? 0 : 1);  // many alike low bits
      const std::string uid = uids.next(recordId);
      EXPECT_TRUE(seen.insert(uid).second) << uid;
      const std::string plain = "datebook-record-" + std::to_string(recordId);
      EXPECT_EQ(uid, round == 0 ? plain + "@vessory" : plain + "-2@vessory");
    }
  }
  EXPECT_EQ(seen.size(), 2u * distinct);
}

TEST(EventUidsTest, LargestIdsAreTheirOwn) {
  calendar::EventUids uids;
  EXPECT_EQ(uids.next(4294967294), "datebook-record-4294967294@vessory");
  EXPECT_EQ(uids.next(-1), "datebook-record--1@vessory");
  EXPECT_EQ(uids.next(4294967294), "datebook-record-4294967294-2@vessory");
}

}  // namespace
}  // namespace vessory::testing
