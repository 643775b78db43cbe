#include "calendar/civil_days.h"

#include <cstdio>

namespace vessory::testing {

// The era arithmetic of the proleptic Gregorian calendar: 400 years are 146097 days.
std::int64_t daysFrom(const Civil& date) {
  const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t monthFromMarch = (date.month + 9) % 12;
  const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

Civil civilOf(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  const int month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return Civil{year, month, day};
}

int weekdayOf(std::int64_t days) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::uint32_t utcSeconds(const Civil& date, int hour, int minute, int second) {
  return static_cast<std::uint32_t>(daysFrom(date) * 86400 + hour * 3600 + minute * 60 + second);
}

std::string dateText(const Civil& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string dateTimeText(const Civil& date, int secondOfDay) {
  char text[32];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60,
                secondOfDay % 60);
  return dateText(date) + text;
}

}  // namespace vessory::testing
