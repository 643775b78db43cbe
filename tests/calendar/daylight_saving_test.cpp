// Wall times of zones with daylight saving and odd offsets. The offsets below are the zones'
// published rules for 2024: New York UTC-5, UTC-4 from 10 March 07:00 UTC to 3 November 06:00
// UTC; Berlin UTC+1, UTC+2 from 31 March to 27 October (01:00 UTC both); Kolkata UTC+5:30.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "calendar/datebook_rules.h"

namespace vessory::testing {
namespace {

RecordPlan eventAt(std::uint32_t start, std::uint32_t end) {
  RecordPlan r;
  r.description = "Meeting";
  r.note = "";
  r.startTime = start;
  r.endTime = end;
  return r;
}

struct Times {
  std::string start;
  std::string end;
};

// DTSTART and DTEND of each event of a calendar, exported in `zone`.
std::vector<Times> timesIn(const std::string& zone, const std::vector<RecordPlan>& records) {
  const CalendarExport out = exportRecords(records, zone);
  EXPECT_EQ(out.tally.zoneName, zone);
  ReadCalendar calendar(out.text);
  EXPECT_TRUE(calendar.clean());
  std::vector<Times> times;
  for (std::size_t i = 0; i < calendar.size(); ++i) {
    icalcomponent* e = calendar.event(i);
    times.push_back({timeText(icalcomponent_get_dtstart(e)),
                     countOf(e, ICAL_DTEND_PROPERTY) ? timeText(icalcomponent_get_dtend(e)) : ""});
  }
  return times;
}

void expectTimes(const std::vector<Times>& got, const std::vector<Times>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].start, want[i].start) << "event " << i;
    EXPECT_EQ(got[i].end, want[i].end) << "event " << i;
  }
}

struct WeeklyCase {
  std::string zone;
  int utcHourInWinter;  // 9:00 local
  int utcHourInSummer;
};

class WeeklyAcrossClockChangesTest : public ::testing::TestWithParam<WeeklyCase> {};

TEST_P(WeeklyAcrossClockChangesTest, NineOClockStaysAtNine) {
  const WeeklyCase& c = GetParam();
  RecordPlan weekly = eventAt(utcSeconds({2024, 1, 1}, c.utcHourInWinter),
                              utcSeconds({2024, 1, 1}, c.utcHourInWinter + 1));
  weekly.repeatFlag = 0xFFFF;
  weekly.brand = 2;
  weekly.daysMask = 2;  // Mondays
  weekly.exceptions = {utcSeconds({2024, 7, 8}, c.utcHourInSummer)};
  const CalendarExport out = exportRecords({weekly}, c.zone);
  ReadCalendar calendar(out.text);
  ASSERT_TRUE(calendar.clean());
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_DTSTART_PROPERTY), "20240101T090000");
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_EXDATE_PROPERTY), "20240708T090000");

  DatebookRule mondays;
  mondays.kind = 2;
  mondays.daysMask = 2;
  mondays.exceptions = {{2024, 7, 8}};
  std::vector<std::string> expected;
  for (const Civil& day : datebookDays(mondays, {2024, 1, 1}, {2024, 12, 31})) {
    expected.push_back(dateTimeText(day, 9 * 3600));
  }
  EXPECT_EQ(occurrences(calendar.event(0), {2024, 12, 31}), expected);
}

INSTANTIATE_TEST_SUITE_P(Zones, WeeklyAcrossClockChangesTest,
                         ::testing::Values(WeeklyCase{"America/New_York", 14, 13},
                                           WeeklyCase{"Europe/Berlin", 8, 7}),
                         [](const auto& info) {
                           return info.param.zone.substr(info.param.zone.find('/') + 1);
                         });

TEST(ZoneWallTimeTest, EventsAcrossTheSpringChangeKeepTheirClockTimes) {
  expectTimes(timesIn("America/New_York",
                      {eventAt(utcSeconds({2024, 3, 10}, 6, 30), utcSeconds({2024, 3, 10}, 7, 30)),
                       eventAt(utcSeconds({2024, 7, 1}, 13), utcSeconds({2024, 7, 1}, 14))}),
              {{"2024-03-10 01:30:00", "2024-03-10 03:30:00"},
               {"2024-07-01 09:00:00", "2024-07-01 10:00:00"}});
  expectTimes(timesIn("Europe/Berlin", {eventAt(utcSeconds({2024, 3, 31}, 0, 30),
                                                utcSeconds({2024, 3, 31}, 1, 30))}),
              {{"2024-03-31 01:30:00", "2024-03-31 03:30:00"}});
}

