#include "calendar/todo_component.h"

#include <memory>
#include <tuple>

#include "calendar/event_text.h"
#include "calendar/ical_library.h"
#include "calendar/repeat_rule.h"

namespace vessory::calendar {

namespace {

using archive::CalendarDate;

// The desktop writes 2031-12-31 (and, from some versions, later days) for a to-do with no date.
constexpr CalendarDate kNoDateDay{2031, 12, 31};
// The desktop's other "no date" value.
constexpr std::int64_t kNoDateMoment = -1;
// From 2031-12-31 14:00 UTC on, the local date is the no-date day or later in every zone (the
// furthest behind is UTC-12); such moments never reach the clock.
constexpr std::int64_t kNoDateEverywhere = 1956441600 + 14 * 3600;
// The desktop stores due moments as unsigned seconds since 1970: an earlier one cannot come
// from an archive, and the Windows clock cannot place it, so it counts as no date everywhere.
constexpr std::int64_t kEarliestMoment = 0;

constexpr int kHighestPriority = 1;
constexpr int kLowestPriority = 5;
constexpr int kPercentDone = 100;
// A completion day is written at noon UTC, so that every zone shows the same day.
constexpr int kCompletionHour = 12;
constexpr char kAfterCompletionLine[] = "Repeats after it is completed";
constexpr char kAlarmFallbackText[] = "Reminder";
constexpr std::int64_t kSecondsPerDay = 86400;
// More days of warning than any desktop or handheld offers is no alarm this tool can place.
constexpr std::int64_t kMostDaysBefore = 9999;

bool before(const CalendarDate& a, const CalendarDate& b) {
  return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool isRealDay(const CalendarDate& date) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
  const int last = kDays[date.month - 1] + (date.month == 2 && isLeapYear(date.year) ? 1 : 0);
  return date.day >= 1 && date.day <= last;
}

void add(icalcomponent* todo, icalproperty* property) {
  ical().icalcomponent_add_property(todo, property);
}

icaltimetype dateValue(const CalendarDate& day) {
  icaltimetype date = ical().icaltime_null_date();
  date.year = day.year;
  date.month = day.month;
  date.day = day.day;
  return date;
}

// The handheld's repeat end and exceptions are days held as UTC seconds; the desktop's are
// moments in the user's zone.
const ZoneClock& repeatClock(const archive::TodoRecord& record, const ZoneClock& clock) {
  static const std::unique_ptr<ZoneClock> utc = ZoneClock::open("UTC");
  return record.repeatStart ? *utc : clock;
}

// The day the repeat starts: the handheld's own, else (the desktop's) the due day.
std::optional<CalendarDate> repeatFirstDay(const archive::TodoRecord& record,
                                           const std::optional<CalendarDate>& due) {
  if (!record.repeat.isRepeating) return std::nullopt;
  if (record.repeatStart) {
    if (!isRealDay(*record.repeatStart)) return std::nullopt;
    return record.repeatStart;
  }
  return due;
}

// The day it was done, for a to-do that is done.
std::optional<CalendarDate> completionDay(const archive::TodoRecord& record,
                                          const ZoneClock& clock) {
  if (!record.completed) return std::nullopt;
  if (record.completionDate) {
    if (!isRealDay(*record.completionDate)) return std::nullopt;
    return record.completionDate;
  }
  if (!record.completionMoment) return std::nullopt;
  return desktopDay(*record.completionMoment, clock);
}

// The alarm as a time of day and days before: the handheld's as read, the desktop's from its
// moment on the zone's clock. None out of the range an alarm can be placed in.
std::optional<archive::TodoRecord::Alarm> alarmOf(const archive::TodoRecord& record,
                                                  const ZoneClock& clock) {
  std::optional<archive::TodoRecord::Alarm> alarm = record.alarm;
  if (!alarm && record.alarmSet && record.alarmMoment != -1) {
    const WallTime at = clock.wallTime(record.alarmMoment);
    alarm = archive::TodoRecord::Alarm{at.hour, at.minute, record.alarmDaysBefore, at.second};
  }
  if (alarm && (alarm->daysBefore < 0 || alarm->daysBefore > kMostDaysBefore)) return std::nullopt;
  return alarm;
}

void addText(const archive::TodoRecord& record, const TodoContext& context, bool repeating,
             icalcomponent* todo) {
  add(todo, ical().icalproperty_new_summary(eventText(record.description, context.text).c_str()));
  std::string note = eventText(record.note, context.text);
  if (repeating && record.repeatsAfterCompletion) {
    if (!note.empty()) note += '\n';
    note += kAfterCompletionLine;
  }
  if (!note.empty()) add(todo, ical().icalproperty_new_description(note.c_str()));
  if (const std::string* name = context.catalogue.categoryName(record.category)) {
    const std::string category = eventText(*name, context.text);
    if (!category.empty()) add(todo, ical().icalproperty_new_categories(category.c_str()));
  }
}

// COMPLETED on the completion day at 12:00 UTC: that day wherever the list is opened.
void addCompleted(const CalendarDate& day, icalcomponent* todo) {
  icaltimetype noon = ical().icaltime_null_time();
  noon.year = day.year;
  noon.month = day.month;
  noon.day = day.day;
  noon.hour = kCompletionHour;
  noon.zone = ical().icaltimezone_get_utc_timezone();
  add(todo, ical().icalproperty_new_completed(noon));
}

// The repeat's first day and its rule, as the calendar writes the date book's: days, in no zone.
void addRepeat(const archive::TodoRecord& record, const CalendarDate& first, const RepeatRule& rule,
               const ZoneClock& clock, icalcomponent* todo) {
  add(todo, ical().icalproperty_new_dtstart(dateValue(first)));
  add(todo, ical().icalproperty_new_rrule(rule.rule));
  for (const WallTime& day : rule.extraDays) {
    icaldatetimeperiodtype date;
    date.time = floatingDate(day);
    date.period = ical().icalperiodtype_null_period();
    add(todo, ical().icalproperty_new_rdate(date));
  }
  const auto& dates = record.repeat.exceptions;
  const std::int64_t count = record.repeat.exceptionCount;
  for (std::size_t j = 0; j < dates.size() && static_cast<std::int64_t>(j) < count; ++j) {
    add(todo, ical().icalproperty_new_exdate(floatingDate(clock.wallTime(dates[j]))));
  }
}

// A display alarm at the alarm's time of day the given days before the due day, as a duration
// from the due day's start, which the floating due date keeps on the wall clock wherever the
// list is opened.
void addAlarm(const archive::TodoRecord::Alarm& alarm, const std::string& summary,
              icalcomponent* todo) {
  const std::int64_t offset = -alarm.daysBefore * kSecondsPerDay + std::int64_t{alarm.hour} * 3600 +
                              std::int64_t{alarm.minute} * 60 + alarm.second;
  const std::int64_t size = offset < 0 ? -offset : offset;
  icaldurationtype duration = ical().icaldurationtype_null_duration();
  duration.is_neg = offset < 0 ? 1 : 0;
  duration.days = static_cast<unsigned int>(size / kSecondsPerDay);
  duration.hours = static_cast<unsigned int>(size % kSecondsPerDay / 3600);
  duration.minutes = static_cast<unsigned int>(size % 3600 / 60);
  duration.seconds = static_cast<unsigned int>(size % 60);
  icaltriggertype trigger;
  trigger.time = ical().icaltime_null_time();
  trigger.duration = duration;
  icalproperty* when = ical().icalproperty_new_trigger(trigger);
  ical().icalproperty_add_parameter(when, ical().icalparameter_new_related(ICAL_RELATED_END));
  icalcomponent* valarm = ical().icalcomponent_new_valarm();
  add(valarm, ical().icalproperty_new_action(ICAL_ACTION_DISPLAY));
  add(valarm, when);
  add(valarm,
      ical().icalproperty_new_description(summary.empty() ? kAlarmFallbackText : summary.c_str()));
  ical().icalcomponent_add_component(todo, valarm);
}

}  // namespace

archive::RecordUids todoUids(const archive::OrganiserCatalogue& catalogue) {
  return archive::RecordUids("todo", catalogue.identity);
}

std::optional<CalendarDate> dueDay(const archive::TodoRecord& record, const ZoneClock& clock) {
  if (record.dueDate) {
    if (!isRealDay(*record.dueDate)) return std::nullopt;
    return record.dueDate;
  }
  if (!record.dueMoment) return std::nullopt;
  return desktopDay(*record.dueMoment, clock);
}

std::optional<CalendarDate> desktopDay(std::int64_t moment, const ZoneClock& clock) {
  if (moment == kNoDateMoment || moment < kEarliestMoment || moment >= kNoDateEverywhere) {
    return std::nullopt;
  }
  const WallTime local = clock.wallTime(moment);
  const CalendarDate day{local.year, local.month, local.day};
  if (!isRealDay(day) || !before(day, kNoDateDay)) return std::nullopt;
  return day;
}

std::optional<int> todoPriority(std::int64_t handheldPriority) {
  if (handheldPriority < kHighestPriority || handheldPriority > kLowestPriority) {
    return std::nullopt;
  }
  return static_cast<int>(handheldPriority) * 2 - 1;
}

Component buildTodo(const archive::TodoRecord& record, const std::string& uid,
                    const TodoContext& context) {
  Component built(ical().icalcomponent_new_vtodo());
  icalcomponent* todo = built.get();
  add(todo, ical().icalproperty_new_uid(uid.c_str()));
  add(todo, ical().icalproperty_new_dtstamp(context.stamp));
  const std::optional<CalendarDate> due = dueDay(record, context.clock);
  const ZoneClock& clock = repeatClock(record, context.clock);
  const std::optional<CalendarDate> first = repeatFirstDay(record, due);
  std::optional<RepeatRule> rule;
  if (first) {
    const WallTime start{first->year, first->month, first->day, 0, 0, 0};
    rule = buildRepeatRule(record.repeat, start, clock, /*allDay=*/true).rule;
  }
  addText(record, context, rule.has_value(), todo);
  if (due) add(todo, ical().icalproperty_new_due(dateValue(*due)));
  if (const auto priority = todoPriority(record.priority)) {
    add(todo, ical().icalproperty_new_priority(*priority));
  }
  if (record.completed) {
    add(todo, ical().icalproperty_new_status(ICAL_STATUS_COMPLETED));
    add(todo, ical().icalproperty_new_percentcomplete(kPercentDone));
  } else {
    add(todo, ical().icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
  }
  if (const auto day = completionDay(record, context.clock)) addCompleted(*day, todo);
  if (record.isPrivate) add(todo, ical().icalproperty_new_class(ICAL_CLASS_PRIVATE));
  if (rule) addRepeat(record, *first, *rule, clock, todo);
  const auto alarm = alarmOf(record, context.clock);
  if (alarm && due) addAlarm(*alarm, eventText(record.description, context.text), todo);
  return built;
}

}  // namespace vessory::calendar
