#include "support/later_desktop_builder.h"

namespace vessory::testing {

namespace {

constexpr std::uint32_t kString = 5;
constexpr std::uint32_t kRepeat = 8;

std::string le(int width, std::uint32_t value) {
  ArchiveBuilder out;
  out.integer(width, value);
  return out.bytes();
}

// The column's own code for a value of unknown meaning: 0 in four bytes, empty text, no repeat.
LaterField filler(std::uint16_t code) {
  if (code == 0) return {0, ""};
  if (code == kString) return laterText("");
  if (code == kRepeat) return laterRepeat(RecordPlan{});
  return laterInteger(0, code);
}

LaterRecord blankRecord(const LaterPlan& plan, std::uint32_t id, std::uint32_t status,
                        std::uint32_t placement) {
  LaterRecord record;
  for (std::uint16_t code : plan.fieldTypes) record.push_back(filler(code));
  const std::uint32_t values[] = {id, status, placement};
  for (int k = 0; k < 3; ++k) {
    if (plan.positions[k] < record.size()) record[plan.positions[k]] = laterInteger(values[k]);
  }
  return record;
}

// Sets a used column, keeping the schema's code where it is a time declared an integer.
void put(LaterRecord& record, const LaterPlan& plan, std::size_t column, LaterField field) {
  if (column >= record.size()) return;
  if (field.code == 3 && plan.fieldTypes[column] == 1) field.code = 1;
  record[column] = std::move(field);
}

}  // namespace

std::vector<std::uint16_t> laterDatebookTypes() {
  return {1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 3, 3, 5, 1, 5, 6, 6, 1, 1, 8, 5, 1, 5, 5};
}

std::vector<std::uint16_t> laterTodoTypes() {
  return {1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 5, 3, 6, 1, 5, 6, 3, 6, 3, 1, 3, 8};
}

LaterPlan laterDatebookPlan() {
  LaterPlan plan;
  plan.fieldTypes = laterDatebookTypes();
  return plan;
}

LaterPlan laterTodoPlan() {
  LaterPlan plan;
  plan.tag = std::string("\x00\x02" "DT", 4);
  plan.fileName = "C:\\Program Files\\palmOne\\User\\todo\\todo.dat";
  plan.resourceId = 44;
  plan.fieldTypes = laterTodoTypes();
  return plan;
}

LaterField laterInteger(std::uint32_t value, std::uint32_t code) { return {code, le(4, value)}; }

LaterField laterText(const std::string& text, std::uint32_t zeroWord) {
  ArchiveBuilder out;
  out.integer(4, zeroWord).cstring(text);
  return {kString, out.bytes()};
}

LaterField laterRepeat(const RecordPlan& record) {
  ArchiveBuilder out;
  out.repeatBlock(record);
  return {kRepeat, out.bytes().substr(4)};
}

LaterRecord laterEvent(const RecordPlan& r, const std::string& location, const LaterPlan& plan) {
  LaterRecord record = blankRecord(plan, r.recordId, r.status, r.position);
  put(record, plan, 5, laterInteger(r.category));
  put(record, plan, 6, laterInteger(r.isPrivate, 6));
  put(record, plan, 13, laterInteger(r.startTime, 3));
  put(record, plan, 14, laterInteger(r.endTime, 3));
  put(record, plan, 15, laterText(r.description, r.descriptionZeroWord));
  // The duration, where the schema keeps its column an integer (as the files described do).
  if (plan.fieldTypes.size() > 16 && plan.fieldTypes[16] == 1) {
    put(record, plan, 16, laterInteger(r.duration));
  }
  put(record, plan, 17, laterText(r.note, r.noteZeroWord));
  put(record, plan, 18, laterInteger(r.untimed, 6));
  put(record, plan, 19, laterInteger(r.alarmSet, 6));
  put(record, plan, 20, laterInteger(r.alarmAdvanceUnits));
  put(record, plan, 21, laterInteger(r.alarmAdvanceType));
  put(record, plan, 22, laterRepeat(r));
  put(record, plan, 23, laterText(location));
  return record;
}

LaterRecord laterTodo(const LaterTodoPlan& r, const LaterPlan& plan) {
  LaterRecord record = blankRecord(plan, r.recordId, r.status, r.placement);
  put(record, plan, 5, laterInteger(r.category));
  put(record, plan, 6, laterInteger(r.isPrivate, 6));
  put(record, plan, 13, laterText(r.description));
  put(record, plan, 14, laterInteger(r.dueDate, 3));
  put(record, plan, 15, laterInteger(r.completed, 6));
  put(record, plan, 16, laterInteger(r.priority));
  put(record, plan, 17, laterText(r.note));
  put(record, plan, 18, laterInteger(r.repeatAfterCompletion, 6));
  put(record, plan, 19, laterInteger(r.completionDate, 3));
  put(record, plan, 20, laterInteger(r.alarmSet, 6));
  put(record, plan, 21, laterInteger(r.alarmTime, 3));
  put(record, plan, 22, laterInteger(r.alarmDaysBefore));
  put(record, plan, 23, laterInteger(kNoDueDate, 3));
  put(record, plan, 24, laterRepeat(r.repeat));
  return record;
}

std::string buildLaterFile(const LaterPlan& plan, const std::vector<LaterRecord>& records) {
  ArchiveBuilder out;
  if (plan.wrapped) out.raw(std::string_view("\xBE\xBA\xFE\xCA", 4)).cstring("PalmSG Database").raw("00RV");
  out.raw(plan.tag).raw(plan.zeroRuns[0]).integer(4, 0x1165).raw(plan.zeroRuns[1]);
  out.cstring(plan.fileName).raw(plan.zeroRuns[2]).integer(4, 129);
  out.integer(4, plan.categoryCount.value_or(static_cast<std::uint32_t>(plan.categories.size())));
  for (const CategoryPlan& c : plan.categories) {
    out.integer(4, c.index).integer(4, c.id).integer(4, c.nameDirty);
    out.cstring(c.longName).cstring(c.shortName);
  }
  const auto columns = static_cast<std::uint32_t>(plan.fieldTypes.size());
  const std::uint32_t perRow = plan.fieldsPerRow.value_or(columns);
  out.integer(4, plan.resourceId).integer(4, perRow);
  for (std::uint32_t position : plan.positions) out.integer(4, position);
  out.integer(2, plan.fieldCount.value_or(static_cast<std::uint16_t>(columns)));
  for (std::uint16_t code : plan.fieldTypes) out.integer(2, code);
  out.integer(4, plan.entryCount.value_or(static_cast<std::uint32_t>(records.size()) * perRow));
  for (const LaterRecord& record : records) {
    for (const LaterField& field : record) out.integer(4, field.code).raw(field.value);
  }
  return out.bytes() + plan.trailing;
}

}  // namespace vessory::testing
