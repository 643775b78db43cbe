#ifndef VESSORY_CALENDAR_RULE_DAYS_H_
#define VESSORY_CALENDAR_RULE_DAYS_H_

#include <libical/ical.h>

#include <optional>
#include <vector>

#include "archive/event_record.h"
#include "calendar/zone_clock.h"

namespace vessory::calendar {

// The desktop keeps an event's start as an instant, but its repeat's days (Tuesday, the 15th,
// the last Friday) on the clock of the zone it was set on, which the archive does not name. On
// another zone's clock the start can fall a day earlier or later than the rule's days; the
// rule's days then move with it, so that every occurrence keeps the instant of the desktop's.
// These functions are free of state; `repeat` is a repeating record's repeat block, already
// checked by the rule's builder.

// libical's BYDAY value of a weekday (0 Sunday) at a position in the month (0 every one,
// negative from the end).
short byDayValue(int dayIndex, int position);

// The end date's time of day on this clock, which tells whether this is the clock the desktop
// had: it stores the end date as the start of the end day there (and "no end" as the last
// second of 2031), a day's boundary on its own clock and, but for whole days, on no other.
// None without an end.
std::optional<int> endTimeOfDay(const archive::RepeatEvent& repeat, const ZoneClock& clock);
// True unless that time shows another clock (no end date tells nothing).
bool onItsOwnClock(std::optional<int> endTime);

// By how many days (-1, 0 or 1) the rule's days are moved so that the start's day on this
// clock is one of them; 0 when no move makes it one. With an end date that shows another clock
// the end's time of day says how far east this zone is, or else how far west, and so the move
// either way (the nearer zone's first where both fit); on the desktop's own clock it is 0. Without an end date, 0 when the start's day is already one of
// the rule's, else the move that makes it one: where both moves fit (a Wednesday start of a
// Tuesday and Thursday rule), an early start is taken as moved later (this zone east of the
// one it was set on) and a late one as moved earlier.
int ruleDayShift(const archive::RepeatEvent& repeat, const WallTime& start,
                 std::optional<int> endTime);

// Whether the repeat, its days moved by `shift`, falls on `day` (a day of this clock), its
// interval counted from `start`.
bool occursOn(const archive::RepeatEvent& repeat, int shift, const WallTime& start,
              const WallTime& day);

// Sets `rule`'s days (and week start) for the rule's own ones moved by `shift` days; false when
// no rule can say them (the day after the last Friday, the day after the 30th).
bool moveRuleDays(const archive::RepeatEvent& repeat, int shift, icalrecurrencetype& rule);

// The days of a monthly or yearly repeat, each moved by `shift`, from `start` (the start on
// this clock, itself one of them) through `last`, at the start's time of day; as the desktop
// shows them, a day the month lacks on its last day.
std::vector<WallTime> movedDays(const archive::RepeatEvent& repeat, int shift,
                                const WallTime& start, const WallTime& last);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_RULE_DAYS_H_
