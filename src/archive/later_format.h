#ifndef VESSORY_ARCHIVE_LATER_FORMAT_H_
#define VESSORY_ARCHIVE_LATER_FORMAT_H_

// Byte layout of the files that desktop versions 4.1.4 to 4.2 write (the "later layout"), as this
// program reads them. Items as in format.h (Integer N, CString, Raw N); the container is the
// classic one's with another header, and a record's fields follow the schema the file declares.
//
// File:     wrapper (organiser_format.h) | tag (Raw 4: 00 02 and two kind letters) |
//           12 zero bytes | Integer 4 (0x1165 in every file described; not checked) |
//           8 zero bytes | file name (CString) | 43 zero bytes |
//           Integer 4 (said to be the next free category id; not used) |
//           category count (Integer 4) | category entries (as in the classic archives) |
//           schema | entry count (Integer 4) | records
// Schema:   resource id, fields per row, record id column, status column, placement column
//           (Integer 4 each; columns counted from 0) | field count F (Integer 2) | F type codes
//           (Integer 2 each). F equals the fields per row; the entry count is the records times F.
// Record:   one field per column, each a type code (Integer 4) and its value, with the classic
//           codes' sizes (organiser_format.h) and the codes 64 to 67, which hold an Integer 4 of
//           unknown meaning. A field's code is the schema's for its column, except in a column
//           whose schema code is 64 to 67: there a record may carry any code of four bytes.
//
// The date book (tag 00 02 42 44) and the to-do list (00 02 44 54) are read; the columns used
// are below, counted from 0 (the issue and the messages count from 1). Columns 0 to 12 are
// common to every kind; which of them hold the record id, the status and the placement, the
// schema says. Nothing is known of the address book (00 02 42 41) and the memo pad (00 02 50 4D)
// beyond the tag: they are named, not read.

#include <cstdint>
#include <string_view>

namespace vessory::archive {

inline constexpr std::string_view kLaterTagPrefix{"\x00\x02", 2};
inline constexpr std::string_view kLaterDatebookTag{"\x00\x02" "BD", 4};
inline constexpr std::string_view kLaterAddressTag{"\x00\x02" "BA", 4};
inline constexpr std::string_view kLaterMemoTag{"\x00\x02" "PM", 4};

// The zero runs of the header, in file order.
inline constexpr int kZerosAfterTag = 12;
inline constexpr int kZerosBeforeFileName = 8;
inline constexpr int kZerosAfterFileName = 43;

// More categories than the handheld can hold, or an index beyond its range (0 to 255), is no
// layout described.
inline constexpr std::int64_t kMaxLaterCategories = 256;

// The type codes of four unknown bytes.
inline constexpr std::int64_t kTypeUnknown64 = 64;
inline constexpr std::int64_t kTypeUnknown67 = 67;

// The date book's columns.
namespace later_datebook_column {
inline constexpr int kCategory = 5;
inline constexpr int kPrivate = 6;
inline constexpr int kStartTime = 13;
inline constexpr int kEndTime = 14;
inline constexpr int kDescription = 15;
inline constexpr int kNote = 17;
inline constexpr int kUntimed = 18;
inline constexpr int kAlarmSet = 19;
inline constexpr int kAlarmAdvance = 20;
inline constexpr int kAlarmUnit = 21;
inline constexpr int kRepeat = 22;
inline constexpr int kLocation = 23;
inline constexpr int kCount = 24;  // the fewest columns a date book can have
}  // namespace later_datebook_column

// The to-do list's columns.
namespace later_todo_column {
inline constexpr int kCategory = 5;
inline constexpr int kPrivate = 6;
inline constexpr int kDescription = 13;
inline constexpr int kDueDate = 14;
inline constexpr int kCompleted = 15;
inline constexpr int kPriority = 16;
inline constexpr int kNote = 17;
inline constexpr int kRepeatAfterCompletion = 18;
inline constexpr int kCompletionDate = 19;
inline constexpr int kAlarmSet = 20;
inline constexpr int kAlarmTime = 21;
inline constexpr int kAlarmDaysBefore = 22;
inline constexpr int kRepeat = 24;
inline constexpr int kCount = 25;
}  // namespace later_todo_column

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_LATER_FORMAT_H_
