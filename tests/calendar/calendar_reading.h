#ifndef VESSORY_TESTS_CALENDAR_CALENDAR_READING_H_
#define VESSORY_TESTS_CALENDAR_CALENDAR_READING_H_

#include <libical/ical.h>

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/civil_days.h"
#include "export/calendar_run.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"

namespace vessory::testing {

// Where the calendar runs of the tests read and write.
extern const std::string kCalendarArchivePath;
extern const std::string kCalendarPath;
// Every DTSTAMP of the tests: 2023-11-14 22:13:20 UTC.
inline constexpr std::int64_t kStampTime = 1700000000;

// One calendar export over an archive held in memory.
struct CalendarExport {
  exporting::ExportOutcome outcome = exporting::ExportOutcome::kAlreadyRunning;
  std::string text;  // the calendar file as written
  std::vector<std::string> messages;
  exporting::CalendarTally tally;
  bool ended = false;  // the run ended the program
};

exporting::CalendarSettings testSettings(const std::string& zone = "UTC");
CalendarExport exportCalendar(const std::string& archiveBytes,
                              const exporting::CalendarSettings& settings);
CalendarExport exportRecords(const std::vector<RecordPlan>& records,
                             const std::string& zone = "UTC", const HeaderPlan& header = {});

// A calendar file read back through libical's parser, as a calendar program reads it.
class ReadCalendar {
 public:
  explicit ReadCalendar(const std::string& text);
  ~ReadCalendar();
  ReadCalendar(const ReadCalendar&) = delete;
  ReadCalendar& operator=(const ReadCalendar&) = delete;

  // A single VCALENDAR that libical found nothing wrong with (but an empty SUMMARY).
  bool clean() const;
  std::size_t size() const { return events_.size(); }
  icalcomponent* event(std::size_t i) const { return events_.at(i); }

 private:
  icalcomponent* root_ = nullptr;
  std::vector<icalcomponent*> events_;
};

// How many properties of `kind` a component has, and the text of the first one ("" when none).
int countOf(icalcomponent* component, icalproperty_kind kind);
std::string valueOf(icalcomponent* component, icalproperty_kind kind);
// A time as "2024-03-10 09:00:00", a date as "2024-03-10"; "Z" ends a UTC time.
std::string timeText(const icaltimetype& t);

// The starts of `event` up to and including the day `last`, in time order: DTSTART, the rule's
// further occurrences through libical's iterator and every RDATE, less every EXDATE (as a
// calendar program shows them).
std::vector<std::string> occurrences(icalcomponent* event, const Civil& last);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_CALENDAR_CALENDAR_READING_H_
