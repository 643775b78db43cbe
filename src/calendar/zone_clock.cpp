#include "calendar/zone_clock.h"

#include <tuple>

#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the day, in the proleptic Gregorian calendar.
std::int64_t daysSince1970(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The inverse of daysSince1970: the year, month and day `days` days after 1970-01-01.
void civilDate(std::int64_t days, icaltimetype& t) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  t.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  t.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
}

}  // namespace

bool WallTime::dateBefore(const WallTime& other) const {
  return std::tie(year, month, day) < std::tie(other.year, other.month, other.day);
}

std::unique_ptr<ZoneClock> ZoneClock::open(const std::string& name) {
  if (name.empty() || !icalProblem().empty()) return nullptr;
  // libical answers "UTC" (and "GMT") with its own zone; every other name from the zone data.
  icaltimezone* zone = ical().icaltimezone_get_builtin_timezone(name.c_str());
  if (zone == nullptr) return nullptr;
  return std::unique_ptr<ZoneClock>(new ZoneClock(name, zone));
}

std::string ZoneClock::refusal(const std::string& name) {
  return icalProblem().empty() ? "Unknown time zone " + name : icalProblem();
}

// What icaltime_from_timet_with_zone does, from the UTC time taken apart here: its time_t has
// 32 bits on some targets (WebAssembly), where the moments past January 2038 would wrap.
WallTime ZoneClock::wallTime(std::int64_t utcSeconds) const {
  icaltimetype t = ical().icaltime_null_time();
  const std::int64_t days =
      (utcSeconds >= 0 ? utcSeconds : utcSeconds - (kSecondsPerDay - 1)) / kSecondsPerDay;
  const std::int64_t second = utcSeconds - days * kSecondsPerDay;
  civilDate(days, t);
  t.hour = static_cast<int>(second / 3600);
  t.minute = static_cast<int>(second / 60 % 60);
  t.second = static_cast<int>(second % 60);
  icaltimezone* utc = ical().icaltimezone_get_utc_timezone();
  t.zone = utc;
  ical().icaltimezone_convert_time(&t, utc, zone_);
  return WallTime{t.year, t.month, t.day, t.hour, t.minute, t.second};
}

std::int64_t ZoneClock::utcOffset(std::int64_t utcSeconds) const {
  const WallTime wall = wallTime(utcSeconds);
  return daysSince1970(wall.year, wall.month, wall.day) * kSecondsPerDay +
         std::int64_t{wall.hour} * 3600 + std::int64_t{wall.minute} * 60 + wall.second - utcSeconds;
}

icaltimetype floatingTime(const WallTime& time) {
  icaltimetype t = ical().icaltime_null_time();
  t.year = time.year;
  t.month = time.month;
  t.day = time.day;
  t.hour = time.hour;
  t.minute = time.minute;
  t.second = time.second;
  t.is_date = 0;
  t.zone = nullptr;
  return t;
}

icaltimetype floatingDate(const WallTime& time) {
  icaltimetype t = ical().icaltime_null_date();
  t.year = time.year;
  t.month = time.month;
  t.day = time.day;
  return t;
}

icaltimetype dayAfter(const WallTime& time) {
  icaltimetype t = floatingDate(time);
  ical().icaltime_adjust(&t, 1, 0, 0, 0);
  return t;
}

}  // namespace vessory::calendar
