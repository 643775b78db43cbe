// UIDs: the same record gets the same UID in every export of the same archive, no two events of
// one calendar share one, and no two archives share one.

#include "calendar/event_uids.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"

namespace vessory::testing {
namespace {

// 32-bit FNV-1a of "c:\palm\user\datebook\datebook.dat", the default header's stored name
// folded to lower case.
constexpr char kDefaultIdentity[] = "02b2ff8e";

std::vector<std::string> uidsOf(const std::string& text) {
  ReadCalendar calendar(text);
  std::vector<std::string> uids;
  for (std::size_t i = 0; i < calendar.size(); ++i) {
    uids.push_back(icalcomponent_get_uid(calendar.event(i)));
  }
  return uids;
}

std::vector<RecordPlan> withIds(const std::vector<std::uint32_t>& ids) {
  std::vector<RecordPlan> records;
  for (std::uint32_t id : ids) {
    records.emplace_back();
    records.back().recordId = id;
  }
  return records;
}

std::string uid(const std::string& id, const std::string& suffix = "") {
  return "datebook-" + id + "-" + kDefaultIdentity + suffix + "@vessory";
}

TEST(EventUidsTest, SameArchiveGivesTheSameUidsInEveryExport) {
  const std::string archive = ArchiveBuilder().archive(withIds({12, 7, 12, 0})).bytes();
  exporting::CalendarSettings later = testSettings();
  later.stampTime = kStampTime + 86400;
  const CalendarExport first = exportCalendar(archive, testSettings());
  const CalendarExport second = exportCalendar(archive, later);
  EXPECT_NE(first.text, second.text);  // the stamps differ
  EXPECT_EQ(uidsOf(first.text), uidsOf(second.text));
  EXPECT_EQ(uidsOf(first.text)[1], uid("7"));
}

TEST(EventUidsTest, RepeatedIdsIncludingZeroAndMinusOneGetTheirOwnSuffix) {
  const std::vector<std::string> uids =
      uidsOf(exportRecords(withIds({7, 7, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 7, 0})).text);
  ASSERT_EQ(uids.size(), 8u);
  EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), 8u);
  EXPECT_EQ(uids[0], uid("7"));
  EXPECT_EQ(uids[2], uid("0"));
  EXPECT_EQ(uids[4], uid("-1"));
  EXPECT_EQ(uids[6], uid("7", "-3"));
  EXPECT_EQ(uids[7], uid("0", "-3"));
}

// The same record ids in date books of two users never meet; the same date book under another
// case or extension (moved into the archive file) keeps its UIDs.
TEST(EventUidsTest, ArchivesAreToldApartByTheirStoredName) {
  const std::vector<RecordPlan> records = withIds({1, 2, 2});
  const auto uidsFor = [&](const std::string& storedName) {
    HeaderPlan header;
    header.fileName = storedName;
    return uidsOf(exportRecords(records, "UTC", header).text);
  };
  const std::vector<std::string> user = uidsFor("C:\\Palm\\User\\datebook\\datebook.dat");
  const std::vector<std::string> other = uidsFor("C:\\Palm\\Other\\datebook\\datebook.dat");
  ASSERT_EQ(user.size(), 3u);
  ASSERT_EQ(other.size(), 3u);
  std::set<std::string> both(user.begin(), user.end());
  both.insert(other.begin(), other.end());
  EXPECT_EQ(both.size(), 6u);
  EXPECT_EQ(other[2], "datebook-2-6ef117db-2@vessory");
  EXPECT_EQ(uidsFor("c:\\PALM\\USER\\DATEBOOK\\DATEBOOK.DAT"), user);
  // The archive file of removed records may hold the live file's ids: its UIDs are its own.
  const std::vector<std::string> archived = uidsFor("C:\\Palm\\User\\datebook\\datebook.dba");
  EXPECT_NE(archived[0], user[0]);
}

TEST(EventUidsTest, RepeatsAreRecognisedAmongIdsThatShareTheirLowBits) {
  // Multiples of 65536, as some desktops hand them out, then each id again.
  calendar::EventUids uids(0xABCDEF01u);
  std::set<std::string> seen;
  const std::int64_t distinct = 5000;
  for (std::int64_t round = 0; round < 2; ++round) {
    for (std::int64_t id = 0; id < distinct; ++id) {
      const std::int64_t recordId = id * 65536 + (id % 3 == 0 ? 0 : 1);
      const std::string next = uids.next(recordId);
      EXPECT_TRUE(seen.insert(next).second) << next;
      const std::string plain = "datebook-" + std::to_string(recordId) + "-abcdef01";
      EXPECT_EQ(next, round == 0 ? plain + "@vessory" : plain + "-2@vessory");
    }
  }
  EXPECT_EQ(seen.size(), 2u * distinct);
}

TEST(EventUidsTest, LargestIdsAreTheirOwn) {
  calendar::EventUids uids(0);
  EXPECT_EQ(uids.next(4294967294), "datebook-4294967294-00000000@vessory");
  EXPECT_EQ(uids.next(-1), "datebook--1-00000000@vessory");
  EXPECT_EQ(uids.next(4294967294), "datebook-4294967294-00000000-2@vessory");
}

}  // namespace
}  // namespace vessory::testing
