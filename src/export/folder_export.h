#ifndef VESSORY_EXPORT_FOLDER_EXPORT_H_
#define VESSORY_EXPORT_FOLDER_EXPORT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/folder_layout.h"
#include "export/run_steps.h"
#include "files/export_files.h"

namespace vessory::exporting {

// The options of an export of a whole user folder, fixed when it starts.
struct FolderSettings {
  std::string folder;
  // The folder the exports go to; FOLDER-export beside the folder when not given.
  std::optional<std::string> outputFolder;
  // The journal export's options, as its front ends hold them.
  std::string journalText = "English: Daily Journal";
  std::string keywords = "<>";
  std::string bias = "-4";
  // A handheld date book's journal takes its times as they are unless a bias is given.
  bool biasGiven = false;
  bool wordWrap = true;
  // The archives' character set: the journal is written in UTF-8 from it when given; every
  // other export converts from it (windows-1252 when not given).
  std::optional<std::string> encoding;
  std::string zoneName;  // the calendar's and the to-dos' zone; empty: the system's
  bool includeDeleted = false;
  // A desktop date book's journal is also written as daily notes beside its CSV.
  bool dailyNotes = true;
  bool details = false;
  // DTSTAMP of every event and to-do, seconds since 1970 UTC; the moment of the export when
  // not set.
  std::optional<std::int64_t> stampTime;
  // Writes "How to import.txt" beside the exports when anything was written (or, after a stop,
  // an earlier export stands). The front ends ask for it; tests leave it out.
  bool importGuide = false;
};

// What a front end sees of a folder export while it runs. Called on the caller's thread.
class FolderView {
 public:
  virtual ~FolderView() = default;
  // An archive has been read: its name as the summary gives it and the records read.
  virtual void archiveRead(const std::string& name, std::int64_t records) = 0;
  // With details asked for: a record's time (or number) and its description, as the archive
  // holds it, once per record of every archive.
  virtual void showDetail(const std::string& label, const std::string& description) = 0;
  // An archive's exports start; each of its runs then counts its records as it reads them.
  virtual void archiveStarted(const std::string& name) { (void)name; }
  virtual void showTotalRecords(const std::string& text) { (void)text; }
  virtual void showThisRecord(const std::string& text) { (void)text; }
  // The journal entries a date book's journal export has found so far.
  virtual void showJournalsFound(const std::string& text) { (void)text; }
  // Lets the user act between two records, as ExportView::processPendingEvents does.
  virtual void processPendingEvents() {}
  // True once the user has asked the export to stop (the window's Exit, a stop signal): the
  // archive under way stops at its next record, keeping its whole records, and the archives
  // after it are not started.
  virtual bool endRequested() { return false; }
};

// One export of an archive: its output, as the summary names it, what it holds, and how it
// ended.
struct PartReport {
  std::string output;  // relative to the output folder; empty when nothing was written
  std::string counts;  // "120 events", "no journal entries: journal.csv not written"
  ExportOutcome outcome = ExportOutcome::kComplete;
};

// What became of one archive found.
struct ArchiveReport {
  std::string archive;                // relative to the folder exported
  std::string what;                   // "date book", "address book, archive file", ...
  std::vector<PartReport> parts;      // none for an archive left out
  std::string note;                   // why it was left out, or what it is not
  std::vector<std::string> messages;  // what the runs reported, each once, in order
  // The records read whole; for an archive stopped part-way, those before the stop.
  std::int64_t recordsRead = 0;
  // A handheld database's export: the output of the same user's desktop file of its kind, which
  // holds most of the same records under other UIDs (empty when there is none), and how many
  // of this archive's records (by record id) that output lacks.
  std::string sameRecordsAs;
  std::int64_t recordsOnlyHere = 0;
};

// An output not started because the export stopped first.
struct UntouchedOutput {
  std::string output;    // as the summary would name it ("calendar.ics", "Ann/memos/")
  std::string archive;   // what it would have come from, as the summary names it
  bool earlier = false;  // a file or folder of that name is in the output folder
};

enum class FolderStatus {
  kExported,          // the archives were exported, each as its parts say
  kOutputRefused,     // the output folder is the folder itself or lies in a kind folder
  kNothingFound,      // no archive, or the folder cannot be read
  kCannotMakeOutput,  // the output folder could not be made
};

struct FolderResult {
  FolderStatus status = FolderStatus::kExported;
  std::string problem;  // the reason, for every status but kExported
  std::string outputFolder;
  std::vector<ArchiveReport> archives;
  // Folders that could not be read, with the system's reason: nothing in them was exported.
  std::vector<std::string> unreadable;
  // Once a stop was asked for: the archive stopped part-way (an index into `archives`; none
  // when the stop came between two archives) and the archives not started, as found.
  bool stopped = false;
  std::optional<std::size_t> stoppedArchive;
  std::vector<std::string> notStarted;
  // Once a stop was asked for: every output the export would have written and did not start,
  // with whether a file of that name (an earlier export's, left as it was) is in the folder.
  std::vector<UntouchedOutput> untouched;
  // The character set the journal CSVs were converted from into UTF-8 (--encoding); when not
  // set they hold the archive's own bytes.
  std::optional<std::string> journalConvertedFrom;
  // The import guide (import_guide.h) as written; empty when no file was written for it to
  // describe, or when it could not be written, as `guideError` then says.
  std::string guidePath;
  std::string guideError;
};

// The export of a whole user folder (or a folder of several users' folders): finds the
// archives (see folder_layout.h), refuses an output folder that would mix with them, makes the
// output folder, and runs each archive's exports into it with fixed names -- the date book's
// calendar and journal, the contacts, to-dos and memos -- through the same runs as single
// exports. A run's messages are kept for the summary, never shown; damage in one archive stops
// only that archive. Every output takes its name only once written whole, and the journal only when
// it holds an entry, so that an earlier journal.csv survives an archive without one. Files in the
// output folder that are not written keep their contents. When anything was written, the import
// guide is written last, whole (through a temporary file), describing what was.
//
// Borrows `files`, which must outlive it.
class FolderExport {
 public:
  FolderExport(files::ExportFiles& files, FolderSettings settings)
      : files_(files), settings_(std::move(settings)) {}

  FolderResult run(FolderView& view);

 private:
  void exportArchive(const FoundArchive& found, FolderView& view, ArchiveReport& report);
  void exportDatebook(files::ExportFiles& files, const FoundArchive& found, FolderView& view,
                      ArchiveReport& report);
  void exportOrganiser(files::ExportFiles& files, const FoundArchive& found,
                       archive::RecordKind kind, FolderView& view, ArchiveReport& report);

  files::ExportFiles& files_;
  FolderSettings settings_;
};

// What a whole-folder export finds, in the words its summary uses (the web page lists them
// before the export runs):
// Why `layout` of `folder` gives nothing to export (it could not be read, or holds no
// archive), or nothing when it has archives.
std::optional<std::string> nothingToExport(const std::string& folder, const FolderLayout& layout);
// What the summary calls an archive found ("date book, archive file", "cannot be read").
std::string foundWhat(const FoundArchive& found);
// Why an archive the export reads is left out all the same (its exports would replace those of
// another, or it is a compatibility copy), or empty when it is exported.
std::string leftOutNote(const FoundArchive& found);

// The summary's line for one archive: what it was, where its exports went with their counts,
// how each ended, and the messages of its runs.
std::string summaryLine(const ArchiveReport& report);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_FOLDER_EXPORT_H_
