#include "calendar/rule_days.h"

#include <algorithm>
#include <cstdint>

#include "archive/format.h"
#include "calendar/civil_date.h"
#include "calendar/repeat_rule.h"

namespace vessory::calendar {

namespace {

using archive::RepeatEvent;

constexpr int kDaysInWeek = 7;
constexpr int kMonthsInYear = 12;
constexpr int kDaysEveryMonthHas = 28;
constexpr int kLongestMonth = 31;  // a repeat on the 31st is on each month's last day
constexpr int kFebruary = 2;
constexpr int kLeapYear = 2000;
constexpr int kLastSecondOfDay = 86399;
constexpr int kNoon = 12 * 3600;
constexpr short kEnd = ICAL_RECURRENCE_ARRAY_MAX;

int wrapWeekday(std::int64_t day) {
  return static_cast<int>((day % kDaysInWeek + kDaysInWeek) % kDaysInWeek);
}
int wrapMonth(int month) { return (month + kMonthsInYear - 1) % kMonthsInYear + 1; }

// The day of the month (1..31) the desktop shows a monthly or yearly repeat on in that month.
int datebookDay(const RepeatEvent& repeat, int year, int month) {
  if (repeat.brand == archive::kRepeatMonthlyByDay) {
    return weekdayInMonth(year, month, static_cast<int>(repeat.brandDayIndex),
                          static_cast<int>(repeat.brandWeekIndex));
  }
  return std::min(static_cast<int>(repeat.brandDayNumber), daysInMonth(year, month));
}

// Whether the desktop's own rule holds on `day` (its interval aside).
bool onRuleDay(const RepeatEvent& repeat, std::int64_t day) {
  const WallTime date = addDays(WallTime{}, day);
  switch (repeat.brand) {
    case archive::kRepeatWeekly:
      return (repeat.brandDaysMask >> weekdayOf(day) & 1) != 0;
    case archive::kRepeatYearly:
      if (date.month != repeat.brandMonthIndex + 1) return false;
      [[fallthrough]];
    case archive::kRepeatMonthlyByDay:
    case archive::kRepeatMonthlyByDate:
      return date.day == datebookDay(repeat, date.year, date.month);
    default:
      return false;
  }
}

void setDays(icalrecurrencetype& rule, int first, int count) {
  for (int i = 0; i < count; ++i) rule.by_month_day[i] = static_cast<short>(first + i);
  rule.by_month_day[count] = kEnd;
}

void moveWeekly(const RepeatEvent& repeat, int shift, icalrecurrencetype& rule) {
  // The week start moves too, so that the weeks of an interval hold the same occurrences.
  rule.week_start = static_cast<icalrecurrencetype_weekday>(
      ICAL_SUNDAY_WEEKDAY + wrapWeekday(repeat.firstDayOfWeek + shift));
  int used = 0;
  for (int day = 0; day < kDaysInWeek; ++day) {
    if ((repeat.brandDaysMask >> wrapWeekday(day - shift) & 1) != 0) {
      rule.by_day[used++] = byDayValue(day, 0);
    }
  }
  rule.by_day[used] = kEnd;
}

// The n-th weekday moved: the moved weekday on the seven days of the month it can fall on.
bool moveByWeekday(const RepeatEvent& repeat, int shift, icalrecurrencetype& rule) {
  const bool last = repeat.brandWeekIndex == kLastWeekOfMonth;
  const int first = last ? -kDaysInWeek + shift
                         : kDaysInWeek * static_cast<int>(repeat.brandWeekIndex) + 1 + shift;
  const int end = first + kDaysInWeek - 1;
  // Counted from the month's start the days must lie within every month; from its end too.
  if (last ? end > -1 || first < -kDaysEveryMonthHas : first < 1 || end > kDaysEveryMonthHas) {
    return false;
  }
  rule.by_day[0] = byDayValue(wrapWeekday(repeat.brandDayIndex + shift), 0);
  rule.by_day[1] = kEnd;
  setDays(rule, first, kDaysInWeek);
  return true;
}

// A day of the month moved: by how many months BYMONTH moves (-1, 0, 1), and BYMONTHDAY.
struct MovedDay {
  int monthStep = 0;
  int value = 0;
};

// `day` (`last`: the month's last day) moved by `shift`, for a month that has at least
// `surely` and at most `longest` days; false when the moved day depends on the month's length.
bool moveMonthDay(int day, bool last, int shift, int surely, int longest, MovedDay& moved) {
  const int value = day + shift;
  if (last) {
    moved = shift <= 0 ? MovedDay{0, -1 + shift} : MovedDay{1, shift};
  } else if (value <= 0) {
    moved = MovedDay{-1, value - 1};  // counted from the end of the month before
  } else if (value <= surely) {
    moved = MovedDay{0, value};
  } else if (surely == longest) {
    moved = MovedDay{1, value - longest};
  } else {
    return false;
  }
  return true;
}

bool moveByDate(const RepeatEvent& repeat, int shift, icalrecurrencetype& rule) {
  const int day = static_cast<int>(repeat.brandDayNumber);
  const bool yearly = repeat.brand == archive::kRepeatYearly;
  const int month = yearly ? static_cast<int>(repeat.brandMonthIndex) + 1 : 0;
  // The longest the rule's months get, and what they have every year (February: 29 and 28).
  const int longest = yearly ? daysInMonth(kLeapYear, month) : kLongestMonth;
  const int surely = yearly && month != kFebruary ? longest : kDaysEveryMonthHas;
  // A day some of its months lack falls on their last day: moved, it depends on their length.
  if (day > surely && day < longest) return false;
  MovedDay moved;
  if (!moveMonthDay(day, day >= longest, shift, surely, longest, moved)) return false;
  setDays(rule, moved.value, 1);
  if (yearly) {
    rule.by_month[0] = static_cast<short>(wrapMonth(month + moved.monthStep));
    rule.by_month[1] = kEnd;
  }
  return true;
}

}  // namespace

short byDayValue(int dayIndex, int position) {
  const int magnitude = (position < 0 ? -position : position) * 8 + ICAL_SUNDAY_WEEKDAY + dayIndex;
  return static_cast<short>(position < 0 ? -magnitude : magnitude);
}

std::optional<int> endTimeOfDay(const RepeatEvent& repeat, const ZoneClock& clock) {
  if (repeat.endDate == -1) return std::nullopt;
  const WallTime end = clock.wallTime(repeat.endDate);
  if (!end.dateBefore(kNoEndDay)) return std::nullopt;
  return end.secondOfDay();
}

bool onItsOwnClock(std::optional<int> endTime) {
  return !endTime || *endTime == 0 || *endTime == kLastSecondOfDay;
}

int ruleDayShift(const RepeatEvent& repeat, const WallTime& start, std::optional<int> endTime) {
  const std::int64_t today = daysFrom(start);
  if (repeat.brand == archive::kRepeatDaily) return 0;
  std::vector<int> shifts;
  if (!endTime) {
    const int first = start.secondOfDay() < kNoon ? 1 : -1;
    shifts = {0, first, -first};
  } else if (!onItsOwnClock(endTime)) {
    // The end day's start there is endTime here: this zone is that far east of it, or a day
    // less that far west; the nearer first.
    const int east = start.secondOfDay() < *endTime ? 1 : 0;
    const int west = start.secondOfDay() >= *endTime ? -1 : 0;
    shifts = *endTime <= kNoon ? std::vector<int>{east, west} : std::vector<int>{west, east};
  }
  for (const int shift : shifts) {
    if (onRuleDay(repeat, today - shift)) return shift;
  }
  return 0;
}

bool occursOn(const RepeatEvent& repeat, int shift, const WallTime& start, const WallTime& day) {
  const std::int64_t first = daysFrom(start) - shift;
  const std::int64_t own = daysFrom(day) - shift;  // the day on the desktop's clock
  if (own < first) return false;
  const WallTime from = addDays(WallTime{}, first);
  const WallTime to = addDays(WallTime{}, own);
  const std::int64_t every = std::max<std::int64_t>(repeat.interval, 1);
  const std::int64_t months =
      (to.year - from.year) * std::int64_t{kMonthsInYear} + to.month - from.month;
  switch (repeat.brand) {
    case archive::kRepeatDaily:
      return (own - first) % every == 0;
    case archive::kRepeatWeekly: {
      const auto weekStart = [&](std::int64_t d) {
        return d - (weekdayOf(d) - repeat.firstDayOfWeek + kDaysInWeek) % kDaysInWeek;
      };
      return (weekStart(own) - weekStart(first)) / kDaysInWeek % every == 0 &&
             onRuleDay(repeat, own);
    }
    case archive::kRepeatYearly:
      return (to.year - from.year) % every == 0 && onRuleDay(repeat, own);
    default:
      return months % every == 0 && onRuleDay(repeat, own);
  }
}

bool moveRuleDays(const RepeatEvent& repeat, int shift, icalrecurrencetype& rule) {
  switch (repeat.brand) {
    case archive::kRepeatWeekly:
      moveWeekly(repeat, shift, rule);
      return true;
    case archive::kRepeatMonthlyByDay:
      return moveByWeekday(repeat, shift, rule);
    case archive::kRepeatMonthlyByDate:
    case archive::kRepeatYearly:
      return moveByDate(repeat, shift, rule);
    default:
      return shift == 0;
  }
}

std::vector<WallTime> movedDays(const RepeatEvent& repeat, int shift, const WallTime& start,
                                const WallTime& last) {
  std::vector<WallTime> days;
  const WallTime first = addDays(start, -shift);  // the start on the desktop's own clock
  const std::int64_t step = std::max<std::int64_t>(repeat.interval, 1) *
                            (repeat.brand == archive::kRepeatYearly ? kMonthsInYear : 1);
  // Months counted from year 0, so that a step crosses years by itself.
  std::int64_t month = first.year * std::int64_t{kMonthsInYear} + first.month - 1;
  for (;; month += step) {
    WallTime day = first;
    day.year = static_cast<int>(month / kMonthsInYear);
    day.month = static_cast<int>(month % kMonthsInYear) + 1;
    day.day = datebookDay(repeat, day.year, day.month);
    const WallTime moved = addDays(day, shift);
    if (last.dateBefore(moved)) break;
    if (start.dateBefore(moved)) days.push_back(moved);
  }
  return days;
}

}  // namespace vessory::calendar
