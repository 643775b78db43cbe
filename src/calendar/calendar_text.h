#ifndef VESSORY_CALENDAR_CALENDAR_TEXT_H_
#define VESSORY_CALENDAR_CALENDAR_TEXT_H_

#include <libical/ical.h>

#include <string>

namespace vessory::calendar {

// The bytes of a calendar file, in three parts so that events can be written as they are read
// and nothing holds the whole date book: the head (BEGIN:VCALENDAR and the calendar's own
// properties), each event, and the tail (END:VCALENDAR). Every line as libical writes it (CR LF
// line ends, escaping, folding at 75 octets without splitting a UTF-8 character), with the two
// mends below.
struct CalendarFrame {
  std::string head;
  std::string tail;
};

// The frame of a calendar made by `productId` ("-//Vessory//Vessory 1.0//EN").
CalendarFrame calendarFrame(const std::string& productId);

// Appends the text of `event` (a VEVENT or VTODO with its alarms, or a VTIMEZONE) to `out`, as
// appendComponentLines writes it, mended: a line's CR LF is never split by a fold, and the
// commas and semicolons inside a category name are escaped.
void appendComponent(icalcomponent* event, std::string& out);

// The product id of the calendars this program writes.
std::string productId();

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_CALENDAR_TEXT_H_
