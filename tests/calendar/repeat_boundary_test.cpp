// Repeats no rule can say, the parts of a rule that only some records carry, and records that
// follow one another: each event is built from its own record only.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"

namespace vessory::testing {
namespace {

RecordPlan repeating(std::uint32_t kind, const std::string& description = "Gym") {
  RecordPlan r;
  r.description = description;
  r.note = "";
  r.startTime = utcSeconds({2024, 1, 9}, 9);  // a Tuesday, the second of its month
  r.endTime = r.startTime + 3600;
  r.repeatFlag = 0xFFFF;
  r.brand = kind;
  r.dayIndex = 2;
  r.daysMask = 4;
  r.weekIndex = 1;
  r.dayNumber = 9;
  r.monthIndex = 0;
  return r;
}

icalrecurrencetype ruleOf(icalcomponent* event) {
  return icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
}

struct BadRepeat {
  std::string name;
  RecordPlan record;
  std::string what;  // as the message names the value
};

std::ostream& operator<<(std::ostream& out, const BadRepeat& c) { return out << c.name; }

BadRepeat bad(std::string name, std::uint32_t kind, void (*change)(RecordPlan&), std::string what) {
  RecordPlan r = repeating(kind);
  change(r);
  return BadRepeat{std::move(name), r, std::move(what)};
}

class UnsayableRepeatTest : public ::testing::TestWithParam<BadRepeat> {};

TEST_P(UnsayableRepeatTest, IsWrittenOnceWithAMessageNamingTheRecord) {
  RecordPlan plain;
  plain.description = "Plain";
  plain.recordId = 1;
  RecordPlan odd = GetParam().record;
  odd.recordId = 2;
  odd.exceptions = {utcSeconds({2024, 2, 13}, 9)};
  const CalendarExport out = exportRecords({plain, odd});
  ASSERT_EQ(out.outcome, exporting::ExportOutcome::kComplete);
  ReadCalendar calendar(out.text);
  ASSERT_TRUE(calendar.clean());
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_RRULE_PROPERTY), 0);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_EXDATE_PROPERTY), 0);
  EXPECT_EQ(occurrences(calendar.event(1), {2030, 1, 1}),
            std::vector<std::string>{"2024-01-09 09:00:00"});
  EXPECT_EQ(out.tally.repeating, 0);
  ASSERT_EQ(out.messages.size(), 2u);
  EXPECT_EQ(out.messages[0], "Record 2 (\"Gym\"): unknown repeat (" + GetParam().what +
                                 "); written as a single event");
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndValues, UnsayableRepeatTest,
    ::testing::Values(
        bad(
            "KindZero", 0, [](RecordPlan&) {}, "repeat kind 0"),
        bad(
            "KindSix", 6, [](RecordPlan&) {}, "repeat kind 6"),
        bad(
            "KindNoneAtAll", 0xFFFFFFFF, [](RecordPlan&) {}, "repeat kind -1"),
        bad(
            "WeeklyWithoutDays", 2, [](RecordPlan& r) { r.daysMask = 0x80; },
            "weekly days mask 128"),
        bad(
            "WeekStartingOnDaySeven", 2, [](RecordPlan& r) { r.firstDayOfWeek = 7; },
            "first day of the week 7"),
        bad(
            "WeekIndexFive", 3, [](RecordPlan& r) { r.weekIndex = 5; }, "week index 5"),
        bad(
            "DayIndexSeven", 3, [](RecordPlan& r) { r.dayIndex = 7; }, "day index 7"),
        bad(
            "DayNumberZero", 4, [](RecordPlan& r) { r.dayNumber = 0; }, "day number 0"),
        bad(
            "DayNumberThirtyTwo", 5, [](RecordPlan& r) { r.dayNumber = 32; }, "day number 32"),
        bad(
            "MonthIndexTwelve", 5, [](RecordPlan& r) { r.monthIndex = 12; }, "month index 12"),
        bad(
            "IntervalBeyondAnyRule", 1, [](RecordPlan& r) { r.interval = 100000; },
            "interval 100000")),
    [](const auto& info) { return info.param.name; });

TEST(RepeatRuleTest, IntervalIsWrittenOnlyAboveOne) {
  RecordPlan zero = repeating(1), one = repeating(1), two = repeating(1);
  zero.interval = 0;
  two.interval = 2;
  ReadCalendar calendar(exportRecords({zero, one, two}).text);
  ASSERT_EQ(calendar.size(), 3u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_RRULE_PROPERTY), "FREQ=DAILY");
  EXPECT_EQ(valueOf(calendar.event(1), ICAL_RRULE_PROPERTY), "FREQ=DAILY");
  EXPECT_EQ(ruleOf(calendar.event(2)).interval, 2);
}

