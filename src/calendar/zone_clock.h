#ifndef VESSORY_CALENDAR_ZONE_CLOCK_H_
#define VESSORY_CALENDAR_ZONE_CLOCK_H_

#include <libical/ical.h>

#include <cstdint>
#include <memory>
#include <string>

namespace vessory::calendar {

// A calendar date and a wall-clock time, with no zone attached.
struct WallTime {
  int year = 1970;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool sameDateAs(const WallTime& other) const {
    return year == other.year && month == other.month && day == other.day;
  }
  bool dateBefore(const WallTime& other) const;
  int secondOfDay() const { return (hour * 60 + minute) * 60 + second; }
};

// Turns the archive's times (seconds since 1970, UTC) into the wall time of one IANA zone, with
// daylight saving as the zone had it on that day. The handheld kept its events in wall time, so
// that is what the calendar is given: floating times, a 9:00 meeting at 9:00 wherever it is
// opened. The zone data belongs to libical, which keeps it for the life of the process; a clock
// is cheap to copy.
class ZoneClock {
 public:
  // The clock of `name` ("Europe/Berlin", "UTC"), or nothing when libical has no such zone or
  // cannot be loaded; refusal(name) then says which.
  static std::unique_ptr<ZoneClock> open(const std::string& name);
  static std::string refusal(const std::string& name);

  const std::string& name() const { return name_; }
  WallTime wallTime(std::int64_t utcSeconds) const;
  // Seconds the zone's clock was ahead of UTC at that moment (negative west of Greenwich).
  std::int64_t utcOffset(std::int64_t utcSeconds) const;

 private:
  ZoneClock(std::string name, icaltimezone* zone) : name_(std::move(name)), zone_(zone) {}

  std::string name_;
  icaltimezone* zone_;
};

// libical values of a wall time: a floating date-time, or a date.
icaltimetype floatingTime(const WallTime& time);
icaltimetype floatingDate(const WallTime& time);
// The day after `time`'s date.
icaltimetype dayAfter(const WallTime& time);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_ZONE_CLOCK_H_
