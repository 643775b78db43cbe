#ifndef VESSORY_CALENDAR_COMPONENT_LINES_H_
#define VESSORY_CALENDAR_COMPONENT_LINES_H_

#include <libical/ical.h>

#include <string>

namespace vessory::calendar {

// Appends to `out` the text of `component` (with its sub-components) exactly as
// icalcomponent_as_ical_string_r writes it: the same lines, escapes, VALUE parameters and folds.
//
// Why not let libical write it: for every line libical zeroes a buffer of 1 KiB, formats its
// numbers through printf and folds into a second buffer, which is most of the time a list of
// many thousand to-dos takes. Here the lines go straight into `out`. The component stays
// libical's: it is built, checked and owned there, and its parameters, repeat rules, durations,
// offsets, addresses and enumerations are still written by libical's own functions. Only the
// properties whose values are text, integers, dates and date-times, whose names and default
// value types are listed in the .cpp, are written here; any other property, one with a VALUE
// parameter and any value out of the range of the plain layout go to libical whole.
//
// The component is only read, but its property and component iterators are moved: it must not
// be iterated elsewhere at the same time.
void appendComponentLines(icalcomponent* component, std::string& out);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_COMPONENT_LINES_H_
