#include "calendar/repeat_cases.h"

namespace vessory::testing {

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

DatebookRule daily(int interval) { return DatebookRule{.kind = 1, .interval = interval}; }
DatebookRule weekly(int mask, int firstDay, int interval) {
  return DatebookRule{
      .kind = 2, .interval = interval, .firstDayOfWeek = firstDay, .daysMask = mask};
}
DatebookRule monthlyByDay(int weekIndex, int dayIndex, int interval) {
  return DatebookRule{
      .kind = 3, .interval = interval, .dayIndex = dayIndex, .weekIndex = weekIndex};
}
DatebookRule monthlyByDate(int dayNumber, int interval) {
  return DatebookRule{.kind = 4, .interval = interval, .dayNumber = dayNumber};
}
DatebookRule yearly(int monthIndex, int dayNumber, int interval) {
  return DatebookRule{
      .kind = 5, .interval = interval, .dayNumber = dayNumber, .monthIndex = monthIndex};
}

}  // namespace vessory::testing
