#ifndef VESSORY_CONSOLE_CONSOLE_NOTES_H_
#define VESSORY_CONSOLE_CONSOLE_NOTES_H_

#include <memory>

#include "console/console_options.h"
#include "console/console_view.h"
#include "export/daily_notes_step.h"

namespace vessory::console {

// The daily notes of one console run (--daily-notes): a collector the journal run fills, and,
// once the run has kept its CSV, the day files written into the folder asked for (or the one
// beside the archive) with a line that says so. Borrows the options, which must outlive it.
class ConsoleNotes {
 public:
  explicit ConsoleNotes(const ConsoleOptions& options);

  // The collector to hand the journal run; null when no notes are asked for (or the character
  // set is unknown, which the run itself refuses).
  exporting::DailyNotesCollector* collector() { return collector_.get(); }

  // Writes the notes after a journal run that ended as `outcome`, when `csvKept`; returns the
  // outcome to report: kCannotWrite when a day file could not be written.
  ExportOutcome finish(ExportOutcome outcome, bool csvKept, ConsoleView& view, ExportFiles& files);

 private:
  const ConsoleOptions& options_;
  std::unique_ptr<exporting::DailyNotesCollector> collector_;
};

// With --calendar: the journal's daily notes after the calendar, from a journal run of its own
// that makes no CSV. Returns the run's outcome, or `calendar` when that stopped the export.
ExportOutcome calendarDailyNotes(const ConsoleOptions& options, ExportOutcome calendar,
                                 ConsoleView& view, ExportFiles& files);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONSOLE_NOTES_H_
