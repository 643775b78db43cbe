#include "support/archive_builder.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace vessory::testing {

namespace {
// Type words as the desktop software writes them; the reader ignores them.
constexpr std::uint32_t kIntegerType = 1;
constexpr std::uint32_t kDateType = 3;
constexpr std::uint32_t kTextType = 5;
constexpr std::uint32_t kBooleanType = 6;
constexpr std::uint32_t kRepeatType = 8;
}  // namespace

RecordPlan journalRecord(std::string note, std::uint32_t startTime, std::string description) {
  RecordPlan layout;
  layout.note = std::move(note);
  layout.startTime = startTime;
  layout.endTime = startTime;
  layout.description = std::move(description);
  return layout;
}

ArchiveBuilder& ArchiveBuilder::integer(int width, std::uint32_t value) {
  for (int i = 0; i < width; ++i) bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
  return *this;
}

ArchiveBuilder& ArchiveBuilder::cstring(std::string_view text) {
  if (text.size() >= 255) return longCString(text);
  integer(1, static_cast<std::uint32_t>(text.size()));
  bytes_ += text;
  return *this;
}

ArchiveBuilder& ArchiveBuilder::longCString(std::string_view text) {
  integer(1, 0xFF);
  integer(2, static_cast<std::uint32_t>(text.size()));
  bytes_ += text;
  return *this;
}

ArchiveBuilder& ArchiveBuilder::raw(std::string_view bytes) {
  bytes_ += bytes;
  return *this;
}

ArchiveBuilder& ArchiveBuilder::strayGroup() { return integer(1, 0xFF).integer(2, 0).integer(2, 0); }

ArchiveBuilder& ArchiveBuilder::sequencingError(std::uint16_t check) {
  return integer(1, 0xFF).integer(2, 0).integer(2, check);
}

ArchiveBuilder& ArchiveBuilder::tag() { return raw(std::string_view("\x00\x01" "BD", 4)); }

ArchiveBuilder& ArchiveBuilder::header(const HeaderPlan& layout) {
  cstring(layout.fileName);
  cstring(layout.showHeader);
  integer(4, layout.nextFreeCategoryId);
  integer(4, layout.categoryCount.value_or(static_cast<std::uint32_t>(layout.categories.size())));
  for (const CategoryPlan& category : layout.categories) {
    integer(4, category.index);
    integer(4, category.id);
    integer(4, category.nameDirty);
    cstring(category.longName);
    cstring(category.shortName);
  }
  integer(4, layout.schemaResourceId);
  integer(4, layout.fieldsPerRow);
  integer(4, layout.recordIdPosition);
  integer(4, layout.recordStatusPosition);
  integer(4, layout.placementPosition);
  integer(2, layout.fieldCount);
  for (int k = 0; k < 15; ++k) {
    integer(2, k < static_cast<int>(layout.fieldEntries.size()) ? layout.fieldEntries[k] : 0);
  }
  return integer(4, layout.entryCount);
}

void ArchiveBuilder::textField(std::uint32_t zeroWord, const std::optional<std::string>& raw,
                               const std::string& text) {
  integer(4, kTextType);
  integer(4, zeroWord);
  if (raw) {
    bytes_ += *raw;
  } else {
    cstring(text);
  }
}

ArchiveBuilder& ArchiveBuilder::record(const RecordPlan& layout) {
  integer(4, kIntegerType).integer(4, layout.recordId);
  integer(4, kIntegerType).integer(4, layout.status);
  integer(4, kIntegerType).integer(4, layout.position);
  integer(4, kDateType).integer(4, layout.startTime);
  integer(4, kDateType).integer(4, layout.endTime);
  textField(layout.descriptionZeroWord, layout.rawDescription, layout.description);
  integer(4, kIntegerType).integer(4, layout.duration);
  textField(layout.noteZeroWord, layout.rawNote, layout.note);
  integer(4, kBooleanType).integer(4, layout.untimed);
  integer(4, kBooleanType).integer(4, layout.isPrivate);
  integer(4, kIntegerType).integer(4, layout.category);
  integer(4, kBooleanType).integer(4, layout.alarmSet);
  integer(4, kIntegerType).integer(4, layout.alarmAdvanceUnits);
  integer(4, kIntegerType).integer(4, layout.alarmAdvanceType);
  repeatBlock(layout);
  return *this;
}

void ArchiveBuilder::repeatBlock(const RecordPlan& layout) {
  integer(4, kRepeatType);
  integer(2, layout.exceptionCount.value_or(static_cast<std::uint16_t>(layout.exceptions.size())));
  for (std::uint32_t date : layout.exceptions) integer(4, date);
  integer(2, layout.repeatFlag);
  if (layout.repeatFlag == 0) return;
  if (layout.repeatFlag == 0xFFFF) {
    integer(2, layout.classConstant);
    integer(2, static_cast<std::uint32_t>(layout.className.size()));
    bytes_ += layout.className;
  }
  integer(4, layout.brand).integer(4, layout.interval).integer(4, layout.endDate);
  integer(4, layout.firstDayOfWeek);
  if (layout.brand >= 1 && layout.brand <= 3) integer(4, layout.dayIndex);
  if (layout.brand == 2) integer(1, layout.daysMask);
  if (layout.brand == 3) integer(4, layout.weekIndex);
  if (layout.brand == 4 || layout.brand == 5) integer(4, layout.dayNumber);
  if (layout.brand == 5) integer(4, layout.monthIndex);
}

ArchiveBuilder& ArchiveBuilder::archive(const std::vector<RecordPlan>& records, HeaderPlan layout) {
  layout.entryCount = static_cast<std::uint32_t>(records.size() * 15);
  tag();
  header(layout);
  for (const RecordPlan& r : records) record(r);
  return *this;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

}  // namespace vessory::testing
