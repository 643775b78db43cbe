#include "calendar/todo_component.h"

#include <tuple>

#include "calendar/event_text.h"
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
constexpr int kSecondsPerDay = 86400;

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
  icalcomponent_add_property(todo, property);
}

icaltimetype dateValue(const CalendarDate& day) {
  icaltimetype date = icaltime_null_date();
  date.year = day.year;
  date.month = day.month;
  date.day = day.day;
  return date;
}

void addText(const archive::TodoRecord& record, const TodoContext& context, icalcomponent* todo) {
  add(todo, icalproperty_new_summary(eventText(record.description, context.text).c_str()));
  std::string note = eventText(record.note, context.text);
  if (record.repeatStart && record.repeat.isRepeating && record.repeatsAfterCompletion) {
    if (!note.empty()) note += '\n';
    note += kAfterCompletionLine;
  }
  if (!note.empty()) add(todo, icalproperty_new_description(note.c_str()));
  if (const std::string* name = context.catalogue.categoryName(record.category)) {
    const std::string category = eventText(*name, context.text);
    if (!category.empty()) add(todo, icalproperty_new_categories(category.c_str()));
  }
}

// The repeat's first day and its rule, as the calendar writes the date book's: days, in no zone.
void addRepeat(const archive::TodoRecord& record, icalcomponent* todo) {
  if (!record.repeatStart || !record.repeat.isRepeating || !isRealDay(*record.repeatStart)) return;
  static const std::unique_ptr<ZoneClock> utc = ZoneClock::open("UTC");
  const CalendarDate& first = *record.repeatStart;
  const WallTime start{first.year, first.month, first.day, 0, 0, 0};
  const RepeatResult repeat = buildRepeatRule(record.repeat, start, *utc, /*allDay=*/true);
  if (!repeat.rule) return;
  add(todo, icalproperty_new_dtstart(dateValue(first)));
  add(todo, icalproperty_new_rrule(repeat.rule->rule));
  for (const WallTime& day : repeat.rule->extraDays) {
    icaldatetimeperiodtype date;
    date.time = floatingDate(day);
    date.period = icalperiodtype_null_period();
    add(todo, icalproperty_new_rdate(date));
  }
}

// Sounds at the alarm's time of day, its days before the due day (DUE is that day's start).
void addAlarm(const archive::TodoRecord& record, const std::string& summary, icalcomponent* todo) {
  const archive::TodoRecord::Alarm& alarm = *record.alarm;
  const std::int64_t seconds =
      std::int64_t{alarm.hour} * 3600 + alarm.minute * 60 - alarm.daysBefore * kSecondsPerDay;
  icaltriggertype trigger;
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(static_cast<int>(seconds));
  icalproperty* property = icalproperty_new_trigger(trigger);
  icalproperty_add_parameter(property, icalparameter_new_related(ICAL_RELATED_END));
  icalcomponent* valarm = icalcomponent_new_valarm();
  add(valarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  add(valarm, property);
  add(valarm, icalproperty_new_description(summary.empty() ? kAlarmFallbackText : summary.c_str()));
  icalcomponent_add_component(todo, valarm);
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
  const std::int64_t moment = *record.dueMoment;
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
  Component built(icalcomponent_new_vtodo());
  icalcomponent* todo = built.get();
  add(todo, icalproperty_new_uid(uid.c_str()));
  add(todo, icalproperty_new_dtstamp(context.stamp));
  addText(record, context, todo);
  const std::optional<CalendarDate> due = dueDay(record, context.clock);
  if (due) add(todo, icalproperty_new_due(dateValue(*due)));
  if (const auto priority = todoPriority(record.priority)) {
    add(todo, icalproperty_new_priority(*priority));
  }
  if (record.completed) {
    add(todo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    add(todo, icalproperty_new_percentcomplete(kPercentDone));
  } else {
    add(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
  }
  if (record.completionDate && isRealDay(*record.completionDate)) {
    icaltimetype completed = icaltime_null_time();
    completed.year = record.completionDate->year;
    completed.month = record.completionDate->month;
    completed.day = record.completionDate->day;
    completed.hour = kCompletionHour;
    completed.zone = icaltimezone_get_utc_timezone();
    add(todo, icalproperty_new_completed(completed));
  }
  if (record.isPrivate) add(todo, icalproperty_new_class(ICAL_CLASS_PRIVATE));
  addRepeat(record, todo);
  if (record.alarm && due) addAlarm(record, eventText(record.description, context.text), todo);
  return built;
}

}  // namespace vessory::calendar
