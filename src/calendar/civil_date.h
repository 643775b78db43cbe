#ifndef VESSORY_CALENDAR_CIVIL_DATE_H_
#define VESSORY_CALENDAR_CIVIL_DATE_H_

#include <cstdint>

#include "calendar/zone_clock.h"

namespace vessory::calendar {

// Day arithmetic of the proleptic Gregorian calendar, without a zone: the zone code and the
// repeat rules count days the same way.

// Days from 1970-01-01 to the day.
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr std::int64_t daysFrom(const WallTime& time) {
  return daysFromCivil(time.year, time.month, time.day);
}

// `time` moved by `days` whole days, its time of day kept.
WallTime addDays(const WallTime& time, std::int64_t days);

// 0 Sunday to 6 Saturday (1970-01-01 was a Thursday).
constexpr int weekdayOf(std::int64_t days) { return static_cast<int>(((days + 4) % 7 + 7) % 7); }

constexpr bool isLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int daysInMonth(std::int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// "The last" week of a month, beside 0 to 3 for the first to the fourth.
inline constexpr int kLastWeekOfMonth = 4;

// The day of the month of its `week`-th (0 the first .. 3 the fourth, or kLastWeekOfMonth)
// `weekday` (0 Sunday).
constexpr int weekdayInMonth(std::int64_t year, int month, int weekday, int week) {
  int day = 1 + (weekday - weekdayOf(daysFromCivil(year, month, 1)) + 7) % 7;
  if (week != kLastWeekOfMonth) return day + 7 * week;
  while (day + 7 <= daysInMonth(year, month)) day += 7;
  return day;
}

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_CIVIL_DATE_H_
