#include "handheld/packed_date.h"

#include <cstdio>

#include "handheld/handheld_format.h"

namespace vessory::handheld {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
std::int64_t daysSinceEpoch(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::optional<archive::CalendarDate> unpackDate(std::uint16_t packed) {
  archive::CalendarDate date;
  date.year = kPackedYearBase + (packed >> 9);
  date.month = (packed >> 5) & 0x0F;
  date.day = packed & 0x1F;
  if (date.month < 1 || date.month > 12 || date.day < 1) return std::nullopt;
  if (date.day > daysInMonth(date.year, date.month)) return std::nullopt;
  return date;
}

std::string packedHex(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
  return text;
}

std::int64_t wallSeconds(const archive::CalendarDate& date, int hour, int minute) {
  return daysSinceEpoch(date.year, date.month, date.day) * kSecondsPerDay +
         std::int64_t{hour} * 3600 + std::int64_t{minute} * 60;
}

}  // namespace vessory::handheld
