#include "calendar/repeat_rule.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "archive/format.h"
#include "calendar/civil_date.h"
#include "calendar/ical_library.h"
#include "calendar/rule_days.h"

namespace vessory::calendar {

namespace {

using archive::RepeatEvent;

constexpr std::int64_t kDaysInWeek = 7;
constexpr std::int64_t kLastWeekIndex = 4;  // "the last" week of the month
constexpr std::int64_t kMonthsInYear = 12;
constexpr std::int64_t kLongestMonth = 31;
constexpr std::int64_t kShortestMonth = 28;
constexpr std::int64_t kFebruaryIndex = 1;  // month index 1
constexpr std::int64_t kLeapDay = 29;       // of February
constexpr short kLastDayOfMonth = -1;       // BYMONTHDAY counted from the end
constexpr int kDaysMaskBits = 0x7F;
constexpr std::int64_t kSecondsPerDay = 86400;

// The archive counts days from Sunday = 0; libical from Sunday = 1.
icalrecurrencetype_weekday weekday(std::int64_t dayIndex) {
  return static_cast<icalrecurrencetype_weekday>(ICAL_SUNDAY_WEEKDAY + dayIndex);
}

short byDay(std::int64_t dayIndex, int position) {
  return byDayValue(static_cast<int>(dayIndex), position);
}

bool inRange(std::int64_t value, std::int64_t low, std::int64_t high) {
  return value >= low && value <= high;
}

RepeatResult problem(const std::string& what, std::int64_t value) {
  return RepeatResult{std::nullopt, RepeatProblem{what + " " + std::to_string(value)}};
}

std::optional<RepeatResult> setWeekly(const RepeatEvent& repeat, icalrecurrencetype& r) {
  if (!inRange(repeat.firstDayOfWeek, 0, kDaysInWeek - 1)) {
    return problem("first day of the week", repeat.firstDayOfWeek);
  }
  const int mask = repeat.brandDaysMask & kDaysMaskBits;
  if (mask == 0) return problem("weekly days mask", repeat.brandDaysMask);
  r.freq = ICAL_WEEKLY_RECURRENCE;
  r.week_start = weekday(repeat.firstDayOfWeek);
  int used = 0;
  for (int day = 0; day < kDaysInWeek; ++day) {
    if ((mask & (1 << day)) != 0) r.by_day[used++] = byDay(day, 0);
  }
  r.by_day[used] = ICAL_RECURRENCE_ARRAY_MAX;
  return std::nullopt;
}

std::optional<RepeatResult> setMonthlyByDay(const RepeatEvent& repeat, icalrecurrencetype& r) {
  if (!inRange(repeat.brandDayIndex, 0, kDaysInWeek - 1)) {
    return problem("day index", repeat.brandDayIndex);
  }
  if (!inRange(repeat.brandWeekIndex, 0, kLastWeekIndex)) {
    return problem("week index", repeat.brandWeekIndex);
  }
  r.freq = ICAL_MONTHLY_RECURRENCE;
  const int position =
      repeat.brandWeekIndex == kLastWeekIndex ? -1 : static_cast<int>(repeat.brandWeekIndex) + 1;
  r.by_day[0] = byDay(repeat.brandDayIndex, position);
  r.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
  return std::nullopt;
}

std::optional<RepeatResult> setByDate(const RepeatEvent& repeat, icalrecurrencetype& r) {
  if (!inRange(repeat.brandDayNumber, 1, kLongestMonth)) {
    return problem("day number", repeat.brandDayNumber);
  }
  // The date book falls back to the month's last day; for the longest day that is every month's.
  r.by_month_day[0] = static_cast<short>(repeat.brandDayNumber);
  r.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
  if (repeat.brand == archive::kRepeatMonthlyByDate) {
    if (repeat.brandDayNumber == kLongestMonth) r.by_month_day[0] = kLastDayOfMonth;
    r.freq = ICAL_MONTHLY_RECURRENCE;
    return std::nullopt;
  }
  if (!inRange(repeat.brandMonthIndex, 0, kMonthsInYear - 1)) {
    return problem("month index", repeat.brandMonthIndex);
  }
  if (repeat.brandMonthIndex == kFebruaryIndex && repeat.brandDayNumber == kLeapDay) {
    r.by_month_day[0] = kLastDayOfMonth;
  }
  r.freq = ICAL_YEARLY_RECURRENCE;
  r.by_month[0] = static_cast<short>(repeat.brandMonthIndex + 1);
  r.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
  return std::nullopt;
}

// The kind's own part of the rule; a problem when the kind or one of its values has no meaning.
std::optional<RepeatResult> setKind(const RepeatEvent& repeat, icalrecurrencetype& r) {
  switch (repeat.brand) {
    case archive::kRepeatDaily:
      r.freq = ICAL_DAILY_RECURRENCE;
      return std::nullopt;
    case archive::kRepeatWeekly:
      return setWeekly(repeat, r);
    case archive::kRepeatMonthlyByDay:
      return setMonthlyByDay(repeat, r);
    case archive::kRepeatMonthlyByDate:
    case archive::kRepeatYearly:
      return setByDate(repeat, r);
    default:
      return problem("repeat kind", repeat.brand);
  }
}

// The last local day the repeat may fall on: the end date's, or the desktop's "no end" day when
// the repeat has none (`ends` false: no UNTIL).
struct RepeatEnd {
  WallTime day;
  bool ends = false;
};

RepeatEnd endOf(const RepeatEvent& repeat, const ZoneClock& clock) {
  if (repeat.endDate == -1) return RepeatEnd{kNoEndDay, false};
  WallTime last = clock.wallTime(repeat.endDate);
  if (!last.dateBefore(kNoEndDay)) return RepeatEnd{kNoEndDay, false};
  return RepeatEnd{last, true};
}

// The end of a repeat whose days were moved with the start: the desktop's end date is the
// start of the last day on its own clock, so the last occurrence comes before the same moment
// a day later; on this clock that is the last day whose start time is before it.
RepeatEnd movedEnd(const RepeatEvent& repeat, const WallTime& start, const ZoneClock& clock) {
  const RepeatEnd end = endOf(repeat, clock);
  if (!end.ends) return end;
  const WallTime before = clock.wallTime(repeat.endDate + kSecondsPerDay - 1);
  return RepeatEnd{before.secondOfDay() < start.secondOfDay() ? addDays(before, -1) : before, true};
}

void setEnd(const RepeatEnd& end, bool allDay, icalrecurrencetype& r) {
  if (!end.ends) return;
  // Inclusive: the whole of the end day, as floating time (RFC 5545 wants UNTIL of the same
  // type as DTSTART).
  if (allDay) {
    r.until = floatingDate(end.day);
  } else {
    WallTime last = end.day;
    last.hour = 23;
    last.minute = 59;
    last.second = 59;
    r.until = floatingTime(last);
  }
}

// The last day of each month of a monthly repeat on the 29th or 30th that lacks the day, from
// the start's month in steps of the interval through the end day.
std::vector<WallTime> shortMonthEnds(const RepeatEvent& repeat, const WallTime& start,
                                     const RepeatEnd& end, std::int64_t interval) {
  std::vector<WallTime> days;
  if (repeat.brand != archive::kRepeatMonthlyByDate || repeat.brandDayNumber <= kShortestMonth ||
      repeat.brandDayNumber >= kLongestMonth) {
    return days;
  }
  const std::int64_t first = start.year * kMonthsInYear + (start.month - 1);
  const std::int64_t last = end.day.year * kMonthsInYear + (end.day.month - 1);
  for (std::int64_t month = first; month <= last; month += interval) {
    WallTime day = start;
    day.year = static_cast<int>(month / kMonthsInYear);
    day.month = static_cast<int>(month % kMonthsInYear) + 1;
    day.day = daysInMonth(day.year, day.month);
    if (day.day >= repeat.brandDayNumber || day.dateBefore(start) || end.day.dateBefore(day)) {
      continue;
    }
    days.push_back(day);
  }
  return days;
}

// The rule of a repeat set on another clock than this one, its days moved by `shift` with the
// start (none: 0), and its end as the instant the desktop keeps; the moved days themselves, as
// RDATEs, where no rule can say them.
RepeatResult otherClockRule(const RepeatEvent& repeat, const WallTime& start,
                            const ZoneClock& clock, bool allDay, int shift, icalrecurrencetype r) {
  const RepeatEnd end = movedEnd(repeat, start, clock);
  RepeatRule rule{r, {}, std::nullopt};
  rule.dayShift = shift;
  rule.otherClock = true;
  if (shift == 0) {
    rule.extraDays = shortMonthEnds(repeat, start, end, std::max<std::int64_t>(repeat.interval, 1));
  } else if (!moveRuleDays(repeat, shift, rule.rule)) {
    rule.listed = true;
    rule.extraDays =
        movedDays(repeat, shift, start, end.ends ? end.day : addDays(kNoEndDay, shift));
  }
  setEnd(end, allDay, rule.rule);
  if (end.ends) rule.lastDay = end.day;
  return RepeatResult{std::move(rule), std::nullopt};
}

}  // namespace

RepeatResult buildRepeatRule(const RepeatEvent& repeat, const WallTime& start,
                             const ZoneClock& clock, bool allDay, bool followStart) {
  icalrecurrencetype r;
  ical().icalrecurrencetype_clear(&r);
  if (std::optional<RepeatResult> failed = setKind(repeat, r)) return *failed;
  if (repeat.interval > std::numeric_limits<short>::max() || repeat.interval < 0) {
    return problem("interval", repeat.interval);
  }
  if (repeat.interval > 1) r.interval = static_cast<short>(repeat.interval);
  if (followStart) {
    const std::optional<int> endTime = endTimeOfDay(repeat, clock);
    const int shift = ruleDayShift(repeat, start, endTime);
    if (shift != 0 || !onItsOwnClock(endTime)) {
      return otherClockRule(repeat, start, clock, allDay, shift, r);
    }
  }
  const RepeatEnd end = endOf(repeat, clock);
  setEnd(end, allDay, r);
  const std::int64_t interval = std::max<std::int64_t>(repeat.interval, 1);  // 0 is every time
  RepeatRule rule{r, shortMonthEnds(repeat, start, end, interval), std::nullopt};
  if (end.ends) rule.lastDay = end.day;
  return RepeatResult{std::move(rule), std::nullopt};
}

}  // namespace vessory::calendar
