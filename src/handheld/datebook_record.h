#ifndef VESSORY_HANDHELD_DATEBOOK_RECORD_H_
#define VESSORY_HANDHELD_DATEBOOK_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/event_record.h"

namespace vessory::handheld {

// Unpacks the bytes of one date-book record into `out`, which should be a fresh record whose
// id, status, privacy and category the caller sets. Times are the handheld's wall clock, stored
// as seconds since 1970 of that wall time read as UTC; an untimed event is all day from the
// midnight that starts its date. Returns why the record cannot be read whole (a part that runs
// past its end, a text without its NUL, a date that names no day, a time of day out of range,
// a repeat kind above 5); `out` is then unspecified.
std::optional<std::string> unpackEvent(std::span<const unsigned char> bytes,
                                       archive::EventRecord& out);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_DATEBOOK_RECORD_H_
