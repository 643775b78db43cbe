#ifndef VESSORY_ARCHIVE_FORMAT_H_
#define VESSORY_ARCHIVE_FORMAT_H_

// Byte layout of a date-book archive, as this program reads it. docs/archive-format.md has the
// long form with examples.
//
// Items:
//   Integer N   N = 1, 2 or 4 bytes, unsigned, least significant byte first. Four FF bytes are
//               the one exception: they read as -1.
//   CString     one length byte L.  L = 0: the empty-string marker (no further byte).
//               L in 1..254: L characters follow.  L = 255: an Integer 2 length M follows; M > 0:
//               M characters follow.  M = 0: an Integer 2 K follows; K = 0 means the five bytes
//               FF 00 00 00 00 are a stray group that is skipped; K != 0 is a sequencing error.
//   Raw N       N characters.
//
// Archive:  tag (Raw 4) | file name (CString) | show-header text (CString) |
//           next free category id (Integer 4) | category count (Integer 4) |
//           category entries | schema block (52 bytes) | entry count (Integer 4) | records
// Category entry:  index, id, name-dirty flag (Integer 4 each) | long name | short name (CString)
// Schema block:    resource id, fields per row, record id position, record status position,
//                  placement position (Integer 4 each) | field count (Integer 2) |
//                  15 field entries (Integer 2 each)
// Record:    15 fields, each a type word (Integer 4) and then its value; fields 6 and 8 carry a
//            zero word (Integer 4) before their CString; field 15 is the repeat block.
// Repeat block: exception count n (Integer 2) | n exception dates (Integer 4) |
//            repeat flag (Integer 2) | when the flag is FFFF: class constant (Integer 2, 1),
//            class-name length L (Integer 2), class name (Raw L) | when the flag is not 0:
//            kind, interval, end date, first day of week (Integer 4 each) and the kind's extras.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vessory::archive {

// The four tag bytes 00 01 'B' 'D'.
inline constexpr std::string_view kArchiveTag{"\x00\x01" "BD", 4};

// What an empty CString reads as: "«NULL»" in ISO 8859-1.
inline constexpr std::string_view kNullStringMarker{"\xAB" "NULL" "\xBB", 6};

inline constexpr unsigned kLongStringMarker = 0xFF;

// Fields per record; the record count is the header's entry count divided by this.
inline constexpr std::int64_t kFieldsPerRecord = 15;
inline constexpr int kSchemaFieldEntries = 15;

inline constexpr std::int64_t kRepeatFlagWithClassEntry = 0xFFFF;
inline constexpr std::int64_t kExpectedClassConstant = 1;

// Repeat kinds that carry extra values after the four common ones.
inline constexpr std::int64_t kRepeatDaily = 1;          // + day index
inline constexpr std::int64_t kRepeatWeekly = 2;         // + day index, days mask (Integer 1)
inline constexpr std::int64_t kRepeatMonthlyByDay = 3;   // + day index, week index
inline constexpr std::int64_t kRepeatMonthlyByDate = 4;  // + day number
inline constexpr std::int64_t kRepeatYearly = 5;         // + day number, month index

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_FORMAT_H_