// An hour in the hour the clock repeats ends at the clock time it started at: an end at the start
// is none (RFC 5545 wants DTEND after DTSTART).
TEST(ZoneWallTimeTest, TheRepeatedHourOfAutumnGivesTheSameClockTimeTwice) {
  expectTimes(timesIn("America/New_York", {eventAt(utcSeconds({2024, 11, 3}, 5, 30),
                                                   utcSeconds({2024, 11, 3}, 6, 30))}),
              {{"2024-11-03 01:30:00", ""}});
  expectTimes(timesIn("Europe/Berlin", {eventAt(utcSeconds({2024, 10, 27}, 0, 30),
                                                utcSeconds({2024, 10, 27}, 1, 30))}),
              {{"2024-10-27 02:30:00", ""}});
}

TEST(ZoneWallTimeTest, EndThatTheSetBackClockShowsBeforeTheStartIsLeftOut) {
  // 01:30 EDT to 01:10 EST: forty minutes, but the end shows the earlier clock time.
  expectTimes(timesIn("America/New_York", {eventAt(utcSeconds({2024, 11, 3}, 5, 30),
                                                   utcSeconds({2024, 11, 3}, 6, 10))}),
              {{"2024-11-03 01:30:00", ""}});
}

TEST(ZoneWallTimeTest, HalfHourOffsetMovesTimesAndDates) {
  expectTimes(timesIn("Asia/Kolkata",
                      {eventAt(utcSeconds({2024, 5, 1}, 3, 30), utcSeconds({2024, 5, 1}, 4)),
                       eventAt(utcSeconds({2024, 5, 1}, 20), utcSeconds({2024, 5, 1}, 20, 15))}),
              {{"2024-05-01 09:00:00", "2024-05-01 09:30:00"},
               {"2024-05-02 01:30:00", "2024-05-02 01:45:00"}});
}

TEST(ZoneWallTimeTest, EveningInNewYorkIsTheNextDayInUtc) {
  // Tuesdays at 20:00 EDT, which is Wednesday 00:00 UTC: the mask names the local Tuesday.
  RecordPlan weekly = eventAt(utcSeconds({2024, 5, 1}), utcSeconds({2024, 5, 1}, 1));
  weekly.repeatFlag = 0xFFFF;
  weekly.brand = 2;
  weekly.daysMask = 4;
  weekly.endDate = utcSeconds({2024, 6, 5}, 3, 59, 59);  // 4 June 23:59:59 EDT
  weekly.exceptions = {utcSeconds({2024, 5, 15})};
  const CalendarExport out = exportRecords({weekly}, "America/New_York");
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(
      occurrences(calendar.event(0), {2024, 12, 31}),
      (std::vector<std::string>{"2024-04-30 20:00:00", "2024-05-07 20:00:00", "2024-05-21 20:00:00",
                                "2024-05-28 20:00:00", "2024-06-04 20:00:00"}));
}

TEST(ZoneWallTimeTest, AllDayEventTakesTheLocalDate) {
  RecordPlan allDay = eventAt(utcSeconds({2024, 5, 1}, 12), utcSeconds({2024, 5, 1}, 12));
  allDay.untimed = 1;
  expectTimes(timesIn("Asia/Kolkata", {allDay}), {{"2024-05-01", "2024-05-02"}});
  allDay.startTime = utcSeconds({2024, 5, 1}, 2);
  expectTimes(timesIn("America/New_York", {allDay}), {{"2024-04-30", "2024-05-01"}});
}

TEST(ZoneWallTimeTest, TimesAreFloatingWithoutAnyZoneInTheFile) {
  const CalendarExport out = exportRecords(
      {eventAt(utcSeconds({2024, 7, 1}, 13), utcSeconds({2024, 7, 1}, 14))}, "America/New_York");
  EXPECT_EQ(out.text.find("TZID"), std::string::npos);
  EXPECT_EQ(out.text.find("VTIMEZONE"), std::string::npos);
  EXPECT_NE(out.text.find("DTSTART:20240701T090000\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vessory::testing
