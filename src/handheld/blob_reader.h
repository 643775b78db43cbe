#ifndef VESSORY_HANDHELD_BLOB_READER_H_
#define VESSORY_HANDHELD_BLOB_READER_H_

#include <span>
#include <string_view>
#include <vector>

namespace vessory::handheld {

// What reading one record of a later handheld's database noticed besides the record itself:
// the record is still exported, and the database's reader counts these for one message each.
struct RecordRemarks {
  bool junkTail = false;  // bytes after the last field that are no whole blob
  bool badBlob = false;   // a blob of the application's own whose content cannot be read
};

// One blob: its four-character id and its content, borrowed from the record's bytes.
struct Blob {
  std::string_view id;
  std::span<const unsigned char> content;
};

// The blobs that tile `tail` (the bytes after a record's last field), in order. Where the rest
// is no whole blob (fewer bytes than a header, or a size that runs past the end) reading stops
// and `junkTail` is set: an interrupted edit leaves such bytes.
std::vector<Blob> readBlobs(std::span<const unsigned char> tail, RecordRemarks& remarks);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_BLOB_READER_H_
