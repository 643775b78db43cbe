// A repeat exported on the clock of another zone than the one it was set on: the archive holds
// the start and the exceptions as instants and the rule's days on the desktop's own clock (here
// UTC). Exported in a zone where the start falls a day later, earlier or on the same day, every
// occurrence libical expands must be the instant of one the desktop shows, and nothing else.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "calendar/datebook_rules.h"
#include "calendar/repeat_cases.h"

namespace vessory::testing {
namespace {

constexpr int kHour = 3600;
constexpr int kDay = 86400;

// A zone that keeps one offset all year, so that the instants have one wall time there.
struct FixedZone {
  std::string name;
  int offset;  // seconds east of UTC
};

// A repeat on the desktop's days; `listedLater` and `listedEarlier` when no rule can say its
// days moved a day later or earlier, and its dates are listed instead.
struct MovedCase {
  std::string name;
  Civil start;
  DatebookRule rule;
  std::optional<Civil> lastDay;
  std::vector<Civil> exceptionDays;  // the first held as its occurrence, the others as the day
  Civil windowEnd;
  bool listedLater = false;
  bool listedEarlier = false;
};

void PrintTo(const MovedCase& c, std::ostream* out) { *out << c.name; }
void PrintTo(const FixedZone& zone, std::ostream* out) { *out << zone.name; }

// The start's time of day in UTC: late, early, or an all-day event (kept as its day's start).
using MovedParam = std::tuple<MovedCase, FixedZone, int>;

RepeatCase recordCase(const MovedCase& c, int startSecond) {
  const int second = startSecond == kAllDay ? 0 : startSecond;
  RepeatCase r{c.name, c.start, startSecond, c.rule, kNoEnd, {}, c.windowEnd};
  if (c.lastDay) r.endDate = utcSeconds(*c.lastDay);
  for (std::size_t i = 0; i < c.exceptionDays.size(); ++i) {
    r.exceptions.push_back(utcSeconds(c.exceptionDays[i]) + (i == 0 ? second : 0));
  }
  return r;
}

std::string wallText(std::int64_t instant, const FixedZone& zone, bool allDay) {
  const std::int64_t wall = instant + zone.offset;
  const Civil date = civilOf(wall / kDay);
  return allDay ? dateText(date) : dateTimeText(date, static_cast<int>(wall % kDay));
}

// The desktop's occurrences, each at its instant on the zone's clock, through `windowEnd` there.
std::vector<std::string> expectedWallTimes(const MovedCase& c, const FixedZone& zone,
                                           int startSecond) {
  DatebookRule rule = c.rule;
  rule.lastDay = c.lastDay;
  rule.exceptions = c.exceptionDays;
  const Civil past = civilOf(daysFrom(c.windowEnd) + 1);
  const bool allDay = startSecond == kAllDay;
  std::vector<std::string> texts;
  for (const Civil& day : datebookDays(rule, c.start, past)) {
    const std::int64_t instant = daysFrom(day) * kDay + (allDay ? 0 : startSecond);
    const std::string text = wallText(instant, zone, allDay);
    if (text.substr(0, 10) <= dateText(c.windowEnd)) texts.push_back(text);
  }
  return texts;
}

// By how many days the start moves on the zone's clock.
int shiftOf(const MovedCase& c, const FixedZone& zone, int startSecond) {
  const std::int64_t start = daysFrom(c.start) * kDay + std::max(startSecond, 0);
  return static_cast<int>((start + zone.offset) / kDay - daysFrom(c.start));
}

// How many of the run's messages say `text`.
long mentions(const CalendarExport& out, const std::string& text) {
  return std::count_if(out.messages.begin(), out.messages.end(),
                       [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

class MovedRepeatTest : public ::testing::TestWithParam<MovedParam> {};

TEST_P(MovedRepeatTest, OccurrencesKeepTheArchivesInstants) {
  const auto& [c, zone, startSecond] = GetParam();
  const CalendarExport out = exportRecords({recordOf(recordCase(c, startSecond))}, zone.name);
  ASSERT_EQ(out.outcome, exporting::ExportOutcome::kComplete);
  ReadCalendar calendar(out.text);
  ASSERT_TRUE(calendar.clean()) << out.text;
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(occurrences(calendar.event(0), c.windowEnd), expectedWallTimes(c, zone, startSecond))
      << out.text;

  // The record is named when its days moved or its end date shows another clock, and its
  // dates listed only where no rule says them.
  const int shift = c.rule.kind == 1 ? 0 : shiftOf(c, zone, startSecond);
  const bool listed = (shift > 0 && c.listedLater) || (shift < 0 && c.listedEarlier);
  EXPECT_EQ(mentions(out, "moved one day"), shift != 0 ? 1 : 0);
  EXPECT_EQ(mentions(out, "another zone"), shift != 0 || c.lastDay ? 1 : 0);
  EXPECT_EQ(countOf(calendar.event(0), ICAL_RRULE_PROPERTY), listed ? 0 : 1);
}

const FixedZone kZones[] = {{"Asia/Tokyo", 9 * kHour},
                            {"Asia/Kolkata", 5 * kHour + 30 * 60},
                            {"Pacific/Honolulu", -10 * kHour}};
// 20:00 UTC is the next day in Tokyo and Kolkata; 06:00 UTC the day before in Honolulu.
const int kStartSeconds[] = {20 * kHour, 6 * kHour, kAllDay};

std::string nameOf(const ::testing::TestParamInfo<MovedParam>& info) {
  const auto& [c, zone, second] = info.param;
  std::string place = zone.name.substr(zone.name.find('/') + 1);
  const std::string when = second == kAllDay ? "AllDay" : "At" + std::to_string(second / kHour);
  return c.name + "In" + place + when;
}

const MovedCase kWeeklyAndDaily[] = {
    {"EveryThirdDay", {2003, 3, 1}, daily(3), Civil{2003, 5, 1}, {{2003, 3, 4}}, {2003, 6, 1}},
    // Tuesdays and Thursdays every other week from Mondays, as the desktop sets them.
    {"TuesdayAndThursday",
     {2003, 3, 4},
     weekly(kTue | kThu, 1, 2),
     Civil{2003, 6, 30},
     {{2003, 3, 18}, {2003, 4, 3}},
     {2003, 7, 31}},
    // Saturday and Sunday both fit a start moved from one to the other: the end date tells.
    {"WeekendEveryThirdWeek",
     {2024, 1, 6},
     weekly(kSat | kSun, 0, 3),
     Civil{2024, 11, 30},
     {{2024, 1, 28}},
     {2024, 12, 31}},
};

const MovedCase kMonthly[] = {
    {"SecondTuesday", {2003, 1, 14}, monthlyByDay(1, 2), Civil{2004, 1, 1}, {}, {2004, 3, 1}},
    {"LastFriday",
     {2003, 1, 31},
     monthlyByDay(4, 5),
     std::nullopt,
     {{2003, 5, 30}},
     {2005, 12, 31},
     true},
    {"FirstMonday",
     {2024, 1, 1},
     monthlyByDay(0, 1),
     std::nullopt,
     {},
     {2025, 12, 31},
     false,
     true},
    // The fourth Saturday can be 28 February, the day after which is in March.
    {"FourthSaturday", {2026, 1, 24}, monthlyByDay(3, 6, 1), std::nullopt, {}, {2027, 3, 31}, true},
    {"FifteenthEveryOtherMonth",
     {2024, 1, 15},
     monthlyByDate(15, 2),
     Civil{2025, 7, 15},
     {{2024, 5, 15}},
     {2025, 12, 31}},
    {"FirstOfTheMonth", {2024, 1, 1}, monthlyByDate(1), std::nullopt, {}, {2025, 3, 31}},
    {"ThirtyFirstOnMonthEnds", {2003, 1, 31}, monthlyByDate(31), std::nullopt, {}, {2004, 4, 1}},
    {"ThirtiethOrTheMonthsEnd",
     {2003, 1, 30},
     monthlyByDate(30),
     Civil{2004, 12, 31},
     {{2003, 4, 30}},
     {2005, 1, 31},
     true,
     true},
};

const MovedCase kYearly[] = {
    {"LeapDay", {2004, 2, 29}, yearly(1, 29), std::nullopt, {}, {2013, 3, 31}},
    {"NewYearsEve", {2003, 12, 31}, yearly(11, 31), std::nullopt, {{2005, 12, 31}}, {2010, 1, 31}},
    {"FirstOfMarchEveryOtherYear", {2003, 3, 1}, yearly(2, 1, 2), std::nullopt, {}, {2013, 3, 31}},
    // The day after 28 February is 29 February in leap years.
    {"TwentyEighthOfFebruary",
     {2003, 2, 28},
     yearly(1, 28),
     Civil{2010, 3, 1},
     {},
     {2011, 3, 31},
     true},
};

INSTANTIATE_TEST_SUITE_P(WeeklyAndDaily, MovedRepeatTest,
                         ::testing::Combine(::testing::ValuesIn(kWeeklyAndDaily),
                                            ::testing::ValuesIn(kZones),
                                            ::testing::ValuesIn(kStartSeconds)),
                         nameOf);
INSTANTIATE_TEST_SUITE_P(Monthly, MovedRepeatTest,
                         ::testing::Combine(::testing::ValuesIn(kMonthly),
                                            ::testing::ValuesIn(kZones),
                                            ::testing::ValuesIn(kStartSeconds)),
                         nameOf);
INSTANTIATE_TEST_SUITE_P(Yearly, MovedRepeatTest,
                         ::testing::Combine(::testing::ValuesIn(kYearly),
                                            ::testing::ValuesIn(kZones),
                                            ::testing::ValuesIn(kStartSeconds)),
                         nameOf);

}  // namespace
}  // namespace vessory::testing

namespace vessory::testing {
namespace {

// An end date at a day's boundary shows the export's clock is the desktop's: a start off the
// repeat's days (a Monday of a Tuesday repeat, as a record may hold) then moves nothing.
TEST(MovedRepeatClockTest, AnEndDateOnTheDesktopsClockKeepsTheRule) {
  const struct {
    std::string zone;
    std::uint32_t endDate;
  } rows[] = {
      {"UTC", utcSeconds({2024, 3, 5})},
      {"UTC", utcSeconds({2024, 3, 5}, 23, 59, 59)},
      {"Asia/Tokyo", utcSeconds({2024, 3, 4}, 15)},  // midnight there
  };
  for (const auto& row : rows) {
    RepeatCase c{"OffItsDays", {2024, 1, 1}, kNine, weekly(kTue, 0), row.endDate, {}, {}};
    const CalendarExport out = exportRecords({recordOf(c)}, row.zone);
    ReadCalendar calendar(out.text);
    ASSERT_EQ(calendar.size(), 1u) << row.zone;
    EXPECT_NE(valueOf(calendar.event(0), ICAL_RRULE_PROPERTY).find("BYDAY=TU"), std::string::npos)
        << row.zone << "\n"
        << out.text;
    EXPECT_EQ(mentions(out, "another zone"), 0) << row.zone;
  }
}

}  // namespace
}  // namespace vessory::testing
