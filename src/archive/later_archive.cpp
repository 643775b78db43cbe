#include "archive/later_archive.h"

#include <algorithm>

#include "archive/later_columns.h"
#include "archive/later_format.h"
#include "archive/organiser_format.h"

namespace vessory::archive {

namespace {

constexpr std::size_t kDrainBlock = 4096;

using later::codeText;
using later::columnText;
using later::hasKnownSize;
using later::isFourBytes;
using later::isUnknownFour;
using later::minimumColumns;
using later::neededText;
using later::usedColumns;
using later::UsedColumn;

}  // namespace

std::string refusalMessage(const std::string& path, RecordKind kind, const std::string& why) {
  return path + ": this " + std::string(recordKindName(kind)) +
         "'s layout (desktop version 4.1.4 or later) is not one this tool knows: " + why +
         "; nothing was exported";
}

namespace {

std::string lowerName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);  // npos + 1 is 0
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

// What the name of a version-6 database tells of its kind: ", the date book," or nothing.
std::string version6Kind(const std::string& path) {
  const std::string name = lowerName(path);
  const std::string stem = name.substr(0, name.rfind('.'));
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"datebook", "date book"},    {"calendar", "date book"}, {"address", "address book"},
      {"contacts", "address book"}, {"todo", "to-do list"},    {"tasks", "to-do list"},
      {"memopad", "memo pad"},      {"memos", "memo pad"}};
  for (const auto& [known, kind] : kNames) {
    if (stem == known) return ", the " + std::string(kind) + ",";
  }
  return {};
}

constexpr char kLaterNotKnown[] =
    " of desktop version 4.1.4 or later, whose layout is not known well enough to read it. ";
constexpr char kExportTheFolder[] =
    ": export the user folder with --all (it reads the Backup folder), or export the handheld's ";

}  // namespace

std::string notReadMessage(const std::string& path, ArchiveKind kind) {
  switch (kind) {
    case ArchiveKind::kLaterAddress:
      return path + " is an address book" + kLaterNotKnown +
             "The handheld's own databases hold the same contacts" + kExportTheFolder +
             "AddressDB.pdb or ContactsDB-PAdd.pdb.";
    case ArchiveKind::kLaterMemo:
      return path + " is a memo pad" + kLaterNotKnown +
             "The handheld's own databases hold the same memos" + kExportTheFolder +
             "MemoDB.pdb or MemosDB-PMem.pdb.";
    case ArchiveKind::kVersion6:
      return path + version6Kind(path) +
             " is a database of desktop version 6, which this tool does not read. In that "
             "program, export the date book as a Date Book Archive (.dba) and export that, or "
             "export the handheld's own databases from the Backup folder.";
    default:
      return path + " is a file" + kLaterNotKnown +
             "The handheld's own databases hold the same records: export the user folder with "
             "--all (it reads the Backup folder), or export the handheld's databases.";
  }
}

LaterArchive::LaterArchive(ArchiveReader& reader, MessageSink& messages, RecordKind kind)
    : reader_(reader), messages_(messages), kind_(kind) {}

bool LaterArchive::refuse(std::string why) {
  refusal_ = std::move(why);
  return false;
}

// Reads `count` bytes that must be zero; false (refused) when one is not.
bool LaterArchive::zeros(int count) {
  reader_.readChars(static_cast<std::size_t>(count), scratch_);
  if (std::all_of(scratch_.begin(), scratch_.end(), [](char c) { return c == 0; })) return true;
  return refuse("its header holds a non-zero byte among the " + std::to_string(count) +
                " bytes that are zero in every file described");
}

