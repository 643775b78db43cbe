#ifndef VESSORY_CALENDAR_MEETING_PROPERTIES_H_
#define VESSORY_CALENDAR_MEETING_PROPERTIES_H_

#include <libical/ical.h>

#include <string>

#include "archive/event_record.h"
#include "archive/text_converter.h"

namespace vessory::calendar {

// A later handheld's meeting in an event. Text is the record's bytes, converted by `text`.

// Adds ORGANIZER (the first organiser with an e-mail address), an ATTENDEE for every other
// attendee with one (ROLE=REQ-PARTICIPANT or OPT-PARTICIPANT; CHAIR for a further organiser),
// each with CN when it has a name; STATUS:CANCELLED or TENTATIVE for those statuses, and
// TRANSP:TRANSPARENT when it shows as free.
void addMeeting(const archive::Meeting& meeting, archive::TextConverter& text,
                icalcomponent* event);

// Appends to `description` a last line "Attendees: A, B" naming those without an e-mail
// address (no line when there are none).
void appendUnmailedAttendees(const archive::Meeting& meeting, archive::TextConverter& text,
                             std::string& description);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_MEETING_PROPERTIES_H_
