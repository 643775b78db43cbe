#ifndef VESSORY_HANDHELD_LATER_FORMAT_H_
#define VESSORY_HANDHELD_LATER_FORMAT_H_

// Byte layout of the later handhelds' four databases (CalendarDB-PDat, ContactsDB-PAdd,
// TasksDB-PTod, MemosDB-PMem), on top of handheld_format.h: the same container, header version
// 1, type DATA. Every number is big-endian.
//
// App-info: the 276-byte category block, 2 colour-edited bits, 16 colour bytes, 2 reserved
//   (296 bytes), then the application's fields: Calendar start of week (1) and a pad: 298 bytes;
//   Tasks dirty word (2), sort order, pad: 300; Memos reserved (2), sort order, pad: 300;
//   Contacts two label-changed words (8) from 296, then L field labels of 16 bytes from 304
//   (L 49: 1092 bytes, L 53: 1156), country, pad, misc. Labels 14-22 name custom fields 1-9.
// Blobs (Calendar, Contacts): after the record's last field, to its end: id (4 characters) |
//   content size n (2) | n bytes. Bytes that are no whole blob are what an interrupted edit
//   leaves; they are not read.
//
// Calendar record: the date book's record (see handheld_format.h), the flags masked with 0xFE00,
//   then a location (NUL-terminated) if flag 0x0200, then blobs:
//   Bd00 zone: offset (2, signed minutes) | daylight start: hour, weekday, week, month |
//     daylight end, the same | adjustment (2, signed minutes) | country | flags | name + NUL.
//   Bd01 meeting: status | show as | attendee count (2) | per attendee: role, name + NUL,
//     e-mail + NUL.
// Contacts record: phone labels (4, a nibble each, phone 1 in bits 0-3; bits 28-31 the shown
//   phone) | address labels (2, a nibble each; bits 12-15 reserved) | IM labels (2, a nibble
//   each; bits 8-15 reserved) | field bits (4: fields 0-27) | field bits (4: fields 28-38 in bits
//   0-10, then 11 birthday, 12 birthday flags, 13 reminder days) | company offset (1, ignored) |
//   the present fields, NUL-terminated | birthday (2) | birthday flags (2) | reminder days (1) |
//   blobs: Bd00 picture: a word (2), then the JPEG; Bd01 anniversary (2) and more.
//   Fields: 0 last name, 1 first name, 2 company, 3 title, 4-10 phones 1-7, 11-12 IM 1-2,
//   13 web site, 14-22 custom 1-9, 23-27 address 1 (street, city, state, zip, country),
//   28-32 address 2, 33-37 address 3, 38 note.
// Tasks record: data flags (2: 0x8000 due, 0x4000 completion, 0x2000 alarm, 0x1000 repeat) |
//   record flags (2: 0x0001 completed, 0x0002 repeats after completion) | priority (2) |
//   due date (2) | completion date (2) | alarm: hour, minute, days before (2) | repeat: start
//   date (2) and the date book's 8-byte block | description + NUL | note + NUL.
// Memos record: the text + NUL, as the memo pad's.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vessory::handheld {

inline constexpr std::uint16_t kLaterVersion = 1;
inline constexpr std::size_t kVersionOffset = 34;

// Database names of the four, which their creators share with other databases.
inline constexpr std::string_view kLaterCalendarName = "CalendarDB-PDat";
inline constexpr std::string_view kLaterContactsName = "ContactsDB-PAdd";
inline constexpr std::string_view kLaterTasksName = "TasksDB-PTod";
inline constexpr std::string_view kLaterMemosName = "MemosDB-PMem";

// App-info.
inline constexpr std::size_t kLaterCalendarAppInfoSize = 298;
inline constexpr std::size_t kLaterContactsAppInfoSize = 1092;
inline constexpr std::size_t kLaterTasksAppInfoSize = 300;
inline constexpr std::size_t kLaterMemosAppInfoSize = 300;
inline constexpr std::size_t kContactsLabelsOffset = 304;
inline constexpr std::size_t kContactsFirstCustomLabel = 14;

// Blobs.
inline constexpr std::size_t kBlobHeaderSize = 6;
inline constexpr std::string_view kBlobZoneOrPicture = "Bd00";
inline constexpr std::string_view kBlobMeetingOrAnniversary = "Bd01";

// Calendar.
inline constexpr std::uint16_t kEventHasLocation = 0x0200;
inline constexpr std::size_t kZoneFixedSize = 14;  // before the name
inline constexpr std::size_t kMeetingFixedSize = 4;
inline constexpr std::size_t kAnniversarySize = 2;  // the date at the blob's start
inline constexpr std::size_t kPictureWordSize = 2;

// Contacts.
inline constexpr std::size_t kContactFixedSize = 17;
inline constexpr int kContactFieldCount = 39;
inline constexpr int kContactWordOneFields = 28;
inline constexpr std::uint32_t kContactHasBirthday = 1u << 11;
inline constexpr std::uint32_t kContactHasBirthdayFlags = 1u << 12;
inline constexpr std::uint32_t kContactHasReminder = 1u << 13;
inline constexpr int kContactFirstPhone = 4;
inline constexpr int kContactFirstIm = 11;
inline constexpr int kContactWebSite = 13;
inline constexpr int kContactFirstCustom = 14;
inline constexpr int kContactFirstAddress = 23;
inline constexpr int kContactAddressFields = 5;
inline constexpr int kContactNote = 38;

// Tasks.
inline constexpr std::size_t kTaskFixedSize = 6;
inline constexpr std::uint16_t kTaskHasDue = 0x8000;
inline constexpr std::uint16_t kTaskHasCompletion = 0x4000;
inline constexpr std::uint16_t kTaskHasAlarm = 0x2000;
inline constexpr std::uint16_t kTaskHasRepeat = 0x1000;
inline constexpr std::uint16_t kTaskCompleted = 0x0001;
inline constexpr std::uint16_t kTaskRepeatsAfterCompletion = 0x0002;

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_LATER_FORMAT_H_
