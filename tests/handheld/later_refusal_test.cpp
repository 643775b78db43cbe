// What the later handhelds' readers refuse, part by part: zone and meeting blobs out of range
// (the event is kept without them), tasks whose dates, alarm or repeat cannot stand (the task is
// left out with the reason), and a task cut at every length.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "handheld/handheld_database.h"
#include "support/later_builder.h"

namespace vessory::handheld {
namespace {

using testing::AttendeePlan;
using testing::packDate;
using testing::PdbBytes;
using testing::TaskPlan;
using testing::ZonePlan;

PdbBytes database(const std::string& creator, const PdbBytes& record) {
  return testing::buildPdb(testing::laterPdb(creator, {{record, 0x40, 100, std::nullopt}}));
}

// The blob `whole` with `more` bytes added to its content.
PdbBytes grown(const PdbBytes& whole, const PdbBytes& more) {
  PdbBytes content(whole.begin() + 6, whole.end());
  content.insert(content.end(), more.begin(), more.end());
  return testing::blob(std::string(whole.begin(), whole.begin() + 4), content);
}

ZonePlan zone(void (*change)(ZonePlan&)) {
  ZonePlan plan;
  change(plan);
  return plan;
}

TEST(LaterRefusal, AZoneOrMeetingBlobOutOfRangeIsDroppedAndTheEventKept) {
  const PdbBytes tails[] = {
      testing::zoneBlob(zone([](ZonePlan& z) { z.start[0] = 24; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.start[2] = 5; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.end[3] = 0; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.end[3] = 13; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.offset = 24 * 60; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.offset = -24 * 60; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.adjustment = 24 * 60; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.adjustment = -24 * 60; })),
      testing::zoneBlob(zone([](ZonePlan& z) { z.name = std::string("Ber\0lin", 7); })),
      testing::blob("Bd00", PdbBytes(14, 0)),
      testing::meetingBlob(1, 0, {AttendeePlan{3, "Ann", "ann@example.org"}}),
      grown(testing::meetingBlob(1, 0, {AttendeePlan{1, "Ann", "ann@example.org"}}), {0}),
      testing::blob("Bd01", {1}),
  };
  for (const PdbBytes& tail : tails) {
    const PdbBytes bytes =
        database("PDat", testing::calendarRecord(testing::EventPlan{}, std::nullopt, tail));
    std::string error;
    const std::optional<HandheldDatabase> db = HandheldDatabase::open(bytes, error);
    ASSERT_TRUE(db) << error;
    const RecordRead<archive::EventRecord> read = db->readEvent(0);
    ASSERT_TRUE(read.record) << read.leftOut;
    EXPECT_FALSE(read.record->zone || read.record->meeting) << tail.size();
    EXPECT_TRUE(read.remarks.badBlob) << tail.size();
  }
}

// The task read from `record`: the reason it was left out, or "" when it was read.
std::string taskLeftOut(const PdbBytes& record) {
  const PdbBytes bytes = database("PTod", record);
  std::string error;
  const std::optional<HandheldDatabase> db = HandheldDatabase::open(bytes, error);
  EXPECT_TRUE(db) << error;
  return db ? db->readTodo(0).leftOut : error;
}

TEST(LaterRefusal, ATaskWhosePartsCannotStandIsLeftOutWithTheReason) {
  struct Case {
    void (*change)(TaskPlan&);
    const char* says;
  };
  const Case cases[] = {
      {[](TaskPlan& t) { t.alarm = std::array<std::uint8_t, 4>{24, 0, 0, 1}; },
       "its alarm time 1800 is no time"},
      {[](TaskPlan& t) { t.alarm = std::array<std::uint8_t, 4>{9, 60, 0, 1}; },
       "its alarm time 093C is no time"},
      {[](TaskPlan& t) { t.completion = 0xC1AC; }, "its completion date C1AC names no day"},
      {[](TaskPlan& t) { t.repeat = testing::RepeatPlan{}; }, "its repeat has no first day"},
  };
  for (const Case& c : cases) {
    TaskPlan plan;
    plan.description = "Pay";
    c.change(plan);
    EXPECT_EQ(taskLeftOut(testing::taskRecord(plan)), "Record 1 (unique id 100) left out: " +
                                                          std::string(c.says) + ".");
  }
}

TEST(LaterRefusal, ATaskCutAnywhereIsLeftOutForThePartItEndsIn) {
  TaskPlan full;
  full.due = packDate(2006, 3, 1);
  full.completion = packDate(2006, 3, 4);
  full.alarm = std::array<std::uint8_t, 4>{9, 30, 0, 2};
  full.repeatStart = packDate(2006, 2, 27);
  full.repeat = testing::RepeatPlan{};
  full.description = "Pay";
  full.note = "rent";
  const PdbBytes whole = testing::taskRecord(full);
  ASSERT_EQ(taskLeftOut(whole), "");
  const char* const parts[] = {"shorter than a task's fixed 6 bytes", "its due date runs past",
                               "its completion date runs past", "its alarm runs past",
                               "its repeat start runs past", "its repeat runs past",
                               "its description lacks", "its note lacks"};
  std::vector<bool> named(std::size(parts));
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const std::string leftOut = taskLeftOut(PdbBytes(whole.begin(), whole.begin() + length));
    const auto* part = std::find_if(std::begin(parts), std::end(parts),
                                    [&](const char* p) { return leftOut.find(p) != leftOut.npos; });
    ASSERT_NE(part, std::end(parts)) << length << ": " << leftOut;
    named[static_cast<std::size_t>(part - std::begin(parts))] = true;
  }
  EXPECT_EQ(std::count(named.begin(), named.end(), false), 0);
}

}  // namespace
}  // namespace vessory::handheld
