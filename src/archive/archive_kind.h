#ifndef VESSORY_ARCHIVE_ARCHIVE_KIND_H_
#define VESSORY_ARCHIVE_ARCHIVE_KIND_H_

#include <optional>
#include <string_view>

#include "archive/archive_reader.h"
#include "archive/organiser_records.h"

namespace vessory::archive {

// What the first bytes of an archive say it holds: the classic layout's four kinds, the later
// layout's (desktop versions 4.1.4 to 4.2), and the database of desktop version 6.
enum class ArchiveKind {
  kDatebook,
  kAddress,
  kTodo,
  kMemo,
  kLaterTodo,
  kUnknown,
  kLaterDatebook,
  kLaterAddress,  // named, not read
  kLaterMemo,     // named, not read
  kLaterOther,    // another 00 02 tag: named, not read
  kVersion6,      // an Access (Jet) database of desktop version 6: named, not read
};

// Reads the tag, and first the wrapper of newer desktop versions when the archive starts with
// one, leaving the reader on what follows the tag. The later layout's tags count only behind the
// wrapper. A file with the Jet signature is kVersion6 (the reader then stands after the
// signature). kUnknown for any other bytes and for an archive
// too short to hold a tag; nothing is reported.
ArchiveKind readArchiveKind(ArchiveReader& reader);

// True for the kinds that are named but not read.
bool namedNotRead(ArchiveKind kind);

// The record kind an archive kind holds (the later date book and to-do list included); none for
// the kinds named but not read and for unknown tags.
std::optional<RecordKind> recordKindOf(ArchiveKind kind);

// "date book", "address book", "to-do list", "memo pad" (for messages).
std::string_view recordKindName(RecordKind kind);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ARCHIVE_KIND_H_
