#ifndef VESSORY_HANDHELD_HANDHELD_FORMAT_H_
#define VESSORY_HANDHELD_HANDHELD_FORMAT_H_

// Byte layout of the handheld's own databases (DatebookDB, AddressDB, ToDoDB, MemoDB), as this
// program reads them. Every number is big-endian. Offsets are from the start of the file, or of
// the block they belong to.
//
// Header (78 bytes):
//   0 name (32, NUL-terminated; bytes after the NUL are left-overs) | 32 attributes (2) |
//   34 version (2) | 36 creation time (4) | 40 modification time (4) | 44 backup time (4) |
//   48 modification number (4) | 52 app-info offset (4, 0 = none) | 56 sort-info offset (4) |
//   60 type (4 characters) | 64 creator (4 characters) | 68 unique-id seed (4) |
//   72 next record list (4, 0 when there is none) | 76 record count n (2)
// Record list: n entries of 8 bytes: data offset (4) | attribute byte | unique id (3).
//   A record runs from its offset to the next record's, the last one to the end of the file.
//   Attribute byte: 0x80 deleted, 0x40 dirty, 0x20 busy, 0x10 secret, low nibble the category
//   index; with 0x80 or 0x20 set the low nibble is no category and 0x08 there means archived.
// App-info: runs from its offset to the sort-info block, else the first record, else the end.
//   0 renamed bits (2) | 2 sixteen category labels (16 bytes each, NUL-terminated) |
//   258 sixteen category ids (1 each) | 274 last id (1) | 275 pad | 276 reserved (2) |
//   278 the application's own fields.
// Packed date (2): bits 15-9 years since 1904, 8-5 month, 4-0 day; FFFF = no date.
// Time of day (2): hour byte, minute byte; FF FF = no time.
//
// Date book record: start time (2) | end time (2) | date (2) | flags (2) | alarm (2: signed
//   advance, unit 0 minutes 1 hours 2 days) if flagged | repeat (8: kind, pad, end date (2),
//   frequency, "on" byte, start of week, pad) if flagged | exceptions (count (2), count dates)
//   if flagged | description (NUL-terminated) if flagged | note (NUL-terminated) if flagged.
// Address record: phone label codes (4, a nibble per phone from bit 0) | presence bits (4,
//   bit i = field i stored) | company offset (1) | the stored fields in order, NUL-terminated.
//   Fields: 0 last name, 1 first name, 2 company, 3-7 phones 1-5, 8 address, 9 city, 10 state,
//   11 zip code, 12 country, 13 title, 14-17 custom 1-4, 18 note.
// To-do record: due date (2) | priority (bits 0-6) and completed (bit 7) (1) |
//   description (NUL-terminated) | note (NUL-terminated).
// Memo record: the text, NUL-terminated.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vessory::handheld {

// Header.
inline constexpr std::size_t kHeaderSize = 78;
inline constexpr std::size_t kNameOffset = 0;
inline constexpr std::size_t kNameSize = 32;
inline constexpr std::size_t kAttributesOffset = 32;
// In the attributes' second (low) byte: the file holds resources (an application), not records.
inline constexpr unsigned kResourceDatabaseBit = 0x01;
inline constexpr std::size_t kCreationTimeOffset = 36;
inline constexpr std::size_t kAppInfoOffsetField = 52;
inline constexpr std::size_t kSortInfoOffsetField = 56;
inline constexpr std::size_t kTypeOffset = 60;
inline constexpr std::size_t kCreatorOffset = 64;
inline constexpr std::size_t kFourCharSize = 4;
inline constexpr std::size_t kNextListOffset = 72;
inline constexpr std::size_t kRecordCountOffset = 76;

// The handheld keeps no block (app-info, sort-info or record) larger than 64 KiB.
inline constexpr std::size_t kMaxBlockSize = std::size_t{64} * 1024;

// Record list.
inline constexpr std::size_t kRecordEntrySize = 8;
inline constexpr std::size_t kEntryAttributeOffset = 4;
inline constexpr std::size_t kEntryUniqueIdOffset = 5;

inline constexpr unsigned kAttrDeleted = 0x80;
inline constexpr unsigned kAttrBusy = 0x20;
inline constexpr unsigned kAttrSecret = 0x10;
inline constexpr unsigned kAttrArchived = 0x08;  // only with deleted or busy
inline constexpr unsigned kAttrCategoryMask = 0x0F;

// Types and creators.
inline constexpr std::string_view kDataType = "DATA";
inline constexpr std::string_view kDatebookCreator = "date";
inline constexpr std::string_view kAddressCreator = "addr";
inline constexpr std::string_view kTodoCreator = "todo";
inline constexpr std::string_view kMemoCreator = "memo";
// The applications that replaced the four on later handhelds (see later_format.h).
inline constexpr std::string_view kLaterCalendarCreator = "PDat";
inline constexpr std::string_view kLaterContactsCreator = "PAdd";
inline constexpr std::string_view kLaterTasksCreator = "PTod";
inline constexpr std::string_view kLaterMemosCreator = "PMem";

// App-info.
inline constexpr std::size_t kCategoryCount = 16;
inline constexpr std::size_t kCategoryLabelsOffset = 2;
inline constexpr std::size_t kLabelSize = 16;
inline constexpr std::size_t kAppFieldsOffset = 278;
// The smallest app-info each application writes.
inline constexpr std::size_t kDatebookAppInfoSize = 280;
inline constexpr std::size_t kAddressAppInfoSize = 638;
inline constexpr std::size_t kTodoAppInfoSize = 282;
inline constexpr std::size_t kMemoAppInfoSize = 282;
// Address book: 22 field labels from 282; labels 14-17 name the custom fields.
inline constexpr std::size_t kAddressLabelsOffset = 282;
inline constexpr std::size_t kFirstCustomLabel = 14;

// Packed values.
inline constexpr std::uint16_t kNoDate = 0xFFFF;
inline constexpr std::uint16_t kNoTime = 0xFFFF;
inline constexpr int kPackedYearBase = 1904;

// Date book record.
inline constexpr std::size_t kEventFixedSize = 8;
inline constexpr std::uint16_t kEventHasAlarm = 0x4000;
inline constexpr std::uint16_t kEventHasRepeat = 0x2000;
inline constexpr std::uint16_t kEventHasNote = 0x1000;
inline constexpr std::uint16_t kEventHasExceptions = 0x0800;
inline constexpr std::uint16_t kEventHasDescription = 0x0400;
inline constexpr std::size_t kAlarmSize = 2;
inline constexpr std::size_t kRepeatSize = 8;
inline constexpr std::int8_t kNoAlarm = -1;
inline constexpr unsigned kRepeatNone = 0;
inline constexpr unsigned kRepeatDaily = 1;
inline constexpr unsigned kRepeatWeekly = 2;
inline constexpr unsigned kRepeatMonthlyByDay = 3;
inline constexpr unsigned kRepeatMonthlyByDate = 4;
inline constexpr unsigned kRepeatYearly = 5;
inline constexpr unsigned kDaysInWeek = 7;

// Address record.
inline constexpr std::size_t kAddressFixedSize = 9;
inline constexpr int kAddressFieldCount = 19;
inline constexpr int kPhoneLabelBits = 4;
inline constexpr int kFirstPhoneField = 3;
inline constexpr char kReadingSeparator = '\x01';

// To-do record.
inline constexpr std::size_t kTodoFixedSize = 3;
inline constexpr unsigned kTodoCompleted = 0x80;
inline constexpr unsigned kTodoPriorityMask = 0x7F;

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_HANDHELD_FORMAT_H_
