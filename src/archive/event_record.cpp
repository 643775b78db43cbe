#include "archive/event_record.h"

#include "archive/format.h"

namespace vessory::archive {

namespace {

// Every field opens with a type word that is read and not used.
inline void skipTypeWord(ArchiveReader& reader) { reader.readInteger(4); }

inline std::int64_t readValueField(ArchiveReader& reader) {
  skipTypeWord(reader);
  return reader.readInteger(4).value_or(0);
}

void readTextField(ArchiveReader& reader, std::int64_t ordinal, MessageSink& messages,
                   std::string& out) {
  skipTypeWord(reader);
  if (reader.readInteger(4).value_or(0) != 0) {
    messages.showMessage("At Record " + std::to_string(ordinal) +
                         " The Always zero byte was not zero");
  }
  reader.readCString(out);
}

void readExceptions(ArchiveReader& reader, RepeatEvent& repeat) {
  repeat.exceptionCount = reader.readInteger(2).value_or(0);
  for (std::int64_t j = 1; j <= repeat.exceptionCount && !reader.atEnd(); ++j) {
    std::int64_t date = reader.readInteger(4).value_or(0);
    if (static_cast<std::size_t>(j) > repeat.exceptions.size()) {
      repeat.exceptions.push_back(date);
    } else {
      repeat.exceptions[static_cast<std::size_t>(j - 1)] = date;
    }
  }
}

void readClassEntry(ArchiveReader& reader, MessageSink& messages) {
  // A constant cut off by the end of the archive is reported by the end notice alone.
  std::optional<std::int64_t> constant = reader.readInteger(2);
  if (constant && *constant != kExpectedClassConstant) {
    messages.showMessage("Should be Constant 1: " + std::to_string(*constant));
  }
  std::int64_t name_length = reader.readInteger(2).value_or(0);
  std::string class_name;
  reader.readChars(static_cast<std::size_t>(name_length), class_name);
}

void readRepeatData(ArchiveReader& reader, RepeatEvent& repeat) {
  repeat.brand = reader.readInteger(4).value_or(0);
  repeat.interval = reader.readInteger(4).value_or(0);
  repeat.endDate = reader.readInteger(4).value_or(0);
  repeat.firstDayOfWeek = reader.readInteger(4).value_or(0);
  const std::int64_t brand = repeat.brand;
  if (brand == kRepeatDaily || brand == kRepeatWeekly || brand == kRepeatMonthlyByDay) {
    repeat.brandDayIndex = reader.readInteger(4).value_or(0);
  }
  if (brand == kRepeatWeekly) {
    repeat.brandDaysMask = static_cast<int>(reader.readInteger(1).value_or(0));
  }
  if (brand == kRepeatMonthlyByDay) repeat.brandWeekIndex = reader.readInteger(4).value_or(0);
  if (brand == kRepeatMonthlyByDate || brand == kRepeatYearly) {
    repeat.brandDayNumber = reader.readInteger(4).value_or(0);
  }
  if (brand == kRepeatYearly) repeat.brandMonthIndex = reader.readInteger(4).value_or(0);
}

}  // namespace

void readRepeatValue(ArchiveReader& reader, MessageSink& messages, RepeatEvent& repeat) {
  readExceptions(reader, repeat);
  std::int64_t flag = reader.readInteger(2).value_or(0);
  repeat.isRepeating = flag != 0;
  if (flag == 0) return;
  if (flag == kRepeatFlagWithClassEntry) readClassEntry(reader, messages);
  readRepeatData(reader, repeat);
}

void readEventRecord(ArchiveReader& reader, std::int64_t ordinal, EventRecord& record,
                     MessageSink& messages, RecordObserver* observer) {
  record.recordId = readValueField(reader);
  record.status = readValueField(reader);
  record.position = readValueField(reader);
  record.startTime = readValueField(reader);
  if (observer != nullptr) observer->startTimeRead(record);
  record.endTime = readValueField(reader);
  readTextField(reader, ordinal, messages, record.description);
  if (reader.halted()) return;
  if (observer != nullptr) observer->descriptionRead(record);
  record.duration = readValueField(reader);
  readTextField(reader, ordinal, messages, record.note);
  if (reader.halted()) return;
  record.untimed = readValueField(reader);
  record.isPrivate = readValueField(reader);
  record.category = readValueField(reader);
  record.alarmSet = readValueField(reader);
  record.alarmAdvanceUnits = readValueField(reader);
  record.alarmAdvanceType = readValueField(reader);
  skipTypeWord(reader);
  readRepeatValue(reader, messages, record.repeat);
}

}  // namespace vessory::archive
