#include "calendar/zone_clock.h"

#include <tuple>

#include "calendar/civil_date.h"
#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

WallTime addDays(const WallTime& time, std::int64_t days) {
  std::int64_t z = daysFrom(time) + days + 719468;  // from 0000-03-01
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // from March
  WallTime moved = time;
  moved.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  moved.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  moved.year = static_cast<int>(yearOfEra + era * 400 + (moved.month <= 2 ? 1 : 0));
  return moved;
}

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
  const WallTime date = addDays(WallTime{}, days);  // WallTime{} is 1970-01-01, 00:00:00
  t.year = date.year;
  t.month = date.month;
  t.day = date.day;
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
  return daysFrom(wall) * kSecondsPerDay + std::int64_t{wall.hour} * 3600 +
         std::int64_t{wall.minute} * 60 + wall.second - utcSeconds;
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
