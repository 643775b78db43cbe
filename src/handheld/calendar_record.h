#ifndef VESSORY_HANDHELD_CALENDAR_RECORD_H_
#define VESSORY_HANDHELD_CALENDAR_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/event_record.h"
#include "handheld/blob_reader.h"

namespace vessory::handheld {

// Unpacks one record of a later handheld's Calendar into `out` (a fresh record; the caller sets
// its id, status, privacy and category): the date book's part as unpackEventParts reads it,
// then the blobs: the zone (Bd00) and the meeting (Bd01); others are skipped. A blob of the two
// whose content does not hold together is skipped and noted in `remarks`, as are bytes that
// are no whole blob. Returns why the record cannot be read whole; `out` is then unspecified.
std::optional<std::string> unpackCalendarEvent(std::span<const unsigned char> bytes,
                                               archive::EventRecord& out,
                                               RecordRemarks& remarks);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_CALENDAR_RECORD_H_
