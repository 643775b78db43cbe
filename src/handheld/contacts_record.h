#ifndef VESSORY_HANDHELD_CONTACTS_RECORD_H_
#define VESSORY_HANDHELD_CONTACTS_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/organiser_records.h"
#include "handheld/blob_reader.h"

namespace vessory::handheld {

// Unpacks one record of a later handheld's Contacts into `out` (a fresh record; the caller sets
// its basics). Fields are found by the presence bits alone (the company offset is not trusted),
// the reserved bits of the label words are masked, names split from their readings as in the
// address book; then the birthday and the blobs: the picture (Bd00, only a JPEG) and the
// anniversary (Bd01, only a real day); others are skipped. Returns why the record cannot be
// read whole (a promised text or date missing, a birthday that names no day).
std::optional<std::string> unpackLaterContact(std::span<const unsigned char> bytes,
                                              archive::ContactRecord& out,
                                              RecordRemarks& remarks);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_CONTACTS_RECORD_H_
