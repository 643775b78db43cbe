#include "calendar/zone_clock.h"

#include <ctime>
#include <tuple>

namespace vessory::calendar {

bool WallTime::dateBefore(const WallTime& other) const {
  return std::tie(year, month, day) < std::tie(other.year, other.month, other.day);
}

std::unique_ptr<ZoneClock> ZoneClock::open(const std::string& name) {
  if (name.empty()) return nullptr;
  // libical answers "UTC" (and "GMT") with its own zone; every other name from the zone data.
  icaltimezone* zone = icaltimezone_get_builtin_timezone(name.c_str());
  if (zone == nullptr) return nullptr;
  return std::unique_ptr<ZoneClock>(new ZoneClock(name, zone));
}

WallTime ZoneClock::wallTime(std::int64_t utcSeconds) const {
  const icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(utcSeconds), 0, zone_);
  return WallTime{t.year, t.month, t.day, t.hour, t.minute, t.second};
}

icaltimetype floatingTime(const WallTime& time) {
  icaltimetype t = icaltime_null_time();
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
  icaltimetype t = icaltime_null_date();
  t.year = time.year;
  t.month = time.month;
  t.day = time.day;
  return t;
}

icaltimetype dayAfter(const WallTime& time) {
  icaltimetype t = floatingDate(time);
  icaltime_adjust(&t, 1, 0, 0, 0);
  return t;
}

}  // namespace vessory::calendar
