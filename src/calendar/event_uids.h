#ifndef VESSORY_CALENDAR_EVENT_UIDS_H_
#define VESSORY_CALENDAR_EVENT_UIDS_H_

#include <cstdint>

#include "archive/archive_identity.h"
#include "archive/record_uids.h"

namespace vessory::calendar {

// The UIDs of one date book's events: "datebook-ID-HHHHHHHH@vessory", HHHHHHHH the archive's
// identity (archive::desktopArchiveIdentity); a record whose id came before gets "-2", "-3", ...
// after the identity (archive::RecordUids).
class EventUids : public archive::RecordUids {
 public:
  explicit EventUids(std::uint32_t archiveIdentity)
      : RecordUids("datebook", archive::identityHex(archiveIdentity)) {}
};

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_EVENT_UIDS_H_
