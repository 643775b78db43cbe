#include "archive/organiser_archive.h"

#include "archive/archive_identity.h"

namespace vessory::archive {

namespace {

// Trailing data is counted in blocks of this size, read into one reused string.
constexpr std::size_t kDrainBlock = 4096;

std::string describeCode(std::int64_t code) {
  const std::string_view name = fieldTypeName(code);
  if (name.empty()) return "unknown type code " + std::to_string(code);
  return "type code " + std::to_string(code) + " (" + std::string(name) + ")";
}

std::span<const FieldColumn> columnsOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kAddress:
      return kAddressColumns;
    case RecordKind::kTodo:
      return kTodoColumns;
    case RecordKind::kMemo:
      return kMemoColumns;
    case RecordKind::kDatebook:
      break;
  }
  return {};
}

void resetBasics(RecordBasics& record) {
  record.recordId = 0;
  record.deleted = false;
  record.isPrivate = false;
  record.category = 0;
}

// Clears in place rather than assigning a new record, so that the strings keep their storage.
void resetContact(ContactRecord& record) {
  resetBasics(record);
  for (std::string* text :
       {&record.lastName, &record.firstName, &record.lastNameReading, &record.firstNameReading,
        &record.title, &record.company, &record.address, &record.city, &record.state,
        &record.zipCode, &record.country, &record.note}) {
    text->clear();
  }
  for (Phone& phone : record.phones) {
    phone.label = 0;
    phone.value.clear();
  }
  for (std::string& text : record.custom) text.clear();
}

}  // namespace

void resetTodo(TodoRecord& record) {
  resetBasics(record);
  record.description.clear();
  record.note.clear();
  record.dueMoment.reset();
  record.dueDate.reset();
  record.completed = false;
  record.priority = 0;
  record.completionDate.reset();
  record.completionMoment.reset();
  record.alarm.reset();
  record.alarmSet = false;
  record.alarmMoment = -1;
  record.alarmDaysBefore = 0;
  record.repeatStart.reset();
  record.repeat = RepeatEvent{};
  record.repeatsAfterCompletion = false;
}

OrganiserArchive::OrganiserArchive(ArchiveReader& reader, MessageSink& messages, RecordKind kind)
    : reader_(reader), messages_(messages), kind_(kind), columns_(columnsOf(kind)) {}

HeaderOutcome OrganiserArchive::readHeader(OrganiserCatalogue& catalogue) {
  catalogue.kind = kind_;
  catalogue.categories.clear();
  reader_.readCString(file_name_, EmptyCString::kEmpty);
  catalogue.identity = identityHex(desktopArchiveIdentity(file_name_));
  reader_.readCString(table_string_, EmptyCString::kEmpty);
  reader_.readInteger(4);  // next free category id: only the desktop needs it
  const std::int64_t category_count = reader_.readInteger(4).value_or(0);
  readCategories(category_count, catalogue);
  schema_ = readOrganiserSchema(reader_);
  if (reader_.halted()) return HeaderOutcome::kHalted;
  if (reader_.atEnd()) {
    if (!reader_.sourceFailed()) {
      messages_.showMessage("The " + std::string(recordKindName(kind_)) +
                            " archive ends inside its header");
    }
    return HeaderOutcome::kEndedEarly;
  }
  return schemaFits() ? HeaderOutcome::kOk : HeaderOutcome::kSchemaMisfit;
}

void OrganiserArchive::readCategories(std::int64_t count, OrganiserCatalogue& catalogue) {
  // The count may be corrupt: the loop ends with the data rather than after four billion.
  std::string short_name;
  for (std::int64_t i = 1; i <= count && !reader_.atEnd() && !reader_.halted(); ++i) {
    const std::int64_t index = reader_.readInteger(4).value_or(0);
    reader_.readInteger(4);  // id
    reader_.readInteger(4);  // name-dirty flag
    std::string long_name;
    reader_.readCString(long_name, EmptyCString::kEmpty);
    if (reader_.atEnd() || reader_.halted()) return;
    catalogue.categories.emplace_back(index, std::move(long_name));
    reader_.readCString(short_name, EmptyCString::kEmpty);
  }
}

