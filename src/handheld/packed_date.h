#ifndef VESSORY_HANDHELD_PACKED_DATE_H_
#define VESSORY_HANDHELD_PACKED_DATE_H_

#include <cstdint>
#include <optional>
#include <string>

#include "archive/organiser_records.h"

namespace vessory::handheld {

// The handheld's two-byte dates. They carry no zone: they are the day on the handheld's wall
// calendar, and this program keeps them so.

// The day a packed date names, or nothing when it names none: month 0 or above 12, day 0, or a
// day the month does not have. The "no date" value FFFF is the caller's to check first.
std::optional<archive::CalendarDate> unpackDate(std::uint16_t packed);

// Four upper-case hex digits, as messages show a packed value.
std::string packedHex(std::uint16_t value);

// The seconds since 1970 of the wall time `date` `hour`:`minute`, read as if it were UTC -- the
// form in which the calendar and journal runs take a handheld's floating times.
std::int64_t wallSeconds(const archive::CalendarDate& date, int hour, int minute);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_PACKED_DATE_H_
