#ifndef VESSORY_EXPORT_CALENDAR_RUN_H_
#define VESSORY_EXPORT_CALENDAR_RUN_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/text_converter.h"
#include "files/export_files.h"
#include "export/export_view.h"
#include "export/run_steps.h"

namespace vessory::exporting {

// The options of a calendar export, fixed when it starts.
struct CalendarSettings {
  // IANA zone of the wall times; empty for the system's zone (UTC when that cannot be told).
  std::string zoneName;
  std::string charset{archive::kDefaultArchiveCharset};
  bool includeDeleted = false;
  // Replaces the path beside the archive.
  std::optional<std::string> outputPath;
  // DTSTAMP of every event, seconds since 1970 UTC; the moment of the export when not set.
  std::optional<std::int64_t> stampTime;
};

// What a calendar export wrote and left out; complete once run() has returned.
struct CalendarTally {
  std::int64_t events = 0;
  std::int64_t repeating = 0;
  std::int64_t allDay = 0;
  std::int64_t deletedLeftOut = 0;
  std::int64_t cutShortLeftOut = 0;  // the record the archive ran out in, or stopped in
  std::int64_t unreadableLeftOut = 0;  // records a handheld database could not give whole
  std::int64_t announced = 0;        // the records the header announces
  std::int64_t lastWhole = 0;        // the number of the last record read whole
  bool endedEarly = false;           // the archive ran out (rather than the reading stopping)
  std::string zoneName;              // the zone the times were turned into
  bool zoneFallback = false;         // the system's zone could not be told: UTC was used
  bool handheldClock = false;        // a handheld database: its own wall times, in no zone
  std::string calendarName;          // the calendar file as messages name it
  // A calendar of that name from an earlier export was there, and was left as it was: nothing
  // readable was found, the run was stopped, or a damaged archive's calendar went beside it.
  bool earlierKept = false;
  // The earlier calendar as messages name it when a damaged archive's went beside it (then
  // calendarName names that one); else empty.
  std::string earlierName;
};

// A record that the desktop deleted but kept in the archive (status bit 0x04).
inline constexpr std::int64_t kDeletedStatusBit = 0x04;

// The calendar file beside an archive: its extension replaced by ".ics", or ".ics" added to a
// name without one; an archive file of removed events (.dba, in any case) adds "-archive" to
// the name (Datebook-archive.ics).
std::string calendarPathFor(std::string_view archivePath);

// Checks a zone name and a character set before a run; the reason when one is unknown.
std::optional<std::string> checkCalendarSettings(const CalendarSettings& settings);

// One calendar export: checks the selection, opens the archive, creates the calendar file,
// reads the header and every record, writes one event per record as it is read, reports how
// the archive ended with what was written, and ends the program -- the same steps, messages
// and ending as the journal export. Records are read into a fresh record each, so that no event
// takes another record's repeat values or exception dates.
//
// The run borrows `files`, which must outlive it, and closes every file it opened before it
// returns. run() may be called again after it returns; a call made while a run is under way
// does nothing. A date book damaged before its first whole record gives no calendar: the run
// writes none, leaves an earlier one as it was and ends as kNothingRead (kCannotRead when the
// file could not be read). With `endsProgram` false the run leaves the final message and the
// end of the program to its caller, which reads tally() (an export that writes more than the
// calendar).
class CalendarRun {
 public:
  CalendarRun(files::ExportFiles& files, CalendarSettings settings, bool endsProgram = true)
      : files_(files), settings_(std::move(settings)), endsProgram_(endsProgram) {}
  CalendarRun(const CalendarRun&) = delete;
  CalendarRun& operator=(const CalendarRun&) = delete;

  ExportOutcome run(ExportView& view);
  bool running() const { return running_; }
  const CalendarTally& tally() const { return tally_; }

 private:
  ExportOutcome endWith(ExportView& view, ExportOutcome outcome, const std::string& path,
                               const std::string& reason);
  ExportOutcome endWithNothing(ExportView& view, ExportOutcome ending, const std::string& path,
                               const std::string& reason);
  // Puts the calendar where `ending` and `earlier` say (see OutputPlace); false when writing
  // failed.
  bool placeOutput(files::OutputFile& out, ExportOutcome ending, bool earlier,
                   const std::string& outPath);

  files::ExportFiles& files_;
  CalendarSettings settings_;
  bool endsProgram_;
  bool running_ = false;
  CalendarTally tally_;
};

// The lines that say where the calendar went and what it holds, for a final message.
std::string calendarSummary(const CalendarTally& tally);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_CALENDAR_RUN_H_
