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

RecordSpec journalRecord(std::string note, std::uint32_t startTime, std::string description) {
  RecordSpec spec;
  spec.note = std::move(note);
  spec.startTime = startTime;
  spec.endTime = startTime;
  spec.description = std::move(description);
  return spec;
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

ArchiveBuilder& ArchiveBuilder::header(const HeaderSpec& spec) {
  cstring(spec.fileName);
  cstring(spec.showHeader);
  integer(4, spec.nextFreeCategoryId);
  integer(4, spec.categoryCount.value_or(static_cast<std::uint32_t>(spec.categories.size())));
  for (const CategorySpec& category : spec.categories) {
    integer(4, category.index);
    integer(4, category.id);
    integer(4, category.nameDirty);
    cstring(category.longName);
    cstring(category.shortName);
  }
  integer(4, spec.schemaResourceId);
  integer(4, spec.fieldsPerRow);
  integer(4, spec.recordIdPosition);
  integer(4, spec.recordStatusPosition);
  integer(4, spec.placementPosition);
  integer(2, spec.fieldCount);
  for (int k = 0; k < 15; ++k) {
    integer(2, k < static_cast<int>(spec.fieldEntries.size()) ? spec.fieldEntries[k] : 0);
  }
  return integer(4, spec.entryCount);
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

ArchiveBuilder& ArchiveBuilder::record(const RecordSpec& spec) {
  integer(4, kIntegerType).integer(4, spec.recordId);
  integer(4, kIntegerType).integer(4, spec.status);
  integer(4, kIntegerType).integer(4, spec.position);
  integer(4, kDateType).integer(4, spec.startTime);
  integer(4, kDateType).integer(4, spec.endTime);
  textField(spec.descriptionZeroWord, spec.rawDescription, spec.description);
  integer(4, kIntegerType).integer(4, spec.duration);
  textField(spec.noteZeroWord, spec.rawNote, spec.note);
  integer(4, kBooleanType).integer(4, spec.untimed);
  integer(4, kBooleanType).integer(4, spec.isPrivate);
  integer(4, kIntegerType).integer(4, spec.category);
  integer(4, kBooleanType).integer(4, spec.alarmSet);
  integer(4, kIntegerType).integer(4, spec.alarmAdvanceUnits);
  integer(4, kIntegerType).integer(4, spec.alarmAdvanceType);
  repeatBlock(spec);
  return *this;
}

void ArchiveBuilder::repeatBlock(const RecordSpec& spec) {
  integer(4, kRepeatType);
  integer(2, spec.exceptionCount.value_or(static_cast<std::uint16_t>(spec.exceptions.size())));
  for (std::uint32_t date : spec.exceptions) integer(4, date);
  integer(2, spec.repeatFlag);
  if (spec.repeatFlag == 0) return;
  if (spec.repeatFlag == 0xFFFF) {
    integer(2, spec.classConstant);
    integer(2, static_cast<std::uint32_t>(spec.className.size()));
    bytes_ += spec.className;
  }
  integer(4, spec.brand).integer(4, spec.interval).integer(4, spec.endDate);
  integer(4, spec.firstDayOfWeek);
  if (spec.brand >= 1 && spec.brand <= 3) integer(4, spec.dayIndex);
  if (spec.brand == 2) integer(1, spec.daysMask);
  if (spec.brand == 3) integer(4, spec.weekIndex);
  if (spec.brand == 4 || spec.brand == 5) integer(4, spec.dayNumber);
  if (spec.brand == 5) integer(4, spec.monthIndex);
}

ArchiveBuilder& ArchiveBuilder::archive(const std::vector<RecordSpec>& records, HeaderSpec spec) {
  spec.entryCount = static_cast<std::uint32_t>(records.size() * 15);
  tag();
  header(spec);
  for (const RecordSpec& r : records) record(r);
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