OrganiserSchema readOrganiserSchema(ArchiveReader& reader) {
  OrganiserSchema schema;
  schema.resourceId = reader.readInteger(4).value_or(0);
  schema.fieldsPerRow = reader.readInteger(4).value_or(0);
  schema.recordIdPosition = reader.readInteger(4).value_or(0);
  schema.statusPosition = reader.readInteger(4).value_or(0);
  schema.placementPosition = reader.readInteger(4).value_or(0);
  schema.fieldCount = reader.readInteger(2).value_or(0);
  // At most 65535 codes, and never more than the archive holds.
  for (std::int64_t k = 0; k < schema.fieldCount; ++k) {
    std::optional<std::int64_t> code = reader.readInteger(2);
    if (!code) return schema;
    schema.fieldTypes.push_back(*code);
  }
  std::optional<std::int64_t> entries = reader.readInteger(4);
  if (!entries) return schema;
  schema.entryCount = *entries;
  if (schema.fieldsPerRow > 0 && schema.entryCount > 0) {
    schema.recordCount = schema.entryCount / schema.fieldsPerRow;
  }
  return schema;
}

bool OrganiserArchive::schemaFits() {
  const auto expected = static_cast<std::int64_t>(columns_.size());
  const std::string count = std::to_string(expected);
  if (schema_.fieldsPerRow != expected) {
    reportMisfit(std::to_string(schema_.fieldsPerRow) + " fields per row where " + count +
                 " are expected");
    return false;
  }
  if (schema_.fieldCount != expected) {
    reportMisfit("a field count of " + std::to_string(schema_.fieldCount) + " where " + count +
                 " is expected");
    return false;
  }
  for (std::size_t k = 0; k < columns_.size() && k < schema_.fieldTypes.size(); ++k) {
    if (schema_.fieldTypes[k] == columns_[k].type) continue;
    reportMisfit(describeCode(schema_.fieldTypes[k]) + " for field " + std::to_string(k + 1) +
                 " (" + std::string(columns_[k].name) + ") where " +
                 describeCode(columns_[k].type) + " is expected");
    return false;
  }
  return true;
}

void OrganiserArchive::reportMisfit(const std::string& what) {
  messages_.showMessage("This " + std::string(recordKindName(kind_)) +
                        " archive cannot be read: its schema has " + what +
                        " (it may come from another version of the desktop software)");
}

void OrganiserArchive::startRecord(std::int64_t number) {
  record_number_ = number;
  record_id_.reset();
  bad_field_ = false;
  column_ = 0;
  status_ = 0;
}

bool OrganiserArchive::refuseField(int column, std::int64_t code) {
  bad_field_ = true;
  messages_.showMessage(fieldPlace(column) + ": " + describeCode(code) + " where the schema has " +
                        describeCode(columns_[static_cast<std::size_t>(column)].type) +
                        "; the rest of the archive cannot be read");
  return false;
}

void OrganiserArchive::reportZeroWord(int column, std::int64_t word) {
  messages_.showMessage(fieldPlace(column) + ": the word before the text is " +
                        std::to_string(word) + ", not 0");
}

// The hot path of every record: kept small so that it inlines into readRecord, with the
// messages out of line.
inline bool OrganiserArchive::readField(int column, const FieldSlot& slot) {
  column_ = column;
  // The schema has been checked against the kind, so the column's code is the schema's.
  const std::int64_t expected = columns_[static_cast<std::size_t>(column)].type;
  std::optional<std::int64_t> code = reader_.readInteger(4);
  if (!code) return false;
  if (*code != expected) return refuseField(column, *code);
  std::optional<std::int64_t> value = reader_.readInteger(4);
  if (!value) return false;
  if (expected == kTypeString) {
    if (*value != 0) reportZeroWord(column, *value);
    reader_.readCString(slot.text != nullptr ? *slot.text : scratch_, EmptyCString::kEmpty);
    return !reader_.atEnd() && !reader_.halted();
  }
  // Integer, date and boolean columns all hold one Long.
  if (slot.number != nullptr) *slot.number = *value;
  if (slot.flag != nullptr) *slot.flag = *value != 0;
  if (column == kRecordIdColumn) record_id_ = *value;
  return true;
}

OrganiserArchive::FieldSlot OrganiserArchive::basicSlot(RecordBasics& record, int column) {
  if (column == kRecordIdColumn) return {.number = &record.recordId};
  if (column == kStatusColumn) return {.number = &status_};
  return {};  // the placement: the desktop's sort position, which no export keeps
}

template <typename Record, typename SlotOf>
RecordOutcome OrganiserArchive::readRecord(std::int64_t number, Record& record, SlotOf slotOf) {
  startRecord(number);
  const int count = static_cast<int>(columns_.size());
  for (int column = 0; column < count && readField(column, slotOf(column)); ++column) {
  }
  record.deleted = (status_ & kStatusDeleted) != 0;
  return finishRecord();
}

