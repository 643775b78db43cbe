#include "handheld/handheld_applications.h"

#include <algorithm>
#include <cstdio>

#include "handheld/byte_cursor.h"
#include "handheld/handheld_database.h"
#include "handheld/handheld_format.h"
#include "handheld/later_format.h"

namespace vessory::handheld {

namespace {

using archive::RecordKind;
using Bytes = std::span<const unsigned char>;

bool printable(Bytes field) {
  return std::all_of(field.begin(), field.end(),
                     [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
}

// Four characters as messages show them: printable ones as they are, others as \xHH.
std::string fourChars(Bytes field) {
  std::string out;
  for (unsigned char c : field) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out;
}

constexpr Application kApplications[] = {
    {kDatebookCreator, RecordKind::kDatebook, kDatebookAppInfoSize, "date book", {}},
    {kAddressCreator, RecordKind::kAddress, kAddressAppInfoSize, "address book", {}},
    {kTodoCreator, RecordKind::kTodo, kTodoAppInfoSize, "to-do list", {}},
    {kMemoCreator, RecordKind::kMemo, kMemoAppInfoSize, "memo pad", {}},
    {kLaterCalendarCreator, RecordKind::kDatebook, kLaterCalendarAppInfoSize, "Calendar",
     kLaterCalendarName},
    {kLaterContactsCreator, RecordKind::kAddress, kLaterContactsAppInfoSize, "Contacts",
     kLaterContactsName},
    {kLaterTasksCreator, RecordKind::kTodo, kLaterTasksAppInfoSize, "Tasks", kLaterTasksName},
    {kLaterMemosCreator, RecordKind::kMemo, kLaterMemosAppInfoSize, "Memos", kLaterMemosName},
};

}  // namespace

const Application& application(RecordKind kind, bool later) {
  for (const Application& known : kApplications) {
    if (known.kind == kind && known.databaseName.empty() != later) return known;
  }
  return kApplications[0];
}

const Application* recognise(Bytes bytes, const std::string& name, std::string& error) {
  const Bytes type = bytes.subspan(kTypeOffset, kFourCharSize);
  const Bytes creator = bytes.subspan(kCreatorOffset, kFourCharSize);
  const std::string typeText = fourChars(type);
  const std::string creatorText = fourChars(creator);
  const Application* sameCreator = nullptr;
  for (const Application& known : kApplications) {
    if (creatorText != known.creator) continue;
    sameCreator = &known;
    if (typeText == kDataType && (known.databaseName.empty() || name == known.databaseName)) {
      return &known;
    }
  }
  error = "The database \"" + name + "\" (type " + typeText + ", creator " + creatorText + ") is ";
  if (sameCreator != nullptr && !sameCreator->databaseName.empty()) {
    error += "another database of the later handhelds' " + std::string(sameCreator->name) +
             " (an index or list it keeps), not its records (" +
             std::string(sameCreator->databaseName) + ").";
  } else {
    error += "not a date book, address book, to-do list or memo pad database.";
  }
  return nullptr;
}

bool looksLikeHandheldDatabase(Bytes bytes) { return looksLikeHandheldDatabase(bytes, bytes.size()); }

bool looksLikeHandheldDatabase(Bytes front, std::uint64_t fileSize) {
  if (front.size() < kHeaderSize || fileSize < kHeaderSize) return false;
  const Bytes name = front.subspan(kNameOffset, kNameSize);
  if (std::find(name.begin(), name.end(), 0) == name.end()) return false;
  if (!printable(front.subspan(kTypeOffset, kFourCharSize))) return false;
  if (!printable(front.subspan(kCreatorOffset, kFourCharSize))) return false;
  const std::size_t count = bigEndianAt(front, kRecordCountOffset, 2).value_or(0);
  return fileSize - kHeaderSize >= count * kRecordEntrySize;
}

bool looksLikeHandheldDatabase(files::RandomAccessBytes& bytes) {
  std::vector<unsigned char> header;
  return bytes.size() >= kHeaderSize && bytes.readAt(0, kHeaderSize, header) &&
         looksLikeHandheldDatabase(header, bytes.size());
}

}  // namespace vessory::handheld