LaterHeaderOutcome LaterArchive::readHeader() {
  header_ = {};
  const auto stopped = [this] { return reader_.atEnd() || reader_.halted(); };
  // A difference seen is refused even when the file ends just after it.
  const auto outcome = [this] {
    if (reader_.halted()) return LaterHeaderOutcome::kHalted;
    if (!refusal_.empty()) return LaterHeaderOutcome::kRefused;
    return reader_.atEnd() ? LaterHeaderOutcome::kEndedEarly : LaterHeaderOutcome::kRefused;
  };
  // Nothing is read past a difference: a file that also ends there is refused for the
  // difference alone, without a notice of its end.
  if (!zeros(kZerosAfterTag)) return outcome();
  reader_.readInteger(4);  // 0x1165 in every file described; its meaning is not known
  if (stopped() || !zeros(kZerosBeforeFileName)) return outcome();
  const EmptyCString empty =
      kind_ == RecordKind::kDatebook ? EmptyCString::kMarker : EmptyCString::kEmpty;
  reader_.readCString(header_.storedFileName, empty);
  if (stopped() || !zeros(kZerosAfterFileName) || stopped()) return outcome();
  reader_.readInteger(4);  // said to be the next free category id: only the desktop needs it
  if (!readCategories() || stopped()) return outcome();
  header_.schema = readOrganiserSchema(reader_);
  if (stopped()) return outcome();
  return schemaFits() ? LaterHeaderOutcome::kOk : LaterHeaderOutcome::kRefused;
}

bool LaterArchive::readCategories() {
  const std::int64_t count = reader_.readInteger(4).value_or(0);
  if (count < 0 || count > kMaxLaterCategories) {
    return refuse("its header lists " + std::to_string(count) + " categories, more than " +
                  std::to_string(kMaxLaterCategories));
  }
  const EmptyCString empty =
      kind_ == RecordKind::kDatebook ? EmptyCString::kMarker : EmptyCString::kEmpty;
  for (std::int64_t i = 0; i < count && !reader_.atEnd() && !reader_.halted(); ++i) {
    const std::int64_t index = reader_.readInteger(4).value_or(0);
    reader_.readInteger(4);  // id
    reader_.readInteger(4);  // name-dirty flag
    std::string name;
    reader_.readCString(name, empty);
    reader_.readCString(scratch_, empty);  // the short name
    if (reader_.atEnd()) break;
    // The handheld numbers its categories below 256: another index is no header described.
    if (index < 0 || index >= kMaxLaterCategories) {
      return refuse("its header lists category index " + std::to_string(index) + ", outside 0 to " +
                    std::to_string(kMaxLaterCategories - 1));
    }
    for (const auto& [earlier, unused] : header_.categories) {
      if (earlier == index) {
        return refuse("its header lists category index " + std::to_string(index) + " twice");
      }
    }
    header_.categories.emplace_back(index, std::move(name));
  }
  return true;
}

bool LaterArchive::schemaFits() {
  OrganiserSchema& schema = header_.schema;
  const std::string kindName(recordKindName(kind_));
  if (schema.fieldCount != schema.fieldsPerRow) {
    return refuse("its schema declares " + std::to_string(schema.fieldsPerRow) +
                  " fields per row but " + std::to_string(schema.fieldCount) + " type codes");
  }
  if (schema.fieldsPerRow < minimumColumns(kind_)) {
    return refuse("its schema has " + std::to_string(schema.fieldsPerRow) + " columns where a " +
                  kindName + " has at least " + std::to_string(minimumColumns(kind_)));
  }
  const auto& types = schema.fieldTypes;
  for (std::size_t k = 0; k < types.size(); ++k) {
    if (hasKnownSize(types[k])) continue;
    return refuse("column " + std::to_string(k + 1) + " has " + codeText(types[k]));
  }
  for (const UsedColumn& used : usedColumns(kind_)) {
    const std::int64_t type = types[static_cast<std::size_t>(used.column)];
    if (used.holds(type)) continue;
    return refuse(columnText(kind_, used.column) + " has " + codeText(type) + " where it needs " +
                  neededText(used));
  }
  const std::pair<std::int64_t, const char*> named[] = {{schema.recordIdPosition, "record id"},
                                                        {schema.statusPosition, "status"},
                                                        {schema.placementPosition, "placement"}};
  for (const auto& [position, what] : named) {
    const std::string which =
        std::string("the ") + what + " column " + std::to_string(position + 1);
    if (position < 0 || position >= schema.fieldsPerRow) {
      return refuse("its schema names " + which + " of " + std::to_string(schema.fieldsPerRow));
    }
    if (laterColumnName(kind_, static_cast<int>(position)) != "unknown") {
      return refuse("its schema names " + columnText(kind_, static_cast<int>(position)) + " as " +
                    "the " + what + " column");
    }
    if (types[static_cast<std::size_t>(position)] != kTypeInteger) {
      return refuse(which + " has " + codeText(types[static_cast<std::size_t>(position)]) +
                    " where it needs " + codeText(kTypeInteger));
    }
  }
  if (schema.recordIdPosition == schema.statusPosition ||
      schema.recordIdPosition == schema.placementPosition ||
      schema.statusPosition == schema.placementPosition) {
    return refuse("its schema names one column for two of the record id, status and placement");
  }
  if (schema.entryCount < 0 || schema.entryCount % schema.fieldsPerRow != 0) {
    return refuse("its entry count " + std::to_string(schema.entryCount) +
                  " is no whole number of records of " + std::to_string(schema.fieldsPerRow) +
                  " columns");
  }
  schema.recordCount = schema.entryCount / schema.fieldsPerRow;
  return true;
}

