// Every repeat kind, written by the export and expanded by libical, against the date book's
// own rules expanded one day at a time.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "calendar/datebook_rules.h"

namespace vessory::testing {
namespace {

constexpr std::uint32_t kNoEnd = 0xFFFFFFFF;
constexpr std::uint32_t kDesktopNoEnd = 1956542399;  // 2031-12-31 23:59:59 UTC
constexpr int kNine = 9 * 3600;
constexpr int kAllDay = -1;

struct RepeatCase {
  std::string name;
  Civil start;
  int startSecond = kNine;  // kAllDay for an untimed event
  DatebookRule rule;        // lastDay and exceptions come from the two fields below
  std::uint32_t endDate = kNoEnd;
  std::vector<std::uint32_t> exceptions;
  Civil windowEnd;
};

std::ostream& operator<<(std::ostream& out, const RepeatCase& c) { return out << c.name; }

RecordPlan recordOf(const RepeatCase& c) {
  RecordPlan r;
  r.description = c.name;
  r.note = "";
  const int second = c.startSecond == kAllDay ? 0 : c.startSecond;
  r.startTime = utcSeconds(c.start) + static_cast<std::uint32_t>(second);
  r.endTime = r.startTime + 3600;
  r.untimed = c.startSecond == kAllDay ? 1 : 0;
  r.repeatFlag = 0xFFFF;
  r.brand = static_cast<std::uint32_t>(c.rule.kind);
  r.interval = static_cast<std::uint32_t>(c.rule.interval);
  r.endDate = c.endDate;
  r.firstDayOfWeek = static_cast<std::uint32_t>(c.rule.firstDayOfWeek);
  r.dayIndex = static_cast<std::uint32_t>(c.rule.dayIndex);
  r.daysMask = static_cast<std::uint8_t>(c.rule.daysMask);
  r.weekIndex = static_cast<std::uint32_t>(c.rule.weekIndex);
  r.dayNumber = static_cast<std::uint32_t>(c.rule.dayNumber);
  r.monthIndex = static_cast<std::uint32_t>(c.rule.monthIndex);
  r.exceptions = c.exceptions;
  return r;
}

// The date book's days in UTC, where the local date of an archive time is its day count.
std::vector<std::string> expectedStarts(const RepeatCase& c) {
  DatebookRule rule = c.rule;
  const Civil noEndDay{2031, 12, 31};
  if (c.endDate != kNoEnd && civilOf(c.endDate / 86400) < noEndDay) {
    rule.lastDay = civilOf(c.endDate / 86400);
  }
  for (std::uint32_t exception : c.exceptions) {
    rule.exceptions.push_back(civilOf(exception / 86400));
  }
  std::vector<std::string> starts;
  for (const Civil& day : datebookDays(rule, c.start, c.windowEnd)) {
    starts.push_back(c.startSecond == kAllDay ? dateText(day) : dateTimeText(day, c.startSecond));
  }
  return starts;
}

class RepeatExpansionTest : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(RepeatExpansionTest, LibicalExpandsTheRuleToTheDatebooksDays) {
  const RepeatCase& c = GetParam();
  const CalendarExport out = exportRecords({recordOf(c)});
  ASSERT_EQ(out.outcome, exporting::ExportOutcome::kComplete);
  EXPECT_EQ(out.tally.repeating, 1);
  ReadCalendar calendar(out.text);
  ASSERT_TRUE(calendar.clean()) << out.text;
  ASSERT_EQ(calendar.size(), 1u);
  const std::vector<std::string> expected = expectedStarts(c);
  ASSERT_GT(expected.size(), 0u);
  EXPECT_EQ(occurrences(calendar.event(0), c.windowEnd), expected) << out.text;
}

DatebookRule rule(int kind, int interval) {
  DatebookRule r;
  r.kind = kind;
  r.interval = interval;
  return r;
}
DatebookRule daily(int interval = 1) { return rule(1, interval); }
DatebookRule weekly(int mask, int firstDay, int interval = 1) {
  DatebookRule r = rule(2, interval);
  r.daysMask = mask;
  r.firstDayOfWeek = firstDay;
  return r;
}
DatebookRule monthlyByDay(int weekIndex, int dayIndex, int interval = 1) {
  DatebookRule r = rule(3, interval);
  r.weekIndex = weekIndex;
  r.dayIndex = dayIndex;
  return r;
}
DatebookRule monthlyByDate(int dayNumber, int interval = 1) {
  DatebookRule r = rule(4, interval);
  r.dayNumber = dayNumber;
  return r;
}
DatebookRule yearly(int monthIndex, int dayNumber, int interval = 1) {
  DatebookRule r = rule(5, interval);
  r.monthIndex = monthIndex;
  r.dayNumber = dayNumber;
  return r;
}

constexpr int kSun = 1, kMon = 2, kTue = 4, kWed = 8, kFri = 32, kSat = 64;

INSTANTIATE_TEST_SUITE_P(
    DailyAndWeekly, RepeatExpansionTest,
    ::testing::Values(
        RepeatCase{"DailyWithoutEnd", {2024, 1, 15}, kNine, daily(), kNoEnd, {}, {2025, 2, 1}},
        RepeatCase{"EveryThirdDayToAnEndDate",
                   {2024, 1, 1},
                   13 * 3600 + 1800,
                   daily(3),
                   utcSeconds({2024, 3, 1}, 23, 59, 59),
                   {},
                   {2024, 6, 1}},
        RepeatCase{"EndDateOnTheFirstDay",
                   {2024, 5, 5},
                   kNine,
                   daily(),
                   utcSeconds({2024, 5, 5}),
                   {},
                   {2024, 6, 1}},
        RepeatCase{"ExceptionsIncludingTheFirstDay",
                   {2024, 1, 1},
                   kNine,
                   daily(2),
                   kNoEnd,
                   {utcSeconds({2024, 1, 1}), utcSeconds({2024, 1, 5}, 9),
                    utcSeconds({2024, 2, 10}, 17, 30)},
                   {2024, 3, 1}},
        RepeatCase{"WeekdaysOfEveryWeek",
                   {2024, 1, 1},
                   kNine,
                   weekly(kMon | kWed | kFri, 0),
                   kNoEnd,
                   {},
                   {2025, 12, 31}},
        RepeatCase{"EveryOtherWeekWeeksFromSunday",
                   {2024, 1, 2},
                   kNine,
                   weekly(kSun | kTue, 0, 2),
                   kNoEnd,
                   {},
                   {2024, 12, 31}},
        RepeatCase{"EveryOtherWeekWeeksFromMonday",
                   {2024, 1, 2},
                   kNine,
                   weekly(kSun | kTue, 1, 2),
                   kNoEnd,
                   {},
                   {2024, 12, 31}},
        RepeatCase{"WeekendsEveryThirdWeekFromMonday",
                   {2024, 1, 6},
                   kNine,
                   weekly(kSat | kSun, 1, 3),
                   utcSeconds({2025, 1, 31}, 12),
                   {},
                   {2025, 6, 1}},
        RepeatCase{"AllDayWeeklyWithExceptions",
                   {2024, 1, 3},
                   kAllDay,
                   weekly(kWed, 0),
                   kNoEnd,
                   {utcSeconds({2024, 1, 3}), utcSeconds({2024, 2, 7}, 23, 59)},
                   {2024, 4, 1}},
        RepeatCase{"AllDayDailyToAnEndDate",
                   {2024, 2, 27},
                   kAllDay,
                   daily(),
                   utcSeconds({2024, 3, 2}, 23, 59, 59),
                   {},
                   {2024, 4, 1}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Monthly, RepeatExpansionTest,
    ::testing::Values(
        RepeatCase{
            "SecondTuesday", {2024, 1, 9}, kNine, monthlyByDay(1, 2), kNoEnd, {}, {2026, 12, 31}},
        // March 2024 and May 2024 have five Fridays: the last is the fifth there.
        RepeatCase{
            "LastFriday", {2024, 1, 26}, kNine, monthlyByDay(4, 5), kNoEnd, {}, {2026, 12, 31}},
        RepeatCase{"FourthFridayIsNotTheLast",
                   {2024, 1, 26},
                   kNine,
                   monthlyByDay(3, 5),
                   kNoEnd,
                   {},
                   {2026, 12, 31}},
        RepeatCase{"FirstSundayEveryOtherMonth",
                   {2024, 2, 4},
                   kNine,
                   monthlyByDay(0, 0, 2),
                   kNoEnd,
                   {},
                   {2027, 1, 31}},
        RepeatCase{"LastSaturdayAllDay",
                   {2024, 8, 31},
                   kAllDay,
                   monthlyByDay(4, 6),
                   kNoEnd,
                   {utcSeconds({2024, 11, 30})},
                   {2025, 12, 31}},
        RepeatCase{"FifteenthEveryThirdMonthToAnEnd",
                   {2024, 1, 15},
                   kNine,
                   monthlyByDate(15, 3),
                   utcSeconds({2025, 7, 15}),
                   {},
                   {2026, 12, 31}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Yearly, RepeatExpansionTest,
                         ::testing::Values(RepeatCase{"EveryOtherFourthOfJuly",
                                                      {2024, 7, 4},
                                                      kNine,
                                                      yearly(6, 4, 2),
                                                      kNoEnd,
                                                      {},
                                                      {2034, 12, 31}},
                                           RepeatCase{"DesktopNoEndRunsPast2031",
                                                      {2024, 3, 1},
                                                      kNine,
                                                      yearly(2, 1),
                                                      kDesktopNoEnd,
                                                      {},
                                                      {2036, 3, 31}},
                                           RepeatCase{"EndOnTheNoEndDayIsNoEnd",
                                                      {2024, 3, 1},
                                                      kNine,
                                                      yearly(2, 1),
                                                      utcSeconds({2031, 12, 31}),
                                                      {},
                                                      {2036, 3, 31}},
                                           RepeatCase{"EndTheDayBeforeTheNoEndDayEnds",
                                                      {2024, 12, 30},
                                                      kNine,
                                                      yearly(11, 30),
                                                      utcSeconds({2031, 12, 30}),
                                                      {},
                                                      {2036, 12, 31}},
                                           RepeatCase{"AllDayBirthdayWithAnException",
                                                      {2024, 12, 31},
                                                      kAllDay,
                                                      yearly(11, 31),
                                                      utcSeconds({2030, 12, 30}, 23, 59, 59),
                                                      {utcSeconds({2026, 12, 31}, 8)},
                                                      {2036, 12, 31}}),
                         [](const auto& info) { return info.param.name; });

// Repeats by date on a day some months lack fall on those months' last day.
INSTANTIATE_TEST_SUITE_P(
    MonthEnds, RepeatExpansionTest,
    ::testing::Values(
        RepeatCase{"ThirtyFirstOnEveryMonthsLastDay",
                   {2024, 1, 31},
                   kNine,
                   monthlyByDate(31),
                   kNoEnd,
                   {},
                   {2026, 12, 31}},
        RepeatCase{"ThirtyFirstEveryThirdMonth",
                   {2024, 1, 31},
                   kNine,
                   monthlyByDate(31, 3),
                   kNoEnd,
                   {},
                   {2027, 12, 31}},
        // The short months are added one by one, through the last day the archive holds.
        RepeatCase{"TwentyNinthInLeapAndCommonFebruaries",
                   {2024, 1, 29},
                   kNine,
                   monthlyByDate(29),
                   kNoEnd,
                   {},
                   {2031, 12, 31}},
        RepeatCase{"ThirtiethEveryOtherMonthToAnEndOnAShortMonthWithExceptions",
                   {2023, 12, 30},
                   8 * 3600 + 1800,
                   monthlyByDate(30, 2),
                   utcSeconds({2027, 2, 28}, 12),
                   {utcSeconds({2025, 2, 28}), utcSeconds({2024, 4, 30}, 20)},
                   {2028, 12, 31}},
        RepeatCase{"TwentyNinthOfFebruaryEveryTwelfthMonthAllDay",
                   {2024, 2, 29},
                   kAllDay,
                   monthlyByDate(29, 12),
                   kDesktopNoEnd,
                   {},
                   {2031, 12, 31}},
        RepeatCase{"TwentyNinthOfJanuaryEveryTwelfthMonthNeedsNoMonthEnd",
                   {2024, 1, 29},
                   kNine,
                   monthlyByDate(29, 12),
                   kNoEnd,
                   {},
                   {2031, 12, 31}},
        RepeatCase{"LeapDayOnTheLastOfFebruary",
                   {2024, 2, 29},
                   kNine,
                   yearly(1, 29),
                   kNoEnd,
                   {},
                   {2036, 12, 31}},
        RepeatCase{"LeapDayEveryThirdYearAllDayWithAnException",
                   {2000, 2, 29},
                   kAllDay,
                   yearly(1, 29, 3),
                   kNoEnd,
                   {utcSeconds({2006, 2, 28}, 7)},
                   {2012, 12, 31}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vessory::testing
