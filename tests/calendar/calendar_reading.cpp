#include "calendar/calendar_reading.h"

#include <algorithm>
#include <cstdio>

#include "calendar/civil_days.h"

namespace vessory::testing {

const std::string kCalendarArchivePath =
    std::string("C:\\Palm\\User\\datebook") + exporting::pathSeparator() + "Datebook.dat";
const std::string kCalendarPath =
    std::string("C:\\Palm\\User\\datebook") + exporting::pathSeparator() + "Datebook.ics";

exporting::CalendarSettings testSettings(const std::string& zone) {
  exporting::CalendarSettings settings;
  settings.zoneName = zone;
  settings.stampTime = kStampTime;
  return settings;
}

CalendarExport exportCalendar(const std::string& archiveBytes,
                              const exporting::CalendarSettings& settings) {
  MemoryFiles files;
  files.archives[kCalendarArchivePath] = archiveBytes;
  RecordingView view;
  view.fileName = "Datebook.dat";
  exporting::CalendarRun run(files, settings);
  CalendarExport result;
  result.outcome = run.run(view);
  result.text = files.csv(settings.outputPath.value_or(kCalendarPath));
  result.messages = view.messages;
  result.tally = run.tally();
  result.ended = view.ended;
  return result;
}

CalendarExport exportRecords(const std::vector<RecordPlan>& records, const std::string& zone,
                             const HeaderPlan& header) {
  return exportCalendar(ArchiveBuilder().archive(records, header).bytes(), testSettings(zone));
}

ReadCalendar::ReadCalendar(const std::string& text) {
  root_ = icalparser_parse_string(text.c_str());
  if (root_ == nullptr || icalcomponent_isa(root_) != ICAL_VCALENDAR_COMPONENT) return;
  for (icalcomponent* c = icalcomponent_get_first_component(root_, ICAL_VEVENT_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(root_, ICAL_VEVENT_COMPONENT)) {
    events_.push_back(c);
  }
}

ReadCalendar::~ReadCalendar() {
  if (root_ != nullptr) icalcomponent_free(root_);
}

namespace {

// The errors libical's reader marked in `component` and the components inside it. An empty
// SUMMARY is valid RFC 5545 text that this reader refuses; the export writes one for an event
// without a description, so it is not counted.
int errorsIn(icalcomponent* component) {
  int errors = 0;
  for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
       p != nullptr; p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
    const char* text = icalproperty_get_xlicerror(p);
    if (text == nullptr || std::string(text).rfind("No value for SUMMARY property", 0) != 0) {
      ++errors;
    }
  }
  for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    errors += errorsIn(c);
  }
  return errors;
}

}  // namespace

bool ReadCalendar::clean() const {
  return root_ != nullptr && icalcomponent_isa(root_) == ICAL_VCALENDAR_COMPONENT &&
         errorsIn(root_) == 0;
}

int countOf(icalcomponent* component, icalproperty_kind kind) {
  return icalcomponent_count_properties(component, kind);
}

std::string valueOf(icalcomponent* component, icalproperty_kind kind) {
  icalproperty* p = icalcomponent_get_first_property(component, kind);
  if (p == nullptr) return {};
  const char* text = icalproperty_get_value_as_string(p);
  return text == nullptr ? std::string() : std::string(text);
}

std::string timeText(const icaltimetype& t) {
  const Civil date{t.year, t.month, t.day};
  if (t.is_date) return dateText(date);
  return dateTimeText(date, t.hour * 3600 + t.minute * 60 + t.second) +
         (icaltime_is_utc(t) ? "Z" : "");
}

namespace {

std::vector<std::string> exceptionTexts(icalcomponent* event) {
  std::vector<std::string> texts;
  for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
       p != nullptr; p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
    texts.push_back(timeText(icalproperty_get_exdate(p)));
  }
  return texts;
}

bool after(const icaltimetype& t, const Civil& last) {
  return Civil{t.year, t.month, t.day} > last;
}

}  // namespace

std::vector<std::string> occurrences(icalcomponent* event, const Civil& last) {
  const icaltimetype start = icalcomponent_get_dtstart(event);
  std::vector<std::string> starts;
  icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
  if (rule == nullptr) {
    if (!after(start, last)) starts.push_back(timeText(start));
  } else {
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
    if (it == nullptr) return {"(libical refused the rule)"};
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && !after(t, last);
         t = icalrecur_iterator_next(it)) {
      starts.push_back(timeText(t));
    }
    icalrecur_iterator_free(it);
  }
  for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
       p != nullptr; p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
    const icaltimetype added = icalproperty_get_rdate(p).time;
    if (!after(added, last)) starts.push_back(timeText(added));
  }
  // Texts of one kind (all dates or all times) sort in time order.
  std::sort(starts.begin(), starts.end());
  const std::vector<std::string> excluded = exceptionTexts(event);
  std::erase_if(starts, [&](const std::string& s) {
    return std::find(excluded.begin(), excluded.end(), s) != excluded.end();
  });
  return starts;
}

}  // namespace vessory::testing
