#include "calendar/datebook_rules.h"

#include <algorithm>

namespace vessory::testing {

namespace {

std::int64_t monthsBetween(const Civil& from, const Civil& to) {
  return (to.year - from.year) * 12 + (to.month - from.month);
}

bool everyNth(std::int64_t count, int interval) { return count >= 0 && count % interval == 0; }

// The first day of the week holding `days`, weeks beginning on `firstDay`.
std::int64_t weekBegin(std::int64_t days, int firstDay) {
  return days - (weekdayOf(days) - firstDay + 7) % 7;
}

bool onNthWeekday(const DatebookRule& rule, std::int64_t days) {
  const Civil date = civilOf(days);
  if (weekdayOf(days) != rule.dayIndex) return false;
  if (rule.weekIndex == 4) return date.day + 7 > daysInMonth(date.year, date.month);
  return (date.day - 1) / 7 == rule.weekIndex;
}

// The date book's day of a repeat by date in a month: the month's last day when it is too short.
bool onDayOrMonthEnd(const DatebookRule& rule, const Civil& date) {
  return date.day == std::min(rule.dayNumber, daysInMonth(date.year, date.month));
}

bool ruleHolds(const DatebookRule& rule, std::int64_t startDays, std::int64_t days) {
  const Civil start = civilOf(startDays);
  const Civil date = civilOf(days);
  switch (rule.kind) {
    case 1:
      return everyNth(days - startDays, rule.interval);
    case 2: {
      const std::int64_t weeks =
          (weekBegin(days, rule.firstDayOfWeek) - weekBegin(startDays, rule.firstDayOfWeek)) / 7;
      return everyNth(weeks, rule.interval) && (rule.daysMask >> weekdayOf(days) & 1) != 0;
    }
    case 3:
      return everyNth(monthsBetween(start, date), rule.interval) && onNthWeekday(rule, days);
    case 4:
      return everyNth(monthsBetween(start, date), rule.interval) && onDayOrMonthEnd(rule, date);
    case 5:
      return everyNth(date.year - start.year, rule.interval) && date.month == rule.monthIndex + 1 &&
             onDayOrMonthEnd(rule, date);
    default:
      return false;
  }
}

}  // namespace

std::vector<Civil> datebookDays(const DatebookRule& rule, const Civil& start,
                                const Civil& windowEnd) {
  std::vector<Civil> days;
  const std::int64_t first = daysFrom(start);
  for (std::int64_t d = first; d <= daysFrom(windowEnd); ++d) {
    const Civil date = civilOf(d);
    if (rule.lastDay && *rule.lastDay < date) break;
    if (!ruleHolds(rule, first, d)) continue;
    if (std::find(rule.exceptions.begin(), rule.exceptions.end(), date) != rule.exceptions.end()) {
      continue;
    }
    days.push_back(date);
  }
  return days;
}

}  // namespace vessory::testing
