#ifndef VESSORY_CALENDAR_CALENDAR_EVENT_H_
#define VESSORY_CALENDAR_CALENDAR_EVENT_H_

#include <libical/ical.h>

#include <memory>
#include <optional>
#include <string>

#include "archive/archive_header.h"
#include "archive/event_record.h"
#include "archive/text_converter.h"
#include "calendar/ical_library.h"
#include "calendar/repeat_rule.h"
#include "calendar/zone_clock.h"
#include "calendar/zone_rules.h"

namespace vessory::calendar {

struct ComponentFree {
  void operator()(icalcomponent* component) const { ical().icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// What stays the same for every event of one calendar: the zone, the archive's character set,
// the header's categories and the moment of the export. Borrowed; the caller keeps them alive
// while events are built.
struct EventContext {
  const ZoneClock& clock;
  archive::TextConverter& text;
  const archive::DatebookHeader& header;
  icaltimetype stamp;  // DTSTAMP, in UTC
  // Where the zones of a later handheld's events are registered; null when no event has one.
  ZoneTable* zones = nullptr;
};

// One record as a VEVENT (with LOCATION where the record has one), with what the export counts
// and reports about it.
struct CalendarEvent {
  Component component;
  bool repeating = false;  // written with a repeat rule
  bool allDay = false;
  // Set when the record repeats in a way no rule can say; the event is then written once.
  std::optional<RepeatProblem> repeatProblem;
  // Days (-1, 0, 1) the repeat's days were moved to fall with the start on the export's clock,
  // which is then not the one it was set on; `ruleListed` when no rule can say the moved days
  // and they are written as RDATEs.
  int ruleDayShift = 0;
  bool ruleListed = false;
  // The repeat was set on another clock than the export's (its days moved, or its end date
  // shows it); its end and exceptions are then taken as instants.
  bool ruleOtherClock = false;
  // Set when the record asks for an alarm in a unit other than minutes, hours or days; the
  // event is then written without one.
  std::optional<std::int64_t> unknownAlarmUnit;
};

// Builds the event of `record` (with its location, zone and meeting when it has them: times in
// a zone carry its TZID, from context.zones, and UNTIL is then in UTC; an event with exception
// or extra days in a zone that keeps UTC's offset all year is written in UTC, without one),
// which must hold only what its own archive record carried (a record read into a fresh
// EventRecord): a reused record would lend this event an earlier record's repeat values and
// exception dates. `uid` must be unique within the calendar.
CalendarEvent buildEvent(const archive::EventRecord& record, const std::string& uid,
                         const EventContext& context);

// The long name of the header category whose index is `category`; nothing for 0 or an index
// the header does not list.
const std::string* categoryName(const archive::DatebookHeader& header, std::int64_t category);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_CALENDAR_EVENT_H_
