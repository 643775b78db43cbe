#include "archive/later_columns.h"

#include <array>

#include "archive/later_archive.h"
#include "archive/later_format.h"
#include "archive/organiser_format.h"

namespace vessory::archive {

namespace later {

namespace {

constexpr std::array<UsedColumn, 12> kDatebookColumns{{
    {later_datebook_column::kCategory, kTypeInteger, kNoOtherType, "category"},
    {later_datebook_column::kPrivate, kTypeBoolean, kNoOtherType, "private"},
    {later_datebook_column::kStartTime, kTypeInteger, kTypeDate, "start time"},
    {later_datebook_column::kEndTime, kTypeInteger, kTypeDate, "end time"},
    {later_datebook_column::kDescription, kTypeString, kNoOtherType, "description"},
    {later_datebook_column::kNote, kTypeString, kNoOtherType, "note"},
    {later_datebook_column::kUntimed, kTypeBoolean, kNoOtherType, "untimed"},
    {later_datebook_column::kAlarmSet, kTypeBoolean, kNoOtherType, "alarm set"},
    {later_datebook_column::kAlarmAdvance, kTypeInteger, kNoOtherType, "alarm advance"},
    {later_datebook_column::kAlarmUnit, kTypeInteger, kNoOtherType, "alarm unit"},
    {later_datebook_column::kRepeat, kTypeRepeat, kNoOtherType, "repeat"},
    {later_datebook_column::kLocation, kTypeString, kNoOtherType, "location"},
}};

constexpr std::array<UsedColumn, 13> kTodoColumns{{
    {later_todo_column::kCategory, kTypeInteger, kNoOtherType, "category"},
    {later_todo_column::kPrivate, kTypeBoolean, kNoOtherType, "private"},
    {later_todo_column::kDescription, kTypeString, kNoOtherType, "description"},
    {later_todo_column::kDueDate, kTypeInteger, kTypeDate, "due date"},
    {later_todo_column::kCompleted, kTypeBoolean, kNoOtherType, "completed"},
    {later_todo_column::kPriority, kTypeInteger, kNoOtherType, "priority"},
    {later_todo_column::kNote, kTypeString, kNoOtherType, "note"},
    {later_todo_column::kRepeatAfterCompletion, kTypeBoolean, kNoOtherType,
     "repeat after completion"},
    {later_todo_column::kCompletionDate, kTypeInteger, kTypeDate, "completion date"},
    {later_todo_column::kAlarmSet, kTypeBoolean, kNoOtherType, "alarm set"},
    {later_todo_column::kAlarmTime, kTypeInteger, kTypeDate, "alarm time"},
    {later_todo_column::kAlarmDaysBefore, kTypeInteger, kNoOtherType, "alarm days in advance"},
    {later_todo_column::kRepeat, kTypeRepeat, kNoOtherType, "repeat"},
}};

}  // namespace

std::span<const UsedColumn> usedColumns(RecordKind kind) {
  if (kind == RecordKind::kTodo) return kTodoColumns;
  return kDatebookColumns;
}

int minimumColumns(RecordKind kind) {
  return kind == RecordKind::kTodo ? later_todo_column::kCount : later_datebook_column::kCount;
}

bool isUnknownFour(std::int64_t code) { return code >= kTypeUnknown64 && code <= kTypeUnknown67; }

bool isFourBytes(std::int64_t code) {
  return code == kTypeInteger || code == kTypeFloat || code == kTypeDate || code == kTypeBoolean ||
         code == kTypeBitFlags || isUnknownFour(code);
}

bool hasKnownSize(std::int64_t code) {
  return code == kTypeNone || code == kTypeString || code == kTypeRepeat || isFourBytes(code);
}

std::string codeText(std::int64_t code) {
  std::string_view name = fieldTypeName(code);
  if (name.empty() && isUnknownFour(code)) name = "four unknown bytes";
  if (name.empty()) return "type " + std::to_string(code) + " (of no known size)";
  return "type " + std::to_string(code) + " (" + std::string(name) + ")";
}

std::string neededText(const UsedColumn& used) {
  std::string text = codeText(used.type);
  if (used.otherType != kNoOtherType) text += " or " + codeText(used.otherType);
  return text;
}

std::string columnText(RecordKind kind, int column) {
  std::string text = "column " + std::to_string(column + 1);
  const std::string_view name = laterColumnName(kind, column);
  if (name != "unknown") text += " (" + std::string(name) + ")";
  return text;
}

}  // namespace later

std::string_view laterColumnName(RecordKind kind, int column) {
  for (const later::UsedColumn& used : later::usedColumns(kind)) {
    if (used.column == column) return used.name;
  }
  return "unknown";
}

}  // namespace vessory::archive
