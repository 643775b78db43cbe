#include "handheld/datebook_record.h"

#include "handheld/byte_cursor.h"
#include "handheld/handheld_format.h"
#include "handheld/later_format.h"
#include "handheld/packed_date.h"

namespace vessory::handheld {

namespace {

using archive::CalendarDate;
using archive::EventRecord;
using archive::RepeatEvent;
using Problem = std::optional<std::string>;

constexpr std::uint16_t kKnownFlags =
    kEventHasAlarm | kEventHasRepeat | kEventHasNote | kEventHasExceptions | kEventHasDescription;
constexpr std::int64_t kUnixEpochWeekday = 4;  // 1970-01-01 was a Thursday
constexpr std::int64_t kSecondsPerDay = 86400;

std::string hex4(std::uint32_t value) { return packedHex(static_cast<std::uint16_t>(value)); }

Problem dateProblem(const char* what, std::uint16_t packed) {
  return std::string(what) + " " + hex4(packed) + " names no day";
}

// A packed date that must name a day, as the midnight that starts it.
Problem readDay(ByteCursor& cursor, const char* what, std::int64_t& seconds) {
  const std::optional<std::uint32_t> packed = cursor.number(2);
  if (!packed) return std::string(what) + " runs past the record's end";
  const std::optional<CalendarDate> day = unpackDate(static_cast<std::uint16_t>(*packed));
  if (!day) return dateProblem(what, static_cast<std::uint16_t>(*packed));
  seconds = wallSeconds(*day, 0, 0);
  return std::nullopt;
}

int weekdayOf(std::int64_t midnight) {
  const std::int64_t days =
      (midnight >= 0 ? midnight : midnight - (kSecondsPerDay - 1)) / kSecondsPerDay;
  return static_cast<int>(((days + kUnixEpochWeekday) % 7 + 7) % 7);
}

Problem readTimes(std::span<const unsigned char> bytes, bool later, EventRecord& out) {
  const std::uint32_t start = bigEndianAt(bytes, 0, 2).value_or(0);
  const std::uint32_t end = bigEndianAt(bytes, 2, 2).value_or(0);
  const std::uint16_t packed = static_cast<std::uint16_t>(bigEndianAt(bytes, 4, 2).value_or(0));
  const std::optional<CalendarDate> day = unpackDate(packed);
  if (!day) return dateProblem("its date", packed);
  const std::int64_t midnight = wallSeconds(*day, 0, 0);
  // The later Calendar also keeps display-only values there (the "birthday slot" is -2): any
  // start hour above 23 is no time of day.
  if (start == kNoTime || (later && (start >> 8) > 23)) {
    out.untimed = 1;
    out.startTime = out.endTime = midnight;
    return std::nullopt;
  }
  for (std::uint32_t time : {start, end}) {
    if ((time >> 8) > 23 || (time & 0xFF) > 59) return "its time " + hex4(time) + " is no time";
  }
  out.startTime = midnight + std::int64_t{start >> 8} * 3600 + std::int64_t{start & 0xFF} * 60;
  out.endTime = midnight + std::int64_t{end >> 8} * 3600 + std::int64_t{end & 0xFF} * 60;
  // The later Calendar never stores 24:00: an event that ends at midnight ends at 00:00. One
  // that starts then too is taken as the whole day, not as no time at all.
  if (later && end == 0) out.endTime = midnight + kSecondsPerDay;
  out.duration = out.endTime - out.startTime;
  return std::nullopt;
}

Problem readAlarm(ByteCursor& cursor, EventRecord& out) {
  const std::optional<std::uint32_t> alarm = cursor.number(kAlarmSize);
  if (!alarm) return "its alarm runs past the record's end";
  // The advance is a signed byte: -1 is "no alarm".
  const std::int64_t high = (*alarm >> 8) & 0xFF;
  const std::int64_t advance = high >= 0x80 ? high - 0x100 : high;
  out.alarmSet = advance == kNoAlarm ? 0 : 1;
  out.alarmAdvanceUnits = advance;
  out.alarmAdvanceType = *alarm & 0xFF;
  return std::nullopt;
}

// The kind's own values in the form the desktop archive gives them.
void setKindValues(unsigned on, const CalendarDate& first, RepeatEvent& repeat) {
  switch (repeat.brand) {
    case kRepeatDaily:
      repeat.brandDayIndex = weekdayOf(wallSeconds(first, 0, 0));
      break;
    case kRepeatWeekly:
      repeat.brandDayIndex = weekdayOf(wallSeconds(first, 0, 0));
      repeat.brandDaysMask = static_cast<int>(on);
      break;
    case kRepeatMonthlyByDay:
      // Week 4 is the last week of the month, as in the desktop archive.
      repeat.brandDayIndex = on % kDaysInWeek;
      repeat.brandWeekIndex = on / kDaysInWeek;
      break;
    case kRepeatMonthlyByDate:
      repeat.brandDayNumber = first.day;
      break;
    case kRepeatYearly:
      repeat.brandDayNumber = first.day;
      repeat.brandMonthIndex = first.month - 1;
      break;
    default:
      break;
  }
}

}  // namespace

// Kind, pad, end date, frequency, "on" byte, start of week, pad. The pad bytes are not reliably
// zero in real files and are not looked at.
std::optional<std::string> unpackRepeat(std::span<const unsigned char> part,
                                        const CalendarDate& first, RepeatEvent& repeat) {
  if (part.size() < kRepeatSize) return "its repeat runs past the record's end";
  const unsigned kind = part[0];
  if (kind > kRepeatYearly) return "its repeat kind " + std::to_string(kind) + " is unknown";
  repeat.isRepeating = kind != kRepeatNone;
  repeat.brand = kind;
  const auto end = static_cast<std::uint16_t>(bigEndianAt(part, 2, 2).value_or(0));
  if (end == kNoDate) {
    repeat.endDate = -1;
  } else if (const std::optional<CalendarDate> last = unpackDate(end)) {
    repeat.endDate = wallSeconds(*last, 0, 0);
  } else {
    return dateProblem("its repeat end date", end);
  }
  repeat.interval = part[4];
  repeat.firstDayOfWeek = part[6];
  setKindValues(part[5], first, repeat);
  return std::nullopt;
}

namespace {

Problem readExceptions(ByteCursor& cursor, RepeatEvent& repeat) {
  const std::optional<std::uint32_t> count = cursor.number(2);
  if (!count) return "its exceptions run past the record's end";
  if (cursor.remaining() / 2 < *count) return "its exceptions run past the record's end";
  repeat.exceptionCount = *count;
  repeat.exceptions.assign(*count, 0);
  for (std::int64_t& date : repeat.exceptions) {
    if (Problem problem = readDay(cursor, "an exception date", date)) return problem;
  }
  return std::nullopt;
}

Problem readText(ByteCursor& cursor, const char* what, std::string& out) {
  std::optional<std::string> text = cursor.text();
  if (!text) return std::string("its ") + what + " lacks its closing NUL";
  out = std::move(*text);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> unpackEvent(std::span<const unsigned char> bytes, EventRecord& out) {
  std::size_t used = 0;
  return unpackEventParts(bytes, false, out, used);
}

std::optional<std::string> unpackEventParts(std::span<const unsigned char> bytes, bool later,
                                            EventRecord& out, std::size_t& used) {
  if (bytes.size() < kEventFixedSize) return "it is shorter than an event's fixed 8 bytes";
  if (Problem problem = readTimes(bytes, later, out)) return problem;
  const CalendarDate first = *unpackDate(static_cast<std::uint16_t>(*bigEndianAt(bytes, 4, 2)));
  // Real files carry junk in the bits this program does not know; they are never read.
  const std::uint16_t known = later ? kKnownFlags | kEventHasLocation : kKnownFlags;
  const auto flags = static_cast<std::uint16_t>(*bigEndianAt(bytes, 6, 2) & known);
  ByteCursor cursor(bytes.subspan(kEventFixedSize));
  Problem problem;
  if ((flags & kEventHasAlarm) != 0) problem = readAlarm(cursor, out);
  if (!problem && (flags & kEventHasRepeat) != 0) {
    problem = unpackRepeat(cursor.rest(), first, out.repeat);
    cursor.skip(kRepeatSize);
  }
  if (!problem && (flags & kEventHasExceptions) != 0) problem = readExceptions(cursor, out.repeat);
  if (!problem && (flags & kEventHasDescription) != 0) {
    problem = readText(cursor, "description", out.description);
  }
  if (!problem && (flags & kEventHasNote) != 0) problem = readText(cursor, "note", out.note);
  if (!problem && (flags & kEventHasLocation) != 0) {
    problem = readText(cursor, "location", out.location);
  }
  used = bytes.size() - cursor.remaining();
  return problem;
}

}  // namespace vessory::handheld
