#ifndef VESSORY_CALENDAR_CALENDAR_TEXT_H_
#define VESSORY_CALENDAR_CALENDAR_TEXT_H_

#include <libical/ical.h>

#include <string>

namespace vessory::calendar {

// The bytes of a calendar file, in three parts so that events can be written as they are read
// and nothing holds the whole date book: the head (BEGIN:VCALENDAR and the calendar's own
// properties), each event, and the tail (END:VCALENDAR). libical writes every line: CR LF line
// ends, escaping, folding at 75 octets without splitting a UTF-8 character.
struct CalendarFrame {
  std::string head;
  std::string tail;
};

// The frame of a calendar made by `productId` ("-//Vessory//Vessory 1.0//EN").
CalendarFrame calendarFrame(const std::string& productId);

// Appends the text of `event` (a VEVENT with its alarms) to `out`.
void appendComponent(icalcomponent* event, std::string& out);

// The product id of the calendars this program writes.
std::string productId();

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_CALENDAR_TEXT_H_
