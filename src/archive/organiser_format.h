#ifndef VESSORY_ARCHIVE_ORGANISER_FORMAT_H_
#define VESSORY_ARCHIVE_ORGANISER_FORMAT_H_

// Byte layout of the address book, to-do list and memo pad archives (Address.dat/.aba,
// ToDo.dat/.tda, MemoPad.dat/.mpa), as this program reads them. They share the date book's
// container (format.h has the items: Integer N, CString, Raw N); only what differs is here.
//
// Archive:  [wrapper] | tag (Raw 4) | file name (CString) | table string (CString) |
//           next free category id (Integer 4) | category count (Integer 4) |
//           category entries (as in the date book) | schema | entry count (Integer 4) | records
// Wrapper:  BE BA FE CA | a name (CString) | a revision (Raw 4). Newer desktop versions put it
//           before the ordinary tag.
// Tags:     date book 00 01 42 44, address 00 01 42 41, to-do 00 01 44 54, memo 00 01 50 4D;
//           00 02 ... tags are the later layout (later_format.h).
// Schema:   resource id, fields per row, record id position, status position, placement
//           position (Integer 4 each) | field count F (Integer 2) | F type codes (Integer 2 each).
//           Fields per row and F both equal the kind's field count; the record count is the
//           entry count divided by the fields per row.
// Record:   fields per row fields, nothing between records. Every field is a type code
//           (Integer 4) equal to the schema's code for its column, then the value:
//             0 none      nothing           1 integer  Integer 4     2 float  4 bytes IEEE
//             3 date      Integer 4, seconds since 1970-01-01 00:00 UTC
//             5 string    Integer 4 (always 0), then a CString
//             6 boolean   Integer 4, 0 or 1  7 bit flags Integer 4
//             8 repeat    the date book's repeat block (no column of these kinds has it)
//           4 (alpha) and every other code have no known size: a reader cannot go past them.
//           The first three fields of every kind are record id, status and placement.

#include <array>
#include <cstdint>
#include <string_view>

#include "archive/format.h"

