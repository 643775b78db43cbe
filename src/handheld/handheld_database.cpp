#include "handheld/handheld_database.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "archive/archive_identity.h"
#include "archive/format.h"
#include "handheld/byte_cursor.h"
#include "handheld/calendar_record.h"
#include "handheld/contacts_record.h"
#include "handheld/datebook_record.h"
#include "handheld/handheld_applications.h"
#include "handheld/handheld_format.h"
#include "handheld/later_format.h"
#include "handheld/organiser_record.h"
#include "handheld/tasks_record.h"

namespace vessory::handheld {

namespace {

using archive::RecordKind;
using Bytes = std::span<const unsigned char>;

constexpr std::int64_t kDeletedStatusBit = 0x04;  // the desktop archive's "deleted" status

std::size_t number(Bytes bytes, std::size_t offset, std::size_t width) {
  return bigEndianAt(bytes, offset, width).value_or(0);
}

template <typename Record>
RecordRead<Record> leftOutAs(std::string message) {
  return RecordRead<Record>{std::nullopt, std::move(message), {}, {}};
}

}  // namespace

HandheldDatabase::HandheldDatabase(files::RandomAccessBytes& bytes,
                                   std::vector<unsigned char> front, std::string name,
                                   RecordKind kind, bool later)
    : bytes_(&bytes),
      size_(bytes.size()),
      front_(std::move(front)),
      name_(std::move(name)),
      later_(later) {
  catalogue_.kind = kind;
  std::string identity = name_;
  identity += '\0';
  const Bytes created = Bytes(front_).subspan(kCreationTimeOffset, 4);
  identity.append(reinterpret_cast<const char*>(created.data()), created.size());
  catalogue_.identity = archive::identityHex(archive::fnv1a32(identity));
}

std::optional<HandheldDatabase> HandheldDatabase::open(Bytes bytes, std::string& error) {
  auto owned = std::make_unique<files::MemoryBytes>(bytes);
  std::optional<HandheldDatabase> database = open(*owned, error);
  if (database) database->owned_ = std::move(owned);
  return database;
}

namespace {

// Why `bytes` could not be read: the system's reason, or where the file ends.
std::string readFailure(const files::RandomAccessBytes& bytes) {
  std::string reason = bytes.errorText();
  return reason.empty() ? "the file ended before its " + std::to_string(bytes.size()) + " bytes"
                        : reason;
}

}  // namespace

std::optional<HandheldDatabase> HandheldDatabase::open(files::RandomAccessBytes& bytes,
                                                       std::string& error) {
  const std::uint64_t size = bytes.size();
  if (size < kHeaderSize) {
    error = "The file is too short for a handheld database: " + std::to_string(size) +
            " bytes, where the header alone takes 78.";
    return std::nullopt;
  }
  std::vector<unsigned char> front;
  if (!bytes.readAt(0, kHeaderSize, front)) {
    error = readFailure(bytes);
    return std::nullopt;
  }
  std::string name = fieldText(Bytes(front).subspan(kNameOffset, kNameSize));
  const Application* app = recognise(front, name, error);
  if (app == nullptr) return std::nullopt;
  const std::size_t count = number(front, kRecordCountOffset, 2);
  const std::size_t listEnd = kHeaderSize + count * kRecordEntrySize;
  if (listEnd > size) {
    error = "The database \"" + name + "\" lists " + std::to_string(count) +
            " records, but the file ends inside that list (" + std::to_string(size) +
            " bytes of the " + std::to_string(listEnd) + " it needs).";
    return std::nullopt;
  }
  if (!bytes.readAt(0, listEnd, front)) {
    error = readFailure(bytes);
    return std::nullopt;
  }
  const bool later = !app->databaseName.empty();
  HandheldDatabase database(bytes, std::move(front), std::move(name), app->kind, later);
  const std::size_t version = number(database.front_, kVersionOffset, 2);
  if (later && version != kLaterVersion) {
    database.notices_.push_back("The database \"" + database.name_ + "\" has header version " +
                                std::to_string(version) + ", where the " + app->name +
                                " writes 1: its records are read as those of version 1.");
  }
  if (number(database.front_, kNextListOffset, 4) != 0) {
    database.notices_.push_back("The database \"" + database.name_ +
                                "\" points to a further record list, which is not read.");
  }
  database.readEntries(count);
  database.readAppInfo();
  return database;
}

// A record's offset must lie after the record list, inside the file, and not before the last
// record accepted; it then runs to the next accepted record's offset or to the end of the file.
void HandheldDatabase::readEntries(std::size_t count) {
  const std::size_t listEnd = kHeaderSize + count * kRecordEntrySize;
  entries_.resize(count);
  std::size_t lastBegin = listEnd;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kRecordEntrySize;
    Entry& entry = entries_[i];
    entry.begin = number(front_, at, 4);
    entry.attributes = front_[at + kEntryAttributeOffset];
    entry.uniqueId = static_cast<std::uint32_t>(number(front_, at + kEntryUniqueIdOffset, 3));
    const char* where = nullptr;
    if (entry.begin > size_) {
      where = " lies outside the file";
    } else if (entry.begin < listEnd) {
      where = " lies inside the header";
    } else if (entry.begin < lastBegin) {
      where = " lies before the previous record's";
    } else {
      lastBegin = entry.begin;
    }
    // Only a misplaced record's text is made: the list is read again by every look at the file.
    if (where != nullptr) entry.misplaced = "its offset " + std::to_string(entry.begin) + where;
  }
  std::size_t nextBegin = static_cast<std::size_t>(size_);
  // From the last record back: each ends where the next placed one begins.
  for (std::size_t k = entries_.size(); k-- > 0;) {
    Entry& entry = entries_[k];
    if (!entry.misplaced.empty()) continue;
    entry.end = nextBegin;
    nextBegin = entry.begin;
  }
}