RecordOutcome OrganiserArchive::finishRecord() {
  if (reader_.halted()) return RecordOutcome::kHalted;
  if (bad_field_) return RecordOutcome::kBadField;
  if (!reader_.atEnd()) return RecordOutcome::kWhole;
  if (!reader_.sourceFailed()) {
    messages_.showMessage(fieldPlace(column_) + ": the archive ends here, " +
                          std::to_string(schema_.recordCount) + " records were announced");
  }
  return RecordOutcome::kCutShort;
}

std::string OrganiserArchive::fieldPlace(int column) const {
  std::string place = "Record " + std::to_string(record_number_);
  if (record_id_) place += " (id " + std::to_string(*record_id_) + ")";
  place += ", field " + std::to_string(column + 1);
  if (static_cast<std::size_t>(column) < columns_.size()) {
    place += " (" + std::string(columns_[static_cast<std::size_t>(column)].name) + ")";
  }
  return place;
}

RecordOutcome OrganiserArchive::readContact(std::int64_t number, ContactRecord& record) {
  namespace column = address_column;
  resetContact(record);
  return readRecord(number, record, [&](int k) -> FieldSlot {
    switch (k) {
      case column::kLastName:
        return {.text = &record.lastName};
      case column::kFirstName:
        return {.text = &record.firstName};
      case column::kTitle:
        return {.text = &record.title};
      case column::kCompany:
        return {.text = &record.company};
      case column::kAddress:
        return {.text = &record.address};
      case column::kCity:
        return {.text = &record.city};
      case column::kState:
        return {.text = &record.state};
      case column::kZipCode:
        return {.text = &record.zipCode};
      case column::kCountry:
        return {.text = &record.country};
      case column::kNote:
        return {.text = &record.note};
      case column::kPrivate:
        return {.flag = &record.isPrivate};
      case column::kCategory:
        return {.number = &record.category};
      default:
        break;
    }
    const int phone = k - column::kFirstPhoneLabel;
    if (phone >= 0 && phone < 2 * kPhoneCount) {
      Phone& slot = record.phones[static_cast<std::size_t>(phone / 2)];
      return phone % 2 == 0 ? FieldSlot{.number = &slot.label} : FieldSlot{.text = &slot.value};
    }
    const int custom = k - column::kFirstCustom;
    if (custom >= 0 && custom < kCustomFieldCount) {
      return {.text = &record.custom[static_cast<std::size_t>(custom)]};
    }
    return basicSlot(record, k);  // and the displayed phone, a list-view setting: dropped
  });
}

RecordOutcome OrganiserArchive::readTodo(std::int64_t number, TodoRecord& record) {
  namespace column = todo_column;
  resetTodo(record);
  std::int64_t due = 0;
  RecordOutcome outcome = readRecord(number, record, [&](int k) -> FieldSlot {
    switch (k) {
      case column::kDescription:
        return {.text = &record.description};
      case column::kDueDate:
        return {.number = &due};
      case column::kCompleted:
        return {.flag = &record.completed};
      case column::kPriority:
        return {.number = &record.priority};
      case column::kPrivate:
        return {.flag = &record.isPrivate};
      case column::kCategory:
        return {.number = &record.category};
      case column::kNote:
        return {.text = &record.note};
      default:
        return basicSlot(record, k);
    }
  });
  // As read, "no date" values included: what counts as none is the writer's call.
  if (column_ > column::kDueDate) record.dueMoment = due;
  return outcome;
}

RecordOutcome OrganiserArchive::readMemo(std::int64_t number, MemoRecord& record) {
  namespace column = memo_column;
  resetBasics(record);
  record.text.clear();
  return readRecord(number, record, [&](int k) -> FieldSlot {
    switch (k) {
      case column::kText:
        return {.text = &record.text};
      case column::kPrivate:
        return {.flag = &record.isPrivate};
      case column::kCategory:
        return {.number = &record.category};
      default:
        return basicSlot(record, k);
    }
  });
}

std::uint64_t OrganiserArchive::checkEnd() {
  if (reader_.halted() || reader_.atEnd()) return 0;
  std::uint64_t extra = 0;
  do {
    reader_.readChars(kDrainBlock, scratch_);
    extra += scratch_.size();
  } while (scratch_.size() == kDrainBlock);
  if (extra > 0) {
    messages_.showMessage(std::to_string(extra) + " bytes follow the last of the " +
                          std::to_string(schema_.recordCount) + " records the header announces");
  }
  return extra;
}

}  // namespace vessory::archive