namespace vessory::archive {

inline constexpr std::string_view kDatebookTag = kArchiveTag;
inline constexpr std::string_view kAddressTag{
    "\x00\x01"
    "BA",
    4};
inline constexpr std::string_view kTodoTag{
    "\x00\x01"
    "DT",
    4};
inline constexpr std::string_view kMemoTag{
    "\x00\x01"
    "PM",
    4};
inline constexpr std::string_view kLaterTodoTag{
    "\x00\x02"
    "DT",
    4};
inline constexpr std::string_view kWrapperTag{"\xBE\xBA\xFE\xCA", 4};
inline constexpr std::size_t kWrapperRevisionBytes = 4;
// An Access (Jet) database, which desktop version 6 keeps its data in: four bytes (00 01 00 00),
// then the signature at offset 4.
inline constexpr std::string_view kJetLeadingBytes{"\x00\x01\x00\x00", 4};
inline constexpr std::string_view kJetSignature{"Standard Jet DB"};

// Field type codes.
inline constexpr std::int64_t kTypeNone = 0;
inline constexpr std::int64_t kTypeInteger = 1;
inline constexpr std::int64_t kTypeFloat = 2;
inline constexpr std::int64_t kTypeDate = 3;
inline constexpr std::int64_t kTypeAlpha = 4;
inline constexpr std::int64_t kTypeString = 5;
inline constexpr std::int64_t kTypeBoolean = 6;
inline constexpr std::int64_t kTypeBitFlags = 7;
inline constexpr std::int64_t kTypeRepeat = 8;

// Status bits of the second field.
inline constexpr std::int64_t kStatusDeleted = 0x04;

// One column of a kind's records: the type code the schema must give it and its name in
// messages.
struct FieldColumn {
  std::int64_t type;
  std::string_view name;
};

inline constexpr int kAddressFieldCount = 30;
inline constexpr int kTodoFieldCount = 10;
inline constexpr int kMemoFieldCount = 6;

// Columns shared by the three kinds.
inline constexpr int kRecordIdColumn = 0;
inline constexpr int kStatusColumn = 1;
inline constexpr int kPlacementColumn = 2;

// Address columns. The desktop keeps the title right after the names (the handheld after the
// country); each phone is a label code column followed by its number.
namespace address_column {
inline constexpr int kLastName = 3;
inline constexpr int kFirstName = 4;
inline constexpr int kTitle = 5;
inline constexpr int kCompany = 6;
inline constexpr int kFirstPhoneLabel = 7;  // label, number; five times
inline constexpr int kAddress = 17;
inline constexpr int kCity = 18;
inline constexpr int kState = 19;
inline constexpr int kZipCode = 20;
inline constexpr int kCountry = 21;
inline constexpr int kNote = 22;
inline constexpr int kPrivate = 23;
inline constexpr int kCategory = 24;
inline constexpr int kFirstCustom = 25;  // four in a row
inline constexpr int kDisplayedPhone = 29;
}  // namespace address_column

namespace todo_column {
inline constexpr int kDescription = 3;
inline constexpr int kDueDate = 4;
inline constexpr int kCompleted = 5;
inline constexpr int kPriority = 6;
inline constexpr int kPrivate = 7;
inline constexpr int kCategory = 8;
inline constexpr int kNote = 9;
}  // namespace todo_column

namespace memo_column {
inline constexpr int kText = 3;
inline constexpr int kPrivate = 4;
inline constexpr int kCategory = 5;
}  // namespace memo_column

inline constexpr std::array<FieldColumn, kAddressFieldCount> kAddressColumns{{
    {kTypeInteger, "record id"}, {kTypeInteger, "status"},
    {kTypeInteger, "placement"}, {kTypeString, "last name"},
    {kTypeString, "first name"}, {kTypeString, "title"},
    {kTypeString, "company"},    {kTypeInteger, "phone 1 label"},
    {kTypeString, "phone 1"},    {kTypeInteger, "phone 2 label"},
    {kTypeString, "phone 2"},    {kTypeInteger, "phone 3 label"},
    {kTypeString, "phone 3"},    {kTypeInteger, "phone 4 label"},
    {kTypeString, "phone 4"},    {kTypeInteger, "phone 5 label"},
    {kTypeString, "phone 5"},    {kTypeString, "address"},
    {kTypeString, "city"},       {kTypeString, "state"},
    {kTypeString, "zip code"},   {kTypeString, "country"},
    {kTypeString, "note"},       {kTypeBoolean, "private"},
    {kTypeInteger, "category"},  {kTypeString, "custom 1"},
    {kTypeString, "custom 2"},   {kTypeString, "custom 3"},
    {kTypeString, "custom 4"},   {kTypeInteger, "displayed phone"},
}};

inline constexpr std::array<FieldColumn, kTodoFieldCount> kTodoColumns{{
    {kTypeInteger, "record id"},
    {kTypeInteger, "status"},
    {kTypeInteger, "placement"},
    {kTypeString, "description"},
    {kTypeDate, "due date"},
    {kTypeBoolean, "completed"},
    {kTypeInteger, "priority"},
    {kTypeBoolean, "private"},
    {kTypeInteger, "category"},
    {kTypeString, "note"},
}};

inline constexpr std::array<FieldColumn, kMemoFieldCount> kMemoColumns{{
    {kTypeInteger, "record id"},
    {kTypeInteger, "status"},
    {kTypeInteger, "placement"},
    {kTypeString, "text"},
    {kTypeBoolean, "private"},
    {kTypeInteger, "category"},
}};

// The name of a type code in messages ("integer", "string", ...), or empty for a code of no
// known size.
constexpr std::string_view fieldTypeName(std::int64_t type) {
  switch (type) {
    case kTypeNone:
      return "none";
    case kTypeInteger:
      return "integer";
    case kTypeFloat:
      return "float";
    case kTypeDate:
      return "date";
    case kTypeString:
      return "string";
    case kTypeBoolean:
      return "boolean";
    case kTypeBitFlags:
      return "bit flags";
    case kTypeRepeat:
      return "repeat event";
    default:
      return {};
  }
}

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ORGANISER_FORMAT_H_