void HandheldDatabase::readAppInfo() {
  const Application& app = application(kind(), later_);
  const std::string lost = ": records are read without category names" +
                           std::string(kind() == RecordKind::kAddress ? " or custom labels." : ".");
  const std::size_t begin = number(front_, kAppInfoOffsetField, 4);
  const std::size_t listEnd = kHeaderSize + entries_.size() * kRecordEntrySize;
  if (begin == 0) {
    notices_.push_back("The database \"" + name_ + "\" has no app-info block" + lost);
    return;
  }
  if (begin < listEnd || begin >= size_) {
    notices_.push_back("The database \"" + name_ + "\" has its app-info offset " +
                       std::to_string(begin) + " outside its data" + lost);
    return;
  }
  // It ends where the next block starts: the sort-info block, else the first record.
  std::size_t end = static_cast<std::size_t>(size_);
  const std::size_t sortInfo = number(front_, kSortInfoOffsetField, 4);
  if (sortInfo > begin) end = std::min(end, sortInfo);
  for (const Entry& entry : entries_) {
    if (entry.misplaced.empty() && entry.begin > begin) {
      end = std::min(end, entry.begin);
      break;
    }
  }
  if (end - begin < app.appInfoSize) {
    notices_.push_back("The database \"" + name_ + "\" has an app-info block of " +
                       std::to_string(end - begin) + " bytes, where the " + app.name + " writes " +
                       std::to_string(app.appInfoSize) + lost);
    return;
  }
  // No block of a handheld database is larger than its 64 KiB: a larger span is no app-info.
  std::vector<unsigned char> appInfo;
  if (!bytes_->readAt(begin, std::min(end - begin, kMaxBlockSize), appInfo)) {
    notices_.push_back("The database \"" + name_ + "\" has an app-info block that cannot be read (" +
                       readFailure(*bytes_) + ")" + lost);
    return;
  }
  readCategories(appInfo);
}

void HandheldDatabase::readCategories(Bytes appInfo) {
  for (std::size_t i = 0; i < kCategoryCount; ++i) {
    std::string label =
        fieldText(appInfo.subspan(kCategoryLabelsOffset + i * kLabelSize, kLabelSize));
    if (!label.empty()) catalogue_.categories.emplace_back(i, std::move(label));
  }
  if (kind() != RecordKind::kAddress) return;
  if (later_) {
    readCustomLabels(appInfo, kContactsLabelsOffset + kContactsFirstCustomLabel * kLabelSize,
                     archive::kMaxCustomFieldCount);
  } else {
    readCustomLabels(appInfo, kAddressLabelsOffset + kFirstCustomLabel * kLabelSize,
                     archive::kCustomFieldCount);
  }
}

void HandheldDatabase::readCustomLabels(Bytes appInfo, std::size_t labelsOffset,
                                        std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = labelsOffset + i * kLabelSize;
    std::string label = fieldText(appInfo.subspan(at, kLabelSize));
    const std::size_t first = label.find_first_not_of(' ');
    label = first == std::string::npos
                ? std::string()
                : label.substr(first, label.find_last_not_of(' ') - first + 1);
    catalogue_.customLabels[i] = std::move(label);
  }
}

archive::DatebookHeader HandheldDatabase::datebookHeader() const {
  archive::DatebookHeader header;
  for (const auto& [index, label] : catalogue_.categories) {
    header.categoryIndexes.push_back(index);
    header.categoryLongNames.push_back(label);
  }
  header.categoryCount = static_cast<std::int64_t>(catalogue_.categories.size());
  header.recordCount = recordCount();
  header.entryCount = recordCount() * archive::kFieldsPerRecord;
  return header;
}

std::string HandheldDatabase::recordLabel(std::int64_t index) const {
  std::string label = "Record " + std::to_string(index + 1);
  if (index >= 0 && index < recordCount()) {
    label += " (unique id " + std::to_string(entries_[index].uniqueId) + ")";
  }
  return label;
}

