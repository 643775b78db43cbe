#include "handheld/tasks_record.h"

#include "handheld/byte_cursor.h"
#include "handheld/datebook_record.h"
#include "handheld/handheld_format.h"
#include "handheld/later_format.h"
#include "handheld/packed_date.h"

namespace vessory::handheld {

namespace {

using archive::CalendarDate;
using Problem = std::optional<std::string>;

constexpr std::size_t kAlarmPartSize = 4;

Problem readDate(ByteCursor& cursor, const char* what, std::optional<CalendarDate>& out) {
  const std::optional<std::uint32_t> packed = cursor.number(2);
  if (!packed) return std::string("its ") + what + " runs past the record's end";
  const auto date = static_cast<std::uint16_t>(*packed);
  if (date == kNoDate) return std::nullopt;
  out = unpackDate(date);
  if (!out) return std::string("its ") + what + " " + packedHex(date) + " names no day";
  return std::nullopt;
}

Problem readAlarm(ByteCursor& cursor, archive::TodoRecord& out) {
  const std::optional<std::uint32_t> time = cursor.number(2);
  const std::optional<std::uint32_t> days = cursor.number(2);
  if (!time || !days) return std::string("its alarm runs past the record's end");
  const int hour = static_cast<int>(*time >> 8);
  const int minute = static_cast<int>(*time & 0xFF);
  if (hour > 23 || minute > 59) return "its alarm time " + packedHex(*time) + " is no time";
  out.alarm = archive::TodoRecord::Alarm{hour, minute, static_cast<std::int64_t>(*days)};
  return std::nullopt;
}

Problem readRepeat(ByteCursor& cursor, archive::TodoRecord& out) {
  if (Problem problem = readDate(cursor, "repeat start", out.repeatStart)) return problem;
  const std::span<const unsigned char> block = cursor.rest();
  if (!cursor.skip(kRepeatSize)) return std::string("its repeat runs past the record's end");
  // A repeat needs its first day; a task whose start is "none" repeats from its due day.
  const std::optional<CalendarDate> first = out.repeatStart ? out.repeatStart : out.dueDate;
  if (!first) return std::string("its repeat has no first day");
  out.repeatStart = first;
  return unpackRepeat(block, *first, out.repeat);
}

}  // namespace

std::optional<std::string> unpackTask(std::span<const unsigned char> bytes,
                                      archive::TodoRecord& out, RecordRemarks& remarks) {
  if (bytes.size() < kTaskFixedSize) return "it is shorter than a task's fixed 6 bytes";
  const auto data = static_cast<std::uint16_t>(*bigEndianAt(bytes, 0, 2));
  const auto flags = static_cast<std::uint16_t>(*bigEndianAt(bytes, 2, 2));
  out.priority = *bigEndianAt(bytes, 4, 2);
  out.completed = (flags & kTaskCompleted) != 0;
  out.repeatsAfterCompletion = (flags & kTaskRepeatsAfterCompletion) != 0;
  ByteCursor cursor(bytes.subspan(kTaskFixedSize));
  Problem problem;
  if ((data & kTaskHasDue) != 0) problem = readDate(cursor, "due date", out.dueDate);
  if (!problem && (data & kTaskHasCompletion) != 0) {
    problem = readDate(cursor, "completion date", out.completionDate);
  }
  if (!problem && (data & kTaskHasAlarm) != 0) problem = readAlarm(cursor, out);
  if (!problem && (data & kTaskHasRepeat) != 0) problem = readRepeat(cursor, out);
  if (problem) return problem;
  std::optional<std::string> description = cursor.text();
  if (!description) return std::string("its description lacks its closing NUL");
  std::optional<std::string> note = cursor.text();
  if (!note) return std::string("its note lacks its closing NUL");
  remarks.junkTail = cursor.remaining() != 0;
  out.description = std::move(*description);
  out.note = std::move(*note);
  return std::nullopt;
}

}  // namespace vessory::handheld
