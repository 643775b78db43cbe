#ifndef VESSORY_CALENDAR_ZONE_RULES_H_
#define VESSORY_CALENDAR_ZONE_RULES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/event_record.h"
#include "archive/text_converter.h"
#include "calendar/zone_clock.h"

namespace vessory::calendar {

// The time zones a later handheld's Calendar gives its events, as the calendar file names them:
// one VTIMEZONE per distinct zone, built from the zone's own rules (STANDARD at the offset and,
// with daylight saving, DAYLIGHT at the offset plus the adjustment, each repeating yearly on the
// month, weekday and week the zone gives, at the hour the wall clock shows before the change).
// The TZID is the zone's name, or the name with " (2)", " (3)" ... when zones of one name have
// other rules; a zone without a name is named after its offset ("UTC+01:00").
//
// One table serves one calendar: zones are registered as events name them, and each zone's
// VTIMEZONE is written before the first event that names it (readers in wide use bind a TZID
// only to a zone they have already read), so that events can be written as they are read. It
// borrows the converter, which must outlive it.
class ZoneTable {
 public:
  explicit ZoneTable(archive::TextConverter& text) : text_(text) {}

  // The TZID of `zone`, registered on first use.
  const std::string& tzid(const archive::EventZone& zone);
  // Appends the VTIMEZONE of every zone registered since the last call, in the order they were
  // first named: called before each event is written, it writes each zone once, just before
  // the first event that names it.
  void appendNewTimezones(std::string& out);

 private:
  struct Entry {
    archive::EventZone zone;
    std::string tzid;
  };
  archive::TextConverter& text_;
  std::vector<Entry> zones_;
  std::size_t written_ = 0;  // the zones whose VTIMEZONE has been appended
};

// The zone's offset from UTC in minutes at the wall time `time` of that zone, daylight saving
// included (a wall time that the change skips or shows twice is taken as daylight time).
std::int64_t offsetAt(const archive::EventZone& zone, const WallTime& time);

// The UTC moment of the wall time `time` of `zone`, as a libical UTC date-time.
icaltimetype utcOf(const archive::EventZone& zone, const WallTime& time);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_ZONE_RULES_H_
