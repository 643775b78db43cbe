#include "calendar/todo_component.h"

#include <tuple>

#include "calendar/event_text.h"

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

void addText(const archive::TodoRecord& record, const TodoContext& context, icalcomponent* todo) {
  add(todo, icalproperty_new_summary(eventText(record.description, context.text).c_str()));
  const std::string note = eventText(record.note, context.text);
  if (!note.empty()) add(todo, icalproperty_new_description(note.c_str()));
  if (const std::string* name = context.catalogue.categoryName(record.category)) {
    const std::string category = eventText(*name, context.text);
    if (!category.empty()) add(todo, icalproperty_new_categories(category.c_str()));
  }
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
  if (const auto day = dueDay(record, context.clock)) {
    icaltimetype due = icaltime_null_date();
    due.year = day->year;
    due.month = day->month;
    due.day = day->day;
    add(todo, icalproperty_new_due(due));
  }
  if (const auto priority = todoPriority(record.priority)) {
    add(todo, icalproperty_new_priority(*priority));
  }
  if (record.completed) {
    add(todo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    add(todo, icalproperty_new_percentcomplete(kPercentDone));
  } else {
    add(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
  }
  if (record.isPrivate) add(todo, icalproperty_new_class(ICAL_CLASS_PRIVATE));
  return built;
}

}  // namespace vessory::calendar
