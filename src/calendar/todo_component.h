#ifndef VESSORY_CALENDAR_TODO_COMPONENT_H_
#define VESSORY_CALENDAR_TODO_COMPONENT_H_

#include <libical/ical.h>

#include <cstdint>
#include <optional>
#include <string>

#include "archive/organiser_records.h"
#include "archive/record_uids.h"
#include "archive/text_converter.h"
#include "calendar/calendar_event.h"
#include "calendar/zone_clock.h"

namespace vessory::calendar {

// What stays the same for every to-do of one list: the user's zone (a due moment is a local
// midnight), the archive's character set, the container's categories and identity, and the
// moment of the export. Borrowed; the caller keeps them alive while to-dos are built.
struct TodoContext {
  const ZoneClock& clock;
  archive::TextConverter& text;
  const archive::OrganiserCatalogue& catalogue;
  icaltimetype stamp;  // DTSTAMP, in UTC
};

// One record as a VTODO, ready for appendComponent: UID, DTSTAMP, SUMMARY (always, empty for a
// to-do without a description, as events are written), DESCRIPTION from the note, DUE as a
// date, PRIORITY on the iCalendar scale, STATUS (and PERCENT-COMPLETE when done), CLASS and
// CATEGORIES; and what a later handheld's task holds: COMPLETED (the completion day at 12:00
// UTC), DTSTART (a date) and RRULE of a repeat as the calendar writes the date book's, with a
// last DESCRIPTION line for a repeat counted from completion, and a VALARM related to the due
// day (none without one). `uid` must be unique within the list: todoUids() hands them out.
Component buildTodo(const archive::TodoRecord& record, const std::string& uid,
                    const TodoContext& context);

// The UIDs of one list's to-dos: "todo-ID-HHHHHHHH@vessory", the record id in decimal and the
// container's identity, with "-2", "-3", ... for further records of an id.
archive::RecordUids todoUids(const archive::OrganiserCatalogue& catalogue);

// The day a to-do is due, or nothing: the handheld's day itself when the record holds one (and
// it is a real day of the calendar), else the local date of the desktop's moment in the clock's
// zone, except for the desktop's "no date" (-1, or any moment whose local date is 2031-12-31 or
// later) and moments too far from today for a calendar date.
std::optional<archive::CalendarDate> dueDay(const archive::TodoRecord& record,
                                            const ZoneClock& clock);

// The iCalendar PRIORITY of the handheld's 1 (highest) to 5: 1, 3, 5, 7, 9; nothing for any
// other value (0 is "none" in both).
std::optional<int> todoPriority(std::int64_t handheldPriority);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_TODO_COMPONENT_H_
