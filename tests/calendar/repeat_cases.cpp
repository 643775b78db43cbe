#include "calendar/repeat_cases.h"

namespace vessory::testing {

namespace {

DatebookRule rule(int kind, int interval) {
  DatebookRule r;
  r.kind = kind;
  r.interval = interval;
  return r;
}

}  // namespace

RecordPlan recordOf(const RepeatCase& c) {
  RecordPlan r;
  r.description = c.name;
  r.note = "";
  const int second = c.startSecond == kAllDay ? 0 : c.startSecond;
  r.startTime = utcSeconds(c.start) + static_cast<std::uint32_t>(second);
  r.endTime = r.startTime + 3600;
  r.untimed = c.startSecond == kAllDay ? 1 : 0;
  r.repeatFlag = 0xFFFF;
  r.brand = static_cast<std::uint32_t>(c.rule.kind);
  r.interval = static_cast<std::uint32_t>(c.rule.interval);
  r.endDate = c.endDate;
  r.firstDayOfWeek = static_cast<std::uint32_t>(c.rule.firstDayOfWeek);
  r.dayIndex = static_cast<std::uint32_t>(c.rule.dayIndex);
  r.daysMask = static_cast<std::uint8_t>(c.rule.daysMask);
  r.weekIndex = static_cast<std::uint32_t>(c.rule.weekIndex);
  r.dayNumber = static_cast<std::uint32_t>(c.rule.dayNumber);
  r.monthIndex = static_cast<std::uint32_t>(c.rule.monthIndex);
  r.exceptions = c.exceptions;
  return r;
}

DatebookRule daily(int interval) { return rule(1, interval); }
DatebookRule weekly(int mask, int firstDay, int interval) {
  DatebookRule r = rule(2, interval);
  r.daysMask = mask;
  r.firstDayOfWeek = firstDay;
  return r;
}
DatebookRule monthlyByDay(int weekIndex, int dayIndex, int interval) {
  DatebookRule r = rule(3, interval);
  r.weekIndex = weekIndex;
  r.dayIndex = dayIndex;
  return r;
}
DatebookRule monthlyByDate(int dayNumber, int interval) {
  DatebookRule r = rule(4, interval);
  r.dayNumber = dayNumber;
  return r;
}
DatebookRule yearly(int monthIndex, int dayNumber, int interval) {
  DatebookRule r = rule(5, interval);
  r.monthIndex = monthIndex;
  r.dayNumber = dayNumber;
  return r;
}

}  // namespace vessory::testing