std::string LaterArchive::fieldPlace(int column) const {
  std::string place = "Record " + std::to_string(record_number_);
  if (id_read_) place += " (id " + std::to_string(record_id_) + ")";
  return place + ", " + columnText(kind_, column);
}

bool LaterArchive::refuseField(int column, std::int64_t code) {
  bad_field_ = true;
  const std::int64_t expected = header_.schema.fieldTypes[static_cast<std::size_t>(column)];
  messages_.showMessage(fieldPlace(column) + ": " + codeText(code) + " where the schema has " +
                        codeText(expected) + "; the rest of the file cannot be read");
  return false;
}

// One field: its code checked against the schema, its value read by the code into the slot.
bool LaterArchive::readField(int column, const Slot& slot) {
  column_ = column;
  const std::int64_t expected = header_.schema.fieldTypes[static_cast<std::size_t>(column)];
  std::optional<std::int64_t> code = reader_.readInteger(4);
  if (!code) return false;
  if (*code != expected && !(isUnknownFour(expected) && isFourBytes(*code))) {
    return refuseField(column, *code);
  }
  if (*code == kTypeNone) return true;
  if (*code == kTypeRepeat) {
    readRepeatValue(reader_, messages_, slot.repeat != nullptr ? *slot.repeat : skipped_repeat_);
    return !reader_.atEnd() && !reader_.halted();
  }
  std::optional<std::int64_t> value = reader_.readInteger(4);
  if (!value) return false;
  if (*code == kTypeString) {
    if (*value != 0) {
      messages_.showMessage(kind_ == RecordKind::kDatebook
                                ? "At Record " + std::to_string(record_number_) +
                                      " The Always zero byte was not zero"
                                : fieldPlace(column) + ": the word before the text is " +
                                      std::to_string(*value) + ", not 0");
    }
    reader_.readCString(slot.text != nullptr ? *slot.text : scratch_, slot.empty);
    return !reader_.atEnd() && !reader_.halted();
  }
  if (slot.number != nullptr) *slot.number = *value;
  if (column == header_.schema.recordIdPosition) {
    record_id_ = *value;
    id_read_ = true;
  }
  if (column == header_.schema.statusPosition) status_ = *value;
  if (column == header_.schema.placementPosition) placement_ = *value;
  return true;
}

