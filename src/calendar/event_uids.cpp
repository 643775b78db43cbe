#include "calendar/event_uids.h"

namespace vessory::calendar {

namespace {

constexpr std::size_t kFirstSize = 1024;  // a power of two, as every size after it

std::size_t slotOf(std::uint32_t key, std::size_t size) {
  // Fibonacci hashing spreads the consecutive ids the desktop hands out.
  const std::uint32_t mixed = key * 2654435769u;
  return static_cast<std::size_t>(mixed) & (size - 1);
}

}  // namespace

std::string EventUids::next(std::int64_t recordId) {
  // Ids are -1 (four FF bytes) or 0 to 4294967294: one four-byte key each.
  const auto key = static_cast<std::uint32_t>(recordId);
  // Appended piece by piece: GCC 12 takes "-" + a temporary for an overlapping copy at -O3.
  std::string uid = "datebook-record-";
  uid += std::to_string(recordId);
  if (!insert(key)) {
    uid += '-';
    uid += std::to_string(++repeats_.try_emplace(key, 1).first->second);
  }
  uid += "@vessory";
  return uid;
}

bool EventUids::insert(std::uint32_t key) {
  if (key == 0) {
    const bool fresh = !zeroSeen_;
    zeroSeen_ = true;
    return fresh;
  }
  if ((used_ + 1) * 4 > slots_.size() * 3) grow();
  for (std::size_t i = slotOf(key, slots_.size());; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == key) return false;
    if (slots_[i] == 0) {
      slots_[i] = key;
      ++used_;
      return true;
    }
  }
}

void EventUids::grow() {
  std::vector<std::uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstSize : old.size() * 2, 0);
  for (std::uint32_t key : old) {
    if (key == 0) continue;
    std::size_t i = slotOf(key, slots_.size());
    while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = key;
  }
}

}  // namespace vessory::calendar
