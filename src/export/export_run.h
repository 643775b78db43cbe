#ifndef VESSORY_EXPORT_EXPORT_RUN_H_
#define VESSORY_EXPORT_EXPORT_RUN_H_

#include <cstdint>
#include <optional>
#include <string>

#include "files/export_files.h"
#include "export/export_view.h"
#include "export/run_steps.h"

namespace vessory::exporting {
class DailyNotesCollector;
}

namespace vessory::exporting {

// The options of one run. Three are taken once when the run starts; the three live ones go back
// to the view at every use, so that an edit made while the run lets the user act takes effect
// at its next use.
class ExportSettings {
 public:
  ExportSettings(ExportView& view, JournalOptions& options,
                 const std::optional<std::string>& charset = std::nullopt);

  const std::string& inputPath() const { return inputPath_; }
  const std::string& journalName() const { return journalName_; }
  bool showDetails() const { return showDetails_; }
  // The archive's character set when the CSV is written in UTF-8; empty otherwise.
  const std::string& charset() const { return charset_; }

  std::string keywordDelimiters() const { return options_.keywordsText(); }
  bool wordWrap() const { return options_.wordWrapValue() == kChecked; }
  std::string hoursBiasText() const { return options_.hoursBiasBoxText(); }

 private:
  JournalOptions& options_;
  bool showDetails_;
  std::string journalName_;
  std::string inputPath_;
  std::string charset_;
};

// One export: checks the selection, opens the archive, creates the CSV file, reads the header
// and every record, writes one row per journal entry, reports how the archive ended and ends
// the program. Only the selection, opening, tag and CSV-creation failures return with the
// program left running.
//
// The run borrows `files`, which must outlive it. It is the only place that opens and closes
// files, and it closes both before it returns, whatever happened. run() may be called again
// after it returns; a call made while a run is under way (from a nested event) does nothing.
class ExportRun {
 public:
  // `csvPath`, when given, replaces the path beside the archive.
  explicit ExportRun(files::ExportFiles& files, std::optional<std::string> csvPath = std::nullopt)
      : files_(files), csvPathOverride_(std::move(csvPath)) {}
  ExportRun(const ExportRun&) = delete;
  ExportRun& operator=(const ExportRun&) = delete;

  // Writes the CSV in UTF-8, converted from `charset` (the archive's character set), after a
  // byte-order mark. Without it the CSV holds the archive's bytes as they are.
  void convertToUtf8From(std::string charset) { utf8From_ = std::move(charset); }
  // Shifts every time by the UTC offset that the IANA zone `zoneName` had at that moment
  // (daylight saving included) instead of the hours bias, as the calendar shows the same
  // records; an unknown zone stops the run before anything is opened (kBadOption). A handheld
  // database's times are its own clock's and keep the bias.
  void shiftByZone(std::string zoneName) { zoneName_ = std::move(zoneName); }
  // Leaves the final message and the end of the program to the caller, for an export that
  // goes on after the CSV; failures are still reported by the run, which knows their reasons.
  void leaveEndToCaller() { endsProgram_ = false; }
  // A run that finds no journal entry makes no CSV and leaves one already there as it was; its
  // final message gives the hint of noEntriesHint() where it would name the CSV. An archive
  // damaged before its first whole record then ends the run as kNothingRead, which says so.
  void keepEarlierWithoutEntries() { keepEarlier_ = true; }
  // As keepEarlierWithoutEntries(), and such a run is no success: its final message has no
  // "All Done!" and it ends as kNothingRead, with nothingRead() empty unless the archive was
  // damaged before its first whole record.
  void failWithoutEntries() {
    keepEarlier_ = true;
    failWithoutEntries_ = true;
  }
  // An earlier CSV is replaced by the export of a damaged archive too, as the console has
  // always done; a stop still leaves it as it was.
  void replaceEarlierWhenDamaged() { replaceWhenDamaged_ = true; }
  // Hands every journal note the run writes rows for to `notes` (borrowed; null for none), so
  // that the same entries are also written as daily notes.
  void collectDailyNotes(DailyNotesCollector* notes) { notes_ = notes; }
  // As collectDailyNotes, and once the CSV is in place the notes are written into `folder`;
  // the final message says where (notesMessage()), or why they could not be.
  void writeDailyNotes(DailyNotesCollector* notes, std::string folder) {
    notes_ = notes;
    notesFolder_ = std::move(folder);
  }
  // The last run's words on its daily notes, a paragraph to end its final message; empty for
  // none.
  const std::string& notesMessage() const { return notesMessage_; }

  ExportOutcome run(ExportView& view, JournalOptions& options);
  ExportOutcome run(JournalView& view) { return run(view, view); }
  bool running() const { return running_; }
  // The CSV file as the last run's messages name it, and its path.
  const std::string& csvName() const { return csvName_; }
  const std::string& csvPath() const { return csvPath_; }
  // The journal records found and the rows written by the last run.
  std::int64_t journalsFound() const { return journalsFound_; }
  std::int64_t rowsWritten() const { return rowsWritten_; }
  // True when the last run's CSV is in place under its name, holding rowsWritten() rows.
  bool csvKept() const { return csvKept_; }
  // True when a CSV of that name was there before the last run and was left as it was: the run
  // was stopped, wrote no row, or put its CSV beside it (earlierCsvName() then names it).
  bool earlierKept() const { return earlierKept_; }
  // The earlier CSV as messages name it when a damaged archive's CSV went beside it; else empty.
  const std::string& earlierCsvName() const { return earlierCsvName_; }
  // After a run that ended as kNothingRead: how the reading of the archive ended.
  std::optional<ExportOutcome> nothingRead() const { return nothingRead_; }

 private:
  ExportOutcome endWithNothing(ExportView& view, ExportOutcome ending);
  // Puts the CSV where `ending` and `earlier` say (see OutputPlace); false when writing failed.
  bool placeCsv(files::OutputFile& csv, ExportOutcome ending, bool earlier);

  files::ExportFiles& files_;
  std::optional<std::string> csvPathOverride_;
  std::optional<std::string> utf8From_;
  std::optional<std::string> zoneName_;
  DailyNotesCollector* notes_ = nullptr;
  std::string notesFolder_;
  std::string notesMessage_;
  bool endsProgram_ = true;
  bool keepEarlier_ = false;
  bool failWithoutEntries_ = false;
  bool replaceWhenDamaged_ = false;
  bool earlierKept_ = false;
  std::string earlierCsvName_;
  bool csvKept_ = false;
  bool running_ = false;
  std::string csvName_;
  std::string csvPath_;
  std::optional<ExportOutcome> nothingRead_;
  std::int64_t journalsFound_ = 0;
  std::int64_t rowsWritten_ = 0;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_EXPORT_RUN_H_
