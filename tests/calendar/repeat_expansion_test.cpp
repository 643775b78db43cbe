// Every repeat kind, written by the export and expanded by libical, against the date book's
// own rules expanded one day at a time.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "calendar/datebook_rules.h"
#include "calendar/repeat_cases.h"

namespace vessory::testing {
namespace {

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
