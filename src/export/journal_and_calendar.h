#ifndef VESSORY_EXPORT_JOURNAL_AND_CALENDAR_H_
#define VESSORY_EXPORT_JOURNAL_AND_CALENDAR_H_

#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "files/export_files.h"
#include "export/export_run.h"
#include "export/export_view.h"

namespace vessory::exporting {

// One press of Export with the whole calendar wanted as well: the journal CSV, written exactly
// as the journal export alone writes it, then the calendar beside the archive in the system's
// time zone and the archive's default character set, one final message naming both files, and
// the end of the program.
//
// The calendar is started only when the journal part read the archive to its end; an archive
// that ended early or has data after its end is still exported, and its warning, shown once
// after the journal part as the journal export alone shows it, is not repeated for the
// calendar. A message the journal part showed (the reader's notes on a damaged archive) is not
// shown again when the calendar part reads the same bytes. Everything the journal export alone
// leaves the window open after (nothing exported) it leaves open here too. An archive damaged
// before its first whole record begins neither file and says so.
//
// Borrows `files`, which must outlive it. Runs on the caller's thread inside the Export click,
// like the runs it drives; a call made while one is under way does nothing.
class JournalAndCalendarRun {
 public:
  explicit JournalAndCalendarRun(files::ExportFiles& files);
  JournalAndCalendarRun(const JournalAndCalendarRun&) = delete;
  JournalAndCalendarRun& operator=(const JournalAndCalendarRun&) = delete;

  void run(JournalView& view);
  // The journal part's daily notes (see ExportRun::writeDailyNotes); the final message names
  // their folder.
  void writeDailyNotes(DailyNotesCollector* notes, std::string folder) {
    journal_.writeDailyNotes(notes, std::move(folder));
  }
  bool running() const { return running_; }

 private:
  std::vector<std::string> earlierOutputs(JournalView& view);

  files::ExportFiles& files_;
  ExportRun journal_;
  bool running_ = false;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_JOURNAL_AND_CALENDAR_H_
