#include "handheld/blob_reader.h"

#include "handheld/byte_cursor.h"
#include "handheld/later_format.h"

namespace vessory::handheld {

std::vector<Blob> readBlobs(std::span<const unsigned char> tail, RecordRemarks& remarks) {
  std::vector<Blob> blobs;
  std::size_t at = 0;
  while (at < tail.size()) {
    const std::size_t left = tail.size() - at;
    const std::uint32_t size = bigEndianAt(tail, at + 4, 2).value_or(0);
    if (left < kBlobHeaderSize || left - kBlobHeaderSize < size) {
      remarks.junkTail = true;
      break;
    }
    const auto* id = reinterpret_cast<const char*>(tail.data() + at);
    blobs.push_back(Blob{std::string_view(id, 4), tail.subspan(at + kBlobHeaderSize, size)});
    at += kBlobHeaderSize + size;
  }
  return blobs;
}

}  // namespace vessory::handheld
