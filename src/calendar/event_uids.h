#ifndef VESSORY_CALENDAR_EVENT_UIDS_H_
#define VESSORY_CALENDAR_EVENT_UIDS_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace vessory::calendar {

// Hands out the UID of each event of one archive: the same for the same record every time the
// same archive is exported, so that a calendar program importing the file again updates its
// events instead of doubling them, and different from every UID of another archive, so that two
// date books imported into one calendar never replace each other's events.
//
// "datebook-ID-HHHHHHHH@vessory": the record id, then the archive's identity as eight hex
// digits (archive::desktopArchiveIdentity). A record whose id came before gets its own suffix
// after the identity ("-2" for the second record with that id, and so on).
class EventUids {
 public:
  explicit EventUids(std::uint32_t archiveIdentity);

  std::string next(std::int64_t recordId);

 private:
  std::string identity_;  // "-HHHHHHHH"
  // The hash of an integer is the integer itself; the tables' prime bucket counts keep ids that
  // share their low bits (multiples of 65536) apart.
  std::unordered_set<std::uint32_t> seen_;
  std::unordered_map<std::uint32_t, std::int64_t> repeats_;  // ids seen more than once
};

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_EVENT_UIDS_H_