template <typename SlotOf>
RecordOutcome LaterArchive::readRecord(std::int64_t number, SlotOf slotOf) {
  record_number_ = number;
  id_read_ = bad_field_ = false;
  record_id_ = status_ = placement_ = 0;
  const int count = static_cast<int>(header_.schema.fieldsPerRow);
  for (int column = 0; column < count && readField(column, slotOf(column)); ++column) {
  }
  if (reader_.halted()) return RecordOutcome::kHalted;
  if (bad_field_) return RecordOutcome::kBadField;
  if (!reader_.atEnd()) return RecordOutcome::kWhole;
  if (kind_ == RecordKind::kTodo && !reader_.sourceFailed()) {
    messages_.showMessage(fieldPlace(column_) + ": the file ends here, " +
                          std::to_string(recordCount()) + " records were announced");
  }
  return RecordOutcome::kCutShort;
}

RecordOutcome LaterArchive::readEvent(std::int64_t number, EventRecord& record) {
  namespace column = later_datebook_column;
  record = EventRecord{};
  const RecordOutcome outcome = readRecord(number, [&](int k) -> Slot {
    switch (k) {
      case column::kCategory:
        return {.number = &record.category};
      case column::kPrivate:
        return {.number = &record.isPrivate};
      case column::kStartTime:
        return {.number = &record.startTime};
      case column::kEndTime:
        return {.number = &record.endTime};
      case column::kDescription:
        return {.text = &record.description, .empty = EmptyCString::kMarker};
      case column::kNote:
        return {.text = &record.note, .empty = EmptyCString::kMarker};
      case column::kUntimed:
        return {.number = &record.untimed};
      case column::kAlarmSet:
        return {.number = &record.alarmSet};
      case column::kAlarmAdvance:
        return {.number = &record.alarmAdvanceUnits};
      case column::kAlarmUnit:
        return {.number = &record.alarmAdvanceType};
      case column::kRepeat:
        return {.repeat = &record.repeat};
      case column::kLocation:
        return {.text = &record.location};
      default:
        return {};
    }
  });
  record.recordId = record_id_;
  record.status = status_;
  record.position = placement_;
  return outcome;
}

RecordOutcome LaterArchive::readTodo(std::int64_t number, TodoRecord& record) {
  namespace column = later_todo_column;
  resetTodo(record);
  std::int64_t category = 0, isPrivate = 0, due = 0, completed = 0, completion = 0;
  std::int64_t afterCompletion = 0, alarmSet = 0;
  const RecordOutcome outcome = readRecord(number, [&](int k) -> Slot {
    switch (k) {
      case column::kCategory:
        return {.number = &category};
      case column::kPrivate:
        return {.number = &isPrivate};
      case column::kDescription:
        return {.text = &record.description};
      case column::kDueDate:
        return {.number = &due};
      case column::kCompleted:
        return {.number = &completed};
      case column::kPriority:
        return {.number = &record.priority};
      case column::kNote:
        return {.text = &record.note};
      case column::kRepeatAfterCompletion:
        return {.number = &afterCompletion};
      case column::kCompletionDate:
        return {.number = &completion};
      case column::kAlarmSet:
        return {.number = &alarmSet};
      case column::kAlarmTime:
        return {.number = &record.alarmMoment};
      case column::kAlarmDaysBefore:
        return {.number = &record.alarmDaysBefore};
      case column::kRepeat:
        return {.repeat = &record.repeat};
      default:
        return {};
    }
  });
  record.recordId = record_id_;
  record.deleted = (status_ & kStatusDeleted) != 0;
  record.category = category;
  record.isPrivate = isPrivate != 0;
  record.completed = completed != 0;
  record.repeatsAfterCompletion = afterCompletion != 0;
  record.alarmSet = alarmSet != 0;
  // As read, "no date" values included: what counts as none is the writer's call.
  if (column_ > column::kDueDate) record.dueMoment = due;
  if (column_ > column::kCompletionDate) record.completionMoment = completion;
  return outcome;
}

std::uint64_t LaterArchive::checkEnd() {
  if (reader_.halted() || reader_.atEnd()) return 0;
  std::uint64_t extra = 0;
  do {
    reader_.readChars(kDrainBlock, scratch_);
    extra += scratch_.size();
  } while (scratch_.size() == kDrainBlock);
  return extra;
}

}  // namespace vessory::archive
