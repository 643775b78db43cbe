#ifndef VESSORY_TESTS_CALENDAR_CIVIL_DAYS_H_
#define VESSORY_TESTS_CALENDAR_CIVIL_DAYS_H_

#include <cstdint>
#include <string>

namespace vessory::testing {

// A Gregorian date, counted here without any zone or calendar library so that the tests check
// the program against arithmetic of their own.
struct Civil {
  int year = 1970;
  int month = 1;
  int day = 1;
  auto operator<=>(const Civil&) const = default;
};

// Days since 1970-01-01, and back.
std::int64_t daysFrom(const Civil& date);
Civil civilOf(std::int64_t days);
// 0 Sunday to 6 Saturday.
int weekdayOf(std::int64_t days);
int daysInMonth(int year, int month);

// Seconds since 1970 UTC of a UTC date and time, as the archive holds times.
std::uint32_t utcSeconds(const Civil& date, int hour = 0, int minute = 0, int second = 0);

// "2024-03-10", and "2024-03-10 09:00:00" with a time of day in seconds.
std::string dateText(const Civil& date);
std::string dateTimeText(const Civil& date, int secondOfDay);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_CALENDAR_CIVIL_DAYS_H_
