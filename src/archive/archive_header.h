#ifndef VESSORY_ARCHIVE_ARCHIVE_HEADER_H_
#define VESSORY_ARCHIVE_ARCHIVE_HEADER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_reader.h"

namespace vessory::archive {

// Receives the header's diagnostic lines, in file order. The base class discards them; tests
// (and anyone debugging an odd archive) subclass it to keep them.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void trace(const std::string& line) { (void)line; }
  // False lets the header reader skip building lines nobody reads.
  virtual bool wantsLines() const { return false; }
};

// What an export keeps of the archive header.
struct DatebookHeader {
  // The file name the desktop stored, as read: its path on the desktop, such as
  // C:\Palm\SmithJ\datebook\datebook.dat. It tells one archive's records from another's
  // (archive_identity.h).
  std::string storedFileName;
  // As read: -1 for four FF bytes, up to 4294967294 otherwise. No entries are read when <= 0.
  std::int64_t categoryCount = 0;
  // Long names of the category entries in the order read (the first entry is element 0).
  // Only as many as the archive actually holds, however large the count claims to be.
  std::vector<std::string> categoryLongNames;
  // The index each of those entries carries, as read; a record's category refers to it.
  std::vector<std::int64_t> categoryIndexes;
  // As read; 0 when the archive ended before it.
  std::int64_t entryCount = 0;
  // entryCount / 15, truncated toward zero.
  std::int64_t recordCount = 0;
};

// Reads the four tag bytes and tells whether they are 00 01 'B' 'D'.
bool checkArchiveTag(ArchiveReader& reader);

// Reads the header after the tag, tracing every value, and leaves the reader on the first
// record. Stops early (with the counts read so far) when the archive ends or the reader halts.
DatebookHeader readArchiveHeader(ArchiveReader& reader, TraceSink& trace);

// A number as trace lines show it: one leading blank unless negative.
std::string traceNumber(std::int64_t value);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ARCHIVE_HEADER_H_
