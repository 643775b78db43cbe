#ifndef VESSORY_TESTS_CALENDAR_DATEBOOK_RULES_H_
#define VESSORY_TESTS_CALENDAR_DATEBOOK_RULES_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "calendar/civil_days.h"

namespace vessory::testing {

// A date book repeat, in the date book's own terms, with every date already on the local
// calendar.
struct DatebookRule {
  int kind = 1;  // 1 daily, 2 weekly, 3 monthly by day, 4 monthly by date, 5 yearly
  int interval = 1;
  std::optional<Civil> lastDay;  // inclusive; none: no end
  int firstDayOfWeek = 0;        // 0 Sunday
  int daysMask = 0;              // bit 0 Sunday
  int dayIndex = 0;              // 0 Sunday
  int weekIndex = 0;             // 0..3 the first to fourth, 4 the last
  int dayNumber = 1;
  int monthIndex = 0;  // 0 January
  std::vector<Civil> exceptions;
};

// The days from `start` to `windowEnd` (both inclusive) on which the date book shows the event,
// decided one day at a time by what the desktop's repeat dialog says of each kind. A repeat by
// date falls on the last day of a month too short for its day (29 February on 28 February).
std::vector<Civil> datebookDays(const DatebookRule& rule, const Civil& start,
                                const Civil& windowEnd);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_CALENDAR_DATEBOOK_RULES_H_
