#ifndef VESSORY_CALENDAR_REPEAT_RULE_H_
#define VESSORY_CALENDAR_REPEAT_RULE_H_

#include <libical/ical.h>

#include <optional>
#include <string>
#include <vector>

#include "archive/event_record.h"
#include "calendar/zone_clock.h"

namespace vessory::calendar {

// The repeat rule of one record, as RFC 5545 says it. The date book's rules map one to one:
//   kind 1 daily           FREQ=DAILY
//   kind 2 weekly          FREQ=WEEKLY;BYDAY=<days mask, bit 0 Sunday>;WKST=<first day of week>
//   kind 3 monthly by day  FREQ=MONTHLY;BYDAY=<1..4, or -1 for week index 4><day index>
//   kind 4 monthly by date FREQ=MONTHLY;BYMONTHDAY=<day number, -1 for the 31st>
//   kind 5 yearly          FREQ=YEARLY;BYMONTH=<month index + 1>;BYMONTHDAY=<day number, -1 for
//                          29 February>
// with INTERVAL when the record's interval is above 1, and UNTIL on the end date's local day
// (inclusive) unless the end date is -1 or on or after the desktop's "no end" day.
//
// The date book shows a repeat by date on the last day of a month too short for its day (and
// 29 February on 28 February in common years), where RFC 5545 skips the month. The 31st and
// 29 February are therefore the month's last day (-1); the 29th and 30th keep their number, and
// the short months of the rule (February) get an RDATE each, through the end day or the last day
// the archive can hold.
struct RepeatRule {
  icalrecurrencetype rule;
  // The RDATEs, with the start's time of day.
  std::vector<WallTime> extraDays;
  // The local day of UNTIL, the last day an occurrence may fall on; none without an end.
  std::optional<WallTime> lastDay;
  // By how many days (-1, 0, 1) the rule's days were moved to fall with the start on this
  // clock: the desktop keeps them on the clock of the zone the event was set on.
  int dayShift = 0;
  // The end date (or the moved days) show a clock other than this one: the end is taken as the
  // instant the desktop keeps, and each exception names the occurrence within a day of it.
  bool otherClock = false;
  // No rule says the moved days: the event is its start and the RDATEs of extraDays, all of its
  // days through the repeat's end (or the last day the desktop can hold, moved as well).
  bool listed = false;
};

// Why a record's repeat could not be written as a rule; the event is then written once.
struct RepeatProblem {
  std::string what;  // "repeat kind 9", "week index 7", ...
};

// The rule for `repeat` (a repeating record's own repeat block), or the problem that keeps it
// from being one. `start` is the event's first wall time; `allDay` makes UNTIL a date;
// `followStart` moves the rule's days with the start where it falls on another day of this
// clock than on the desktop's (rule_days.h), and its end with them.
struct RepeatResult {
  std::optional<RepeatRule> rule;
  std::optional<RepeatProblem> problem;
};
RepeatResult buildRepeatRule(const archive::RepeatEvent& repeat, const WallTime& start,
                             const ZoneClock& clock, bool allDay, bool followStart = false);

// The first local day the desktop takes as "no end": 2031-12-31 (it writes 1956542399, the
// last second of that day in UTC, for a repeat without an end).
inline constexpr WallTime kNoEndDay{2031, 12, 31, 0, 0, 0};

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_REPEAT_RULE_H_
