#include "console/console_notes.h"

#include <memory>
#include <string>

#include "files/forwarding_files.h"

namespace vessory::console {

namespace {

// The console's files, except that the CSV is kept in memory and dropped: the journal run of
// a calendar export writes daily notes only.
class NoCsvFiles : public files::ForwardingFiles {
 public:
  explicit NoCsvFiles(ExportFiles& files) : ForwardingFiles(files) {}

  std::unique_ptr<files::OutputFile> createCsv(const std::string&, std::string&) override {
    return std::make_unique<files::StringOutput>();
  }
};

bool stoppedExport(ExportOutcome outcome) {
  return exporting::nothingExported(outcome) || outcome == ExportOutcome::kEndRequested ||
         outcome == ExportOutcome::kCannotWrite || outcome == ExportOutcome::kCannotRead;
}

}  // namespace

ConsoleNotes::ConsoleNotes(const ConsoleOptions& options) : options_(options) {
  if (!options.dailyNotes) return;
  std::string error;
  collector_ = exporting::DailyNotesCollector::open(options.encoding.value_or(std::string()), error);
}

ExportOutcome ConsoleNotes::finish(ExportOutcome outcome, bool csvKept, ConsoleView& view,
                                   ExportFiles& files) {
  if (!collector_ || !csvKept || stoppedExport(outcome)) return outcome;
  const journal::DailyNotes& notes = collector_->notes();
  if (notes.dayCount() == 0) return outcome;
  const std::string folder = options_.dailyNotesFolder.empty()
                                 ? journal::dailyNotesFolderBeside(options_.archive)
                                 : options_.dailyNotesFolder;
  const journal::DailyNotesWritten written = journal::writeDailyNotes(files, folder, notes);
  if (!written.error.empty()) {
    view.showMessage(written.error);
    return ExportOutcome::kCannotWrite;
  }
  if (!options_.quiet) view.showMessage(exporting::dailyNotesSummary(written, folder));
  return outcome;
}

ExportOutcome calendarDailyNotes(const ConsoleOptions& options, ExportOutcome calendar,
                                 ConsoleView& view, ExportFiles& files) {
  if (!options.dailyNotes || stoppedExport(calendar)) return calendar;
  NoCsvFiles noCsv(files);
  ExportRun run(noCsv);
  run.leaveEndToCaller();
  if (options.encoding) run.convertToUtf8From(*options.encoding);
  if (!options.timeZone.empty()) run.shiftByZone(options.timeZone);
  ConsoleNotes notes(options);
  run.collectDailyNotes(notes.collector());
  const ExportOutcome journal = run.run(view);
  const ExportOutcome written = notes.finish(journal, run.csvKept(), view, files);
  // The calendar's own ending (a suspect archive) stands unless the notes failed.
  return exitStatus(written) > exitStatus(calendar) ? written : calendar;
}

}  // namespace vessory::console
