#include "archive/archive_kind.h"

#include <string>

#include "archive/later_format.h"
#include "archive/organiser_format.h"

namespace vessory::archive {

ArchiveKind readArchiveKind(ArchiveReader& reader) {
  std::string tag = reader.readChars(4);
  if (tag == kJetLeadingBytes) {
    if (reader.readChars(kJetSignature.size()) == kJetSignature) return ArchiveKind::kVersion6;
    return ArchiveKind::kUnknown;
  }
  const bool wrapped = tag == kWrapperTag;
  if (wrapped) {
    std::string name;
    reader.readCString(name);
    reader.readChars(kWrapperRevisionBytes, tag);
    reader.readChars(4, tag);
  }
  if (reader.atEnd() || reader.halted()) return ArchiveKind::kUnknown;
  if (tag == kDatebookTag) return ArchiveKind::kDatebook;
  if (tag == kAddressTag) return ArchiveKind::kAddress;
  if (tag == kTodoTag) return ArchiveKind::kTodo;
  if (tag == kMemoTag) return ArchiveKind::kMemo;
  // The later layout is known only behind the wrapper: a later tag without one is no file
  // described.
  if (!wrapped) return ArchiveKind::kUnknown;
  if (tag == kLaterTodoTag) return ArchiveKind::kLaterTodo;
  if (tag == kLaterDatebookTag) return ArchiveKind::kLaterDatebook;
  if (tag == kLaterAddressTag) return ArchiveKind::kLaterAddress;
  if (tag == kLaterMemoTag) return ArchiveKind::kLaterMemo;
  if (tag.starts_with(kLaterTagPrefix)) return ArchiveKind::kLaterOther;
  return ArchiveKind::kUnknown;
}

bool namedNotRead(ArchiveKind kind) {
  return kind == ArchiveKind::kLaterAddress || kind == ArchiveKind::kLaterMemo ||
         kind == ArchiveKind::kLaterOther || kind == ArchiveKind::kVersion6;
}

std::optional<RecordKind> recordKindOf(ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::kDatebook:
    case ArchiveKind::kLaterDatebook:
      return RecordKind::kDatebook;
    case ArchiveKind::kAddress:
      return RecordKind::kAddress;
    case ArchiveKind::kTodo:
    case ArchiveKind::kLaterTodo:
      return RecordKind::kTodo;
    case ArchiveKind::kMemo:
      return RecordKind::kMemo;
    default:
      break;
  }
  return std::nullopt;
}

std::string_view recordKindName(RecordKind kind) {
  switch (kind) {
    case RecordKind::kDatebook:
      return "date book";
    case RecordKind::kAddress:
      return "address book";
    case RecordKind::kTodo:
      return "to-do list";
    case RecordKind::kMemo:
      return "memo pad";
  }
  return {};
}

}  // namespace vessory::archive
