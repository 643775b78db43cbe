#ifndef VESSORY_EXPORT_ORGANISER_RUN_H_
#define VESSORY_EXPORT_ORGANISER_RUN_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive/organiser_archive.h"
#include "files/byte_source.h"
#include "archive/message_sink.h"
#include "archive/organiser_records.h"
#include "archive/text_converter.h"
#include "files/export_files.h"
#include "export/export_view.h"
#include "export/run_steps.h"

namespace vessory::exporting {

// The options of an address book, to-do list or memo pad export, fixed when it starts.
struct OrganiserSettings {
  // IANA zone of the to-dos' due dates; empty for the system's zone (UTC when that cannot be
  // told).
  std::string zoneName;
  std::string charset{archive::kDefaultArchiveCharset};
  // Also the records deleted on the desktop (archive files export every record anyway).
  bool includeDeleted = false;
  // Replaces the file (or, for memos, the folder) beside the archive.
  std::optional<std::string> outputPath;
  // DTSTAMP of every to-do, seconds since 1970 UTC; the moment of the export when not set.
  std::optional<std::int64_t> stampTime;
};

// What an export wrote and left out; complete once run() has returned.
struct OrganiserTally {
  archive::RecordKind kind = archive::RecordKind::kAddress;
  std::int64_t written = 0;
  std::int64_t privateCount = 0;
  std::int64_t completed = 0;  // to-dos done
  std::int64_t folders = 0;    // memo folders written into
  std::int64_t deletedLeftOut = 0;
  std::int64_t damagedLeftOut = 0;  // the record the archive ran out or stopped in
  std::int64_t unreadableLeftOut = 0;  // records a handheld database could not give whole
  std::int64_t announced = 0;       // the records the header announces
  std::int64_t lastWhole = 0;       // the number of the last record read whole
  bool endedEarly = false;          // the archive ran out (not: the reading stopped)
  bool handheld = false;            // read from a handheld database
  std::string outputName;           // the output as messages name it
  std::string zoneName;             // to-dos: the zone of the due dates
  // An output of that name from an earlier export was there, and was left as it was: nothing
  // readable was found, the run was stopped, or a damaged archive's output went beside it.
  bool earlierKept = false;
  // The earlier output as messages name it when a damaged archive's went beside it (then
  // outputName names that one); else empty.
  std::string earlierName;
};

// The output beside an archive for records of `kind`: the archive's name with its extension
// replaced by ".vcf" (contacts) or ".ics" (to-dos), or removed (the memo folder); an archive file
// of records removed on a sync (.aba, .tda, .mpa, .dba in any case) adds "-archive" to the stem,
// so that its output never meets the live file's.
std::string organiserOutputPathFor(std::string_view archivePath, archive::RecordKind kind);

// Checks the zone and character set of `settings`; the reason when one is unknown.
std::optional<std::string> checkOrganiserSettings(const OrganiserSettings& settings);

// One export of an address book, to-do list or memo pad archive: checks the selection, opens the
// archive, tells its kind by its tag, reads the header, creates the output, reads every record
// and writes each as it is read, reports how the archive ended with what was written, and ends
// the program -- the steps, progress and ending of the date book's exports. Records deleted on
// the desktop are left out of a live file unless asked for. An archive damaged before its first
// whole record gives no output: an earlier one is left as it was and the run ends as
// kNothingRead (kCannotRead when the file could not be read).
//
// Borrows `files`, which must outlive it, and closes every file it opened before it returns. A
// call made while a run is under way does nothing. With `endsProgram` false the run leaves the
// final message and the end of the program to its caller, which reads tally(); a failure to read
// or write is still reported here, where its reason is known.
class OrganiserRun {
 public:
  OrganiserRun(files::ExportFiles& files, OrganiserSettings settings, bool endsProgram = true)
      : files_(files), settings_(std::move(settings)), endsProgram_(endsProgram) {}
  OrganiserRun(const OrganiserRun&) = delete;
  OrganiserRun& operator=(const OrganiserRun&) = delete;

  ExportOutcome run(ExportView& view);
  const OrganiserTally& tally() const { return tally_; }

 private:
  ExportOutcome exportHandheld(ExportView& view, files::ByteSource& bytes,
                               archive::MessageSink& messages);
  ExportOutcome finish(ExportView& view, ExportOutcome outcome);

  files::ExportFiles& files_;
  OrganiserSettings settings_;
  bool endsProgram_;
  bool running_ = false;
  OrganiserTally tally_;
  std::unique_ptr<TextAndClock> tools_;
};

// The lines that say where the output went and what it holds, for a final message.
std::string organiserSummary(const OrganiserTally& tally);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_ORGANISER_RUN_H_