TEST(RepeatRuleTest, UntilIsADateForAllDayEventsAndAFloatingTimeOtherwise) {
  RecordPlan timed = repeating(1), allDay = repeating(1);
  // As the desktop stores an end date: the start of the end day on its clock.
  timed.endDate = allDay.endDate = utcSeconds({2024, 2, 1});
  allDay.untimed = 1;
  ReadCalendar calendar(exportRecords({timed, allDay}).text);
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(timeText(ruleOf(calendar.event(0)).until), "2024-02-01 23:59:59");
  EXPECT_EQ(timeText(ruleOf(calendar.event(1)).until), "2024-02-01");
  EXPECT_EQ(timeText(icalcomponent_get_dtstart(calendar.event(1))), "2024-01-09");
}

// An exception no occurrence reaches, before the first day or after the rule's last, is left
// out (calendar programs warn about it); the first and the last day keep theirs, whatever the
// time of day the exception was stored at.
TEST(RepeatRuleTest, ExceptionsNoOccurrenceReachesAreLeftOut) {
  const struct {
    bool allDay;
    std::uint32_t endDate;
    std::vector<std::string> exdates;
  } rows[] = {
      {false, utcSeconds({2024, 1, 15}),
       {"20240109T090000", "20240112T090000", "20240115T090000"}},
      {true, utcSeconds({2024, 1, 15}), {"20240109", "20240112", "20240115"}},
      {false, 0xFFFFFFFF,
       {"20240109T090000", "20240112T090000", "20240115T090000", "20240116T090000",
        "20250601T090000"}},
  };
  for (const auto& row : rows) {
    RecordPlan daily = repeating(1);
    daily.untimed = row.allDay ? 1 : 0;
    daily.endDate = row.endDate;
    daily.exceptions = {utcSeconds({2024, 1, 8}, 9),  utcSeconds({2024, 1, 9}, 9),
                        utcSeconds({2024, 1, 12}, 9), utcSeconds({2024, 1, 15}, 20),
                        utcSeconds({2024, 1, 16}, 9), utcSeconds({2025, 6, 1}, 9)};
    ReadCalendar calendar(exportRecords({daily}).text);
    ASSERT_EQ(calendar.size(), 1u);
    std::vector<std::string> exdates;
    for (icalproperty* p = icalcomponent_get_first_property(calendar.event(0), ICAL_EXDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(calendar.event(0), ICAL_EXDATE_PROPERTY)) {
      exdates.push_back(icalproperty_get_value_as_string(p));
    }
    EXPECT_EQ(exdates, row.exdates) << (row.allDay ? "all day" : "timed");
  }
}

TEST(RecordsInTurnTest, EventAfterARepeatingOneDoesNotRepeat) {
  RecordPlan weekly = repeating(2);
  weekly.exceptions = {utcSeconds({2024, 1, 16}, 9)};
  RecordPlan once;
  once.startTime = utcSeconds({2024, 3, 1}, 9);
  once.endTime = once.startTime;
  ReadCalendar calendar(exportRecords({weekly, once}).text);
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_RRULE_PROPERTY), 0);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_EXDATE_PROPERTY), 0);
}

TEST(RecordsInTurnTest, EachEventKeepsOnlyItsOwnExceptions) {
  RecordPlan three = repeating(1), one = repeating(1), none = repeating(1);
  three.exceptions = {utcSeconds({2024, 1, 10}, 9), utcSeconds({2024, 1, 11}, 9),
                      utcSeconds({2024, 1, 12}, 9)};
  one.exceptions = {utcSeconds({2024, 1, 20}, 9)};
  ReadCalendar calendar(exportRecords({three, one, none}).text);
  ASSERT_EQ(calendar.size(), 3u);
  EXPECT_EQ(countOf(calendar.event(0), ICAL_EXDATE_PROPERTY), 3);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_EXDATE_PROPERTY), 1);
  EXPECT_EQ(valueOf(calendar.event(1), ICAL_EXDATE_PROPERTY), "20240120T090000");
  EXPECT_EQ(countOf(calendar.event(2), ICAL_EXDATE_PROPERTY), 0);
}

TEST(RecordsInTurnTest, KindWithoutExtrasTakesNoneFromTheRecordBefore) {
  RecordPlan yearly = repeating(5);
  yearly.dayNumber = 9;
  RecordPlan weekly = repeating(2);
  weekly.daysMask = 8;  // Wednesdays
  weekly.startTime = utcSeconds({2024, 1, 10}, 9);
  RecordPlan unknown = repeating(7);
  ReadCalendar calendar(exportRecords({yearly, weekly, unknown}).text);
  ASSERT_EQ(calendar.size(), 3u);
  const icalrecurrencetype first = ruleOf(calendar.event(0));
  EXPECT_EQ(first.by_month[0], 1);
  EXPECT_EQ(first.by_month_day[0], 9);
  const icalrecurrencetype second = ruleOf(calendar.event(1));
  EXPECT_EQ(second.freq, ICAL_WEEKLY_RECURRENCE);
  EXPECT_EQ(second.by_month[0], ICAL_RECURRENCE_ARRAY_MAX);
  EXPECT_EQ(second.by_month_day[0], ICAL_RECURRENCE_ARRAY_MAX);
  EXPECT_EQ(countOf(calendar.event(2), ICAL_RRULE_PROPERTY), 0);
}

}  // namespace
}  // namespace vessory::testing
