#ifndef VESSORY_HANDHELD_TASKS_RECORD_H_
#define VESSORY_HANDHELD_TASKS_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/organiser_records.h"
#include "handheld/blob_reader.h"

namespace vessory::handheld {

// Unpacks one record of a later handheld's Tasks into `out` (a fresh record; the caller sets
// its basics): the parts the data flags announce (due date, completion date, alarm, repeat),
// the record flags (completed, repeats after completion), the priority, then exactly two
// strings; bytes after them are noted in `remarks`. A present date of FFFF is none. Returns why
// the record cannot be read whole (a part that runs past the end, a date that names no day, a
// repeat kind above 5, a string without its NUL).
std::optional<std::string> unpackTask(std::span<const unsigned char> bytes,
                                      archive::TodoRecord& out, RecordRemarks& remarks);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_TASKS_RECORD_H_
