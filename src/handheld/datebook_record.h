#ifndef VESSORY_HANDHELD_DATEBOOK_RECORD_H_
#define VESSORY_HANDHELD_DATEBOOK_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/event_record.h"
#include "archive/organiser_records.h"

namespace vessory::handheld {

// Unpacks the bytes of one date-book record into `out`, which should be a fresh record whose
// id, status, privacy and category the caller sets. Times are the handheld's wall clock, stored
// as seconds since 1970 of that wall time read as UTC; an untimed event is all day from the
// midnight that starts its date. Returns why the record cannot be read whole (a part that runs
// past its end, a text without its NUL, a date that names no day, a time of day out of range,
// a repeat kind above 5); `out` is then unspecified.
std::optional<std::string> unpackEvent(std::span<const unsigned char> bytes,
                                       archive::EventRecord& out);

// The same record as a later handheld's Calendar keeps it, up to its last string (`later`): the
// location after the note, any start hour above 23 untimed, an end of 00:00 the
// following midnight (also for a start of 00:00: the whole day). `used` is where the strings end (the blobs' start). With `later`
// false it is unpackEvent.
std::optional<std::string> unpackEventParts(std::span<const unsigned char> bytes, bool later,
                                            archive::EventRecord& out, std::size_t& used);

// The date book's 8-byte repeat block into `repeat`, for a repeat that starts on `first`.
// Returns why it cannot be read (too short, kind above 5, an end date that names no day).
std::optional<std::string> unpackRepeat(std::span<const unsigned char> part,
                                        const archive::CalendarDate& first,
                                        archive::RepeatEvent& repeat);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_DATEBOOK_RECORD_H_