const HandheldDatabase::Entry* HandheldDatabase::locate(std::int64_t index, RecordKind wanted,
                                                        std::string& leftOut) const {
  if (index < 0 || index >= recordCount()) {
    leftOut = recordLabel(index) + " does not exist: the database holds " +
              std::to_string(recordCount()) + " records.";
  } else if (wanted != kind()) {
    leftOut = recordLabel(index) + " is not a " + application(wanted, later_).name + " record.";
  } else if (!entries_[index].misplaced.empty()) {
    leftOut = recordLabel(index) + " left out: " + entries_[index].misplaced + ".";
  } else {
    return &entries_[index];
  }
  return nullptr;
}

// With the deleted or busy bit set the low nibble is no category; 0x08 there means archived.
archive::RecordBasics HandheldDatabase::basics(const Entry& entry) const {
  archive::RecordBasics basics;
  const bool deletedOrBusy = (entry.attributes & (kAttrDeleted | kAttrBusy)) != 0;
  const bool archived = deletedOrBusy && (entry.attributes & kAttrArchived) != 0;
  basics.recordId = entry.uniqueId;
  basics.deleted = (entry.attributes & kAttrDeleted) != 0 || archived;
  basics.isPrivate = (entry.attributes & kAttrSecret) != 0;
  basics.category = deletedOrBusy ? 0 : entry.attributes & kAttrCategoryMask;
  return basics;
}

template <typename Record, typename Unpack>
RecordRead<Record> HandheldDatabase::readRecord(std::int64_t index, RecordKind wanted,
                                                Unpack unpack) const {
  std::string leftOut;
  const Entry* entry = locate(index, wanted, leftOut);
  if (entry == nullptr) return leftOutAs<Record>(std::move(leftOut));
  Record record;
  RecordRemarks remarks;
  const archive::RecordBasics basics = this->basics(*entry);
  if (!bytes_->readAt(entry->begin, entry->end - entry->begin, record_)) {
    RecordRead<Record> failed = leftOutAs<Record>(recordLabel(index) + " left out: it cannot be read (" +
                                                  readFailure(*bytes_) + ").");
    failed.readError = bytes_->errorText();
    return failed;
  }
  const Bytes bytes = record_;
  // A deleted record whose data the handheld already dropped has nothing more to read.
  if (!(basics.deleted && bytes.empty())) {
    if (std::optional<std::string> problem = unpack(bytes, record, remarks)) {
      return leftOutAs<Record>(recordLabel(index) + " left out: " + *problem + ".");
    }
  }
  if constexpr (std::is_same_v<Record, archive::EventRecord>) {
    record.recordId = basics.recordId;
    record.status = basics.deleted ? kDeletedStatusBit : 0;
    record.position = index;
    record.isPrivate = basics.isPrivate ? 1 : 0;
    record.category = basics.category;
  } else {
    static_cast<archive::RecordBasics&>(record) = basics;
  }
  return RecordRead<Record>{std::move(record), {}, remarks, {}};
}

std::vector<std::uint32_t> HandheldDatabase::uniqueIds() const {
  std::vector<std::uint32_t> ids;
  ids.reserve(entries_.size());
  for (const Entry& entry : entries_) ids.push_back(entry.uniqueId);
  return ids;
}

// Each kind's unpacking, the classic or the later one by the database's generation.
RecordRead<archive::EventRecord> HandheldDatabase::readEvent(std::int64_t index) const {
  return readRecord<archive::EventRecord>(
      index, RecordKind::kDatebook,
      [this](Bytes bytes, archive::EventRecord& out, RecordRemarks& remarks) {
        return later_ ? unpackCalendarEvent(bytes, out, remarks) : unpackEvent(bytes, out);
      });
}

RecordRead<archive::ContactRecord> HandheldDatabase::readContact(std::int64_t index) const {
  return readRecord<archive::ContactRecord>(
      index, RecordKind::kAddress,
      [this](Bytes bytes, archive::ContactRecord& out, RecordRemarks& remarks) {
        return later_ ? unpackLaterContact(bytes, out, remarks) : unpackContact(bytes, out);
      });
}

RecordRead<archive::TodoRecord> HandheldDatabase::readTodo(std::int64_t index) const {
  return readRecord<archive::TodoRecord>(
      index, RecordKind::kTodo,
      [this](Bytes bytes, archive::TodoRecord& out, RecordRemarks& remarks) {
        return later_ ? unpackTask(bytes, out, remarks) : unpackTodo(bytes, out);
      });
}

RecordRead<archive::MemoRecord> HandheldDatabase::readMemo(std::int64_t index) const {
  return readRecord<archive::MemoRecord>(
      index, RecordKind::kMemo,
      [](Bytes bytes, archive::MemoRecord& out, RecordRemarks&) { return unpackMemo(bytes, out); });
}

}  // namespace vessory::handheld
