#ifndef VESSORY_ARCHIVE_RECORD_UIDS_H_
#define VESSORY_ARCHIVE_RECORD_UIDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vessory::archive {

// Hands out the UID of each record of one container, for one export: "KIND-ID-HHHHHHHH@vessory",
// the kind's word ("datebook", "address", "todo"), the record id in decimal and the container's
// identity (archive_identity.h) as eight hex digits. The same record gets the same UID every
// time the same archive is exported, so that a program importing the file again updates what it
// has instead of doubling it; no two containers share one.
//
// Ids are not unique in every archive. A record whose id came before in this export gets its own
// suffix after the identity ("-2" for the second record with that id, "-3" for the third, in
// record order), so that no two items of one file share a UID: calendar servers refuse the
// second, address books show only one. One numbering per output file; records in file order.
class RecordUids {
 public:
  // `kind` is the word before the id, `identity` the eight hex digits.
  RecordUids(std::string_view kind, std::string_view identity);

  std::string next(std::int64_t recordId);

 private:
  std::string kind_;      // "datebook-"
  std::string identity_;  // "-HHHHHHHH"
  // The hash of an integer is the integer itself; the tables' prime bucket counts keep ids that
  // share their low bits (multiples of 65536) apart.
  std::unordered_set<std::uint32_t> seen_;
  std::unordered_map<std::uint32_t, std::int64_t> repeats_;  // ids seen more than once
};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_RECORD_UIDS_H_
