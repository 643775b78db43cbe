#include "calendar/zone_rules.h"

#include <cstdio>
#include <memory>

#include "calendar/calendar_event.h"
#include "calendar/calendar_text.h"
#include "calendar/civil_date.h"
#include "calendar/event_text.h"
#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

using archive::EventZone;
using archive::ZoneRule;

constexpr int kLastWeek = kLastWeekOfMonth;
constexpr int kFirstRuleYear = 1970;  // the observances start here; earlier times keep the offset
constexpr std::int64_t kMinutesPerDay = std::int64_t{24} * 60;
constexpr int kSecondsPerMinute = 60;

// The day of the month the rule falls on in `year`.
int ruleDay(const ZoneRule& rule, int year) {
  return weekdayInMonth(year, rule.month, rule.weekday, rule.week);
}

// Minutes since 1970 of a wall time read as UTC, for comparing wall times.
std::int64_t wallMinutes(int year, int month, int day, int hour, int minute) {
  return daysFromCivil(year, month, day) * kMinutesPerDay + std::int64_t{hour} * 60 + minute;
}

std::int64_t changeMinutes(const ZoneRule& rule, int year) {
  return wallMinutes(year, rule.month, ruleDay(rule, year), rule.hour, 0);
}

std::string offsetName(std::int64_t minutes) {
  const std::int64_t size = minutes < 0 ? -minutes : minutes;
  char text[16];
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+',
                static_cast<int>(size / 60), static_cast<int>(size % 60));
  return text;
}

void add(icalcomponent* component, icalproperty* property) {
  ical().icalcomponent_add_property(component, property);
}

// One observance: from `from` to `to` minutes east of UTC, yearly on `rule` when there is one.
icalcomponent* observance(bool daylight, std::int64_t from, std::int64_t to, const ZoneRule* rule) {
  icalcomponent* part =
      daylight ? ical().icalcomponent_new_xdaylight() : ical().icalcomponent_new_xstandard();
  WallTime start{kFirstRuleYear, 1, 1, 0, 0, 0};
  if (rule != nullptr) {
    start.month = rule->month;
    start.day = ruleDay(*rule, kFirstRuleYear);
    start.hour = rule->hour;
  }
  add(part, ical().icalproperty_new_dtstart(floatingTime(start)));
  add(part, ical().icalproperty_new_tzoffsetfrom(static_cast<int>(from * kSecondsPerMinute)));
  add(part, ical().icalproperty_new_tzoffsetto(static_cast<int>(to * kSecondsPerMinute)));
  if (rule != nullptr) {
    icalrecurrencetype r;
    ical().icalrecurrencetype_clear(&r);
    r.freq = ICAL_YEARLY_RECURRENCE;
    r.by_month[0] = static_cast<short>(rule->month);
    r.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
    const int position = rule->week == kLastWeek ? -1 : rule->week + 1;
    const int weekday = ICAL_SUNDAY_WEEKDAY + rule->weekday;
    const int magnitude = (position < 0 ? 1 : position) * 8 + weekday;
    r.by_day[0] = static_cast<short>(position < 0 ? -magnitude : magnitude);
    r.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
    add(part, ical().icalproperty_new_rrule(r));
  }
  return part;
}

}  // namespace

std::int64_t offsetAt(const EventZone& zone, const WallTime& time) {
  if (zone.adjustment == 0 || time.year < kFirstRuleYear) return zone.offset;
  const std::int64_t at = wallMinutes(time.year, time.month, time.day, time.hour, time.minute);
  // Both hours are the wall clock's before the change, as `time` is.
  const std::int64_t start = changeMinutes(zone.daylightStart, time.year);
  const std::int64_t end = changeMinutes(zone.daylightEnd, time.year);
  const bool daylight = start < end ? at >= start && at < end : at >= start || at < end;
  return zone.offset + (daylight ? zone.adjustment : 0);
}

icaltimetype utcOf(const EventZone& zone, const WallTime& time) {
  icaltimetype wall = floatingTime(time);
  ical().icaltime_adjust(&wall, 0, 0, static_cast<int>(-offsetAt(zone, time)), 0);
  wall.zone = ical().icaltimezone_get_utc_timezone();
  return wall;
}

const std::string& ZoneTable::tzid(const EventZone& zone) {
  for (const Entry& entry : zones_) {
    if (entry.zone == zone) return entry.tzid;
  }
  std::string name = eventText(zone.name, text_);
  if (name.empty()) name = offsetName(zone.offset);
  std::string unique = name;
  for (int n = 2;; ++n) {
    bool taken = false;
    for (const Entry& entry : zones_) taken = taken || entry.tzid == unique;
    if (!taken) break;
    unique = name + " (" + std::to_string(n) + ")";
  }
  zones_.push_back(Entry{zone, unique});
  return zones_.back().tzid;
}

void ZoneTable::appendNewTimezones(std::string& out) {
  for (; written_ < zones_.size(); ++written_) {
    const Entry& entry = zones_[written_];
    Component timezone(ical().icalcomponent_new_vtimezone());
    add(timezone.get(), ical().icalproperty_new_tzid(entry.tzid.c_str()));
    const EventZone& zone = entry.zone;
    const std::int64_t daylight = zone.offset + zone.adjustment;
    if (zone.adjustment == 0) {
      ical().icalcomponent_add_component(timezone.get(),
                                         observance(false, zone.offset, zone.offset, nullptr));
    } else {
      ical().icalcomponent_add_component(
          timezone.get(), observance(false, daylight, zone.offset, &zone.daylightEnd));
      ical().icalcomponent_add_component(
          timezone.get(), observance(true, zone.offset, daylight, &zone.daylightStart));
    }
    appendComponent(timezone.get(), out);
  }
}

}  // namespace vessory::calendar
