#ifndef VESSORY_CALENDAR_EVENT_UIDS_H_
#define VESSORY_CALENDAR_EVENT_UIDS_H_

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vessory::calendar {

// Hands out the UID of each event: the same for the same record every time the same archive is
// exported, so that a calendar program importing the file again updates its events instead of
// doubling them. Built from the record id; a record whose id came before gets its own suffix
// ("-2" for the second record with that id, and so on).
//
// A date book may hold hundreds of thousands of records, so the ids seen are kept in an
// open-addressed table of four-byte slots (a few bytes a record) rather than a node-based set.
class EventUids {
 public:
  std::string next(std::int64_t recordId);

 private:
  // True when `key` was not in the table; puts it there.
  bool insert(std::uint32_t key);
  void grow();

  std::vector<std::uint32_t> slots_;  // 0 is an empty slot; key 0 is kept in zeroSeen_
  std::size_t used_ = 0;
  bool zeroSeen_ = false;
  std::unordered_map<std::uint32_t, std::int64_t> repeats_;  // ids seen more than once
};

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_EVENT_UIDS_H_
