#include "archive/record_uids.h"

namespace vessory::archive {

RecordUids::RecordUids(std::string_view kind, std::string_view identity) {
  kind_.assign(kind);
  kind_ += '-';
  identity_ = '-';
  identity_.append(identity);
}

std::string RecordUids::next(std::int64_t recordId) {
  // Ids are -1 (four FF bytes) or 0 to 4294967294: one four-byte key each.
  const auto key = static_cast<std::uint32_t>(recordId);
  // Appended piece by piece: GCC 12 takes "-" + a temporary for an overlapping copy at -O3.
  std::string uid = kind_;
  uid += std::to_string(recordId);
  uid += identity_;
  if (!seen_.insert(key).second) {
    uid += '-';
    uid += std::to_string(++repeats_.try_emplace(key, 1).first->second);
  }
  uid += "@vessory";
  return uid;
}

}  // namespace vessory::archive
