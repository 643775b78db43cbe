#include "calendar/calendar_event.h"

#include "calendar/civil_date.h"
#include "calendar/event_text.h"
#include "calendar/ical_library.h"
#include "calendar/meeting_properties.h"
#include "calendar/rule_days.h"

namespace vessory::calendar {

namespace {

using archive::EventRecord;

constexpr std::int64_t kAlarmMinutes = 0;
constexpr std::int64_t kAlarmHours = 1;
constexpr std::int64_t kAlarmDays = 2;
constexpr char kAlarmFallbackText[] = "Reminder";

void add(icalcomponent* event, icalproperty* property) {
  ical().icalcomponent_add_property(event, property);
}

// How an event's wall times are written: floating, in the zone its TZID names, or in UTC (for
// a zone whose clock is UTC's all year).
struct TimeMark {
  const std::string* tzid = nullptr;
  bool utc = false;
};

// A wall time as `mark` writes it.
icaltimetype marked(const WallTime& time, const TimeMark& mark) {
  icaltimetype t = floatingTime(time);
  if (mark.utc) t.zone = ical().icaltimezone_get_utc_timezone();
  return t;
}

// A wall time of the event's zone: named by its TZID when it has one.
icalproperty* zoned(icalproperty* property, const TimeMark& mark) {
  if (mark.tzid != nullptr) {
    ical().icalproperty_add_parameter(property, ical().icalparameter_new_tzid(mark.tzid->c_str()));
  }
  return property;
}

// A server that reads calendars through vobject (Radicale 3.1) takes a zone that keeps UTC's
// offset all year for UTC itself: it never binds the zone's TZID, and an EXDATE or RDATE that
// names that TZID then makes it refuse the whole file. An event of such a zone with exception
// or extra days is written in UTC, which is the same moments.
bool writtenInUtc(const archive::EventZone& zone, const archive::RepeatEvent& repeat,
                  const std::optional<RepeatResult>& built) {
  if (zone.offset != 0 || zone.adjustment != 0 || !built || !built->rule) return false;
  return (repeat.exceptionCount > 0 && !repeat.exceptions.empty()) ||
         !built->rule->extraDays.empty();
}

void addTimes(const EventRecord& record, const ZoneClock& clock, bool allDay, const TimeMark& mark,
              icalcomponent* event) {
  const WallTime start = clock.wallTime(record.startTime);
  if (allDay) {
    add(event, ical().icalproperty_new_dtstart(floatingDate(start)));
    add(event, ical().icalproperty_new_dtend(dayAfter(start)));
    return;
  }
  add(event, zoned(ical().icalproperty_new_dtstart(marked(start, mark)), mark));
  if (record.endTime <= record.startTime) return;
  // When the clock is set back, a later moment can show an earlier wall time; an end before
  // the start is no end a calendar program accepts, and an end at the start is one RFC 5545
  // forbids (an event without DTEND takes no time).
  const WallTime end = clock.wallTime(record.endTime);
  if (ical().icaltime_compare(floatingTime(end), floatingTime(start)) > 0) {
    add(event, zoned(ical().icalproperty_new_dtend(marked(end, mark)), mark));
  }
}

// On another clock than the desktop's, an exception (its day's start there, or the occurrence
// itself) can fall on the day before the occurrence it names: then, when none falls on its own
// day, the occurrence of the next day at the start time, which comes within a day of it.
WallTime exceptionDay(const archive::RepeatEvent& repeat, const RepeatRule& rule,
                      const WallTime& start, const WallTime& day) {
  const WallTime next = addDays(day, 1);
  if (start.secondOfDay() < day.secondOfDay() && !occursOn(repeat, rule.dayShift, start, day) &&
      occursOn(repeat, rule.dayShift, start, next)) {
    return next;
  }
  return day;
}

// Exception dates on their local day at the event's start time, as the rule's own occurrences
// fall (for moved days, the day of the occurrence the exception names); dates for an all-day event.
// Only the dates this record carried, and only those some occurrence can reach: one before the
// first day or after the rule's last is no exception of it, and calendar programs warn about it.
void addExceptions(const EventRecord& record, const ZoneClock& clock, const RepeatRule& rule,
                   bool allDay, const TimeMark& mark, icalcomponent* event) {
  const WallTime start = clock.wallTime(record.startTime);
  const auto& dates = record.repeat.exceptions;
  const std::size_t count =
      record.repeat.exceptionCount < 0 ? 0 : static_cast<std::size_t>(record.repeat.exceptionCount);
  for (std::size_t j = 0; j < dates.size() && j < count; ++j) {
    WallTime day = clock.wallTime(dates[j]);
    if (rule.otherClock) day = exceptionDay(record.repeat, rule, start, day);
    if (day.dateBefore(start) || (rule.lastDay && rule.lastDay->dateBefore(day))) continue;
    if (allDay) {
      add(event, ical().icalproperty_new_exdate(floatingDate(day)));
    } else {
      day.hour = start.hour;
      day.minute = start.minute;
      day.second = start.second;
      add(event, zoned(ical().icalproperty_new_exdate(marked(day, mark)), mark));
    }
  }
}

// The days the date book shows beyond the rule's own, at the event's start time.
void addExtraDays(const RepeatRule& repeat, bool allDay, const TimeMark& mark,
                  icalcomponent* event) {
  for (const WallTime& day : repeat.extraDays) {
    icaldatetimeperiodtype date;
    date.time = allDay ? floatingDate(day) : marked(day, mark);
    date.period = ical().icalperiodtype_null_period();
    add(event, zoned(ical().icalproperty_new_rdate(date), allDay ? TimeMark{} : mark));
  }
}

// RFC 5545 wants UNTIL in UTC when the start is in a zone: the last wall second of the end day
// there.
void untilInUtc(const archive::EventZone& zone, icalrecurrencetype& rule) {
  if (ical().icaltime_is_null_time(rule.until) || rule.until.is_date) return;
  const icaltimetype until = rule.until;
  rule.until = utcOf(
      zone, WallTime{until.year, until.month, until.day, until.hour, until.minute, until.second});
}

// A display alarm the record's advance before the start. False when the unit is unknown.
bool addAlarm(const EventRecord& record, const std::string& summary, icalcomponent* event) {
  if (record.alarmSet == 0 || record.alarmAdvanceUnits < 0) return true;
  icaldurationtype before = ical().icaldurationtype_null_duration();
  before.is_neg = record.alarmAdvanceUnits > 0 ? 1 : 0;
  const auto units = static_cast<unsigned int>(record.alarmAdvanceUnits);
  switch (record.alarmAdvanceType) {
    case kAlarmMinutes:
      before.minutes = units;
      break;
    case kAlarmHours:
      before.hours = units;
      break;
    case kAlarmDays:
      before.days = units;
      break;
    default:
      return false;
  }
  icaltriggertype trigger;
  trigger.time = ical().icaltime_null_time();
  trigger.duration = before;
  icalcomponent* alarm = ical().icalcomponent_new_valarm();
  add(alarm, ical().icalproperty_new_action(ICAL_ACTION_DISPLAY));
  add(alarm, ical().icalproperty_new_trigger(trigger));
  // A display alarm must say something; an event without a description still needs a text.
  add(alarm,
      ical().icalproperty_new_description(summary.empty() ? kAlarmFallbackText : summary.c_str()));
  ical().icalcomponent_add_component(event, alarm);
  return true;
}

void addText(const EventRecord& record, const EventContext& context, const std::string& summary,
             icalcomponent* event) {
  add(event, ical().icalproperty_new_summary(summary.c_str()));
  const std::string location = eventText(record.location, context.text);
  if (!location.empty()) add(event, ical().icalproperty_new_location(location.c_str()));
  // A journal's header line is its bookkeeping: the category it carries is the day's, when the
  // archive has that category, and the note is what follows it.
  const NoteParts note = splitNoteHeader(record.note);
  std::string text = eventText(note.text, context.text);
  if (record.meeting) appendUnmailedAttendees(*record.meeting, context.text, text);
  if (!text.empty()) add(event, ical().icalproperty_new_description(text.c_str()));
  if (record.isPrivate != 0) add(event, ical().icalproperty_new_class(ICAL_CLASS_PRIVATE));
  const std::string* name =
      note.headerCategory ? categoryName(context.header, *note.headerCategory) : nullptr;
  if (name == nullptr) name = categoryName(context.header, record.category);
  if (name != nullptr) {
    const std::string category = eventText(*name, context.text);
    if (!category.empty()) add(event, ical().icalproperty_new_categories(category.c_str()));
  }
}

}  // namespace

const std::string* categoryName(const archive::DatebookHeader& header, std::int64_t category) {
  if (category == 0) return nullptr;
  const std::size_t entries =
      std::min(header.categoryIndexes.size(), header.categoryLongNames.size());
  for (std::size_t i = 0; i < entries; ++i) {
    if (header.categoryIndexes[i] == category) return &header.categoryLongNames[i];
  }
  return nullptr;
}

CalendarEvent buildEvent(const EventRecord& record, const std::string& uid,
                         const EventContext& context) {
  CalendarEvent built;
  built.component.reset(ical().icalcomponent_new_vevent());
  icalcomponent* event = built.component.get();
  built.allDay = record.untimed != 0;
  add(event, ical().icalproperty_new_uid(uid.c_str()));
  add(event, ical().icalproperty_new_dtstamp(context.stamp));
  const WallTime start = context.clock.wallTime(record.startTime);
  std::optional<RepeatResult> repeat;
  if (record.repeat.isRepeating) {
    repeat = buildRepeatRule(record.repeat, start, context.clock, built.allDay,
                             /*followStart=*/true);
  }
  const bool zoned = record.zone && !built.allDay && context.zones != nullptr;
  TimeMark mark;
  if (zoned && writtenInUtc(*record.zone, record.repeat, repeat)) {
    mark.utc = true;
  } else if (zoned) {
    mark.tzid = &context.zones->tzid(*record.zone);
  }
  addTimes(record, context.clock, built.allDay, mark, event);
  if (repeat && repeat->rule) {
    if (zoned) untilInUtc(*record.zone, repeat->rule->rule);
    if (!repeat->rule->listed) add(event, ical().icalproperty_new_rrule(repeat->rule->rule));
    built.ruleDayShift = repeat->rule->dayShift;
    built.ruleListed = repeat->rule->listed;
    built.ruleOtherClock = repeat->rule->otherClock;
    addExtraDays(*repeat->rule, built.allDay, mark, event);
    addExceptions(record, context.clock, *repeat->rule, built.allDay, mark, event);
    built.repeating = true;
  } else if (repeat) {
    built.repeatProblem = repeat->problem;
  }
  const std::string summary = eventText(record.description, context.text);
  addText(record, context, summary, event);
  if (!addAlarm(record, summary, event)) built.unknownAlarmUnit = record.alarmAdvanceType;
  if (record.meeting) addMeeting(*record.meeting, context.text, event);
  return built;
}

}  // namespace vessory::calendar
