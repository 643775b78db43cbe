#ifndef VESSORY_EXPORT_RUN_STEPS_H_
#define VESSORY_EXPORT_RUN_STEPS_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "files/byte_source.h"
#include "archive/text_converter.h"
#include "calendar/zone_clock.h"
#include "files/export_files.h"
#include "export/export_view.h"

namespace vessory::exporting {

// How a run ended.
enum class ExportOutcome {
  kAlreadyRunning,   // a run was under way; nothing was done
  kNoArchive,        // no file selected, or it does not exist
  kCannotOpen,       // the archive could not be opened
  kNotDatebook,      // wrong tag
  kOutputIsArchive,  // the output path names the archive itself
  kCannotCreate,     // the output file could not be created
  kBadOption,        // an unknown time zone or character set; nothing was done
  kComplete,         // "All Done!"
  kDataAfterEnd,     // bytes follow the last record
  kEndedEarly,       // the archive ran out before its last record
  kSequencingError,  // a corrupt string marker stopped the export
  kDamagedRecords,   // a record or the layout could not be read; what could be was exported
  kUnreadTails,      // every record exported, some without bytes at their end that hold no part
  kLaterVersion,     // a file of a later version named but not read, or of a layout not known
  kCannotWrite,      // writing the output failed
  kCannotRead,       // reading the archive failed part-way
  kEndRequested,     // the user ended the program during the run
  kNothingRead,      // not even the header could be read (reported); nothing was exported
};

// True for the outcomes after which nothing was written.
bool nothingExported(ExportOutcome outcome);

// True when a run that ended as `outcome` holds only part of a damaged archive (or of one whose
// reading failed part-way).
bool endedInDamage(ExportOutcome outcome);

// True when a run that read `wholeRecords` records whole and ended as `outcome` has nothing to
// write because its file is damaged (or could not be read) before its first whole record: it
// then writes nothing and leaves an earlier output of the same name as it was. A file read to
// its end that holds no records is not damaged, and one with a record read whole is exported
// up to the damage.
bool nothingReadable(ExportOutcome outcome, std::int64_t wholeRecords);

// The message shown for a data-after-the-end archive, as the desktop has always worded it.
inline constexpr char kDataAfterEndMessage[] =
    "NOT at End of File - Datebook database has invalid/unex!";

// The other texts of a run's ending, shared by every run that tells of the journal or the
// archive's damage, so that they read the same whichever run shows them.
inline constexpr char kAllDone[] = "All Done!\r\n\r\n";
inline constexpr char kEndedEarlyWarning[] =
    "Datebook file ended early - it may be damaged or incomplete.";
inline constexpr char kParagraph[] = "\r\n\r\n";
inline constexpr char kJournalsPlaced[] = "Extracted journals have been placed in:\r\n";
inline constexpr char kOtherRecordsJournals[] =
    "Journals found in the records that could be read have been placed in:\r\n";
inline constexpr char kJournalsBeforeDamage[] =
    "Journals found before that point have been placed in:\r\n";
inline constexpr char kEventsBeforeDamage[] =
    "The events found before that point have been kept.\r\n\r\n";
inline constexpr char kNothingReadText[] = "No record could be read: nothing was exported.";

// What a run that found nothing readable says after kNothingReadText: which earlier outputs
// of the names it would have written (as messages name them) were left as they were.
std::string earlierKeptText(const std::vector<std::string>& earlierKept);
// The final message of a date book run that found nothing readable, the reading having ended
// as `ending`: the archive's warning for that ending, then kNothingReadText and
// earlierKeptText().
std::string nothingReadMessage(ExportOutcome ending,
                               const std::vector<std::string>& earlierKept);

// What a journal export that found no entry says: no entry under the journal's name (as the
// user gave it, `journalText`), and how to list the descriptions the archive at `archivePath`
// uses.
std::string noEntriesHint(const std::string& journalText, const std::string& archivePath);

// The archive a run reads, opened: the steps both exports take before their output exists.
// Each failure is shown to the view and returned.
struct OpenedArchive {
  std::unique_ptr<files::ByteSource> source;
  std::optional<ExportOutcome> failure;
};

// Checks that `path` names a selected, existing file and opens it.
OpenedArchive openSelectedArchive(ExportView& view, files::ExportFiles& files, const std::string& path);

// Shows why the output at `outputPath` cannot be written without touching the archive at
// `archivePath`, and returns the outcome; nothing when it is another file.
std::optional<ExportOutcome> refuseOutputOverArchive(ExportView& view, files::ExportFiles& files,
                                                     const std::string& outputPath,
                                                     const std::string& archivePath,
                                                     const std::string& what);

// Tells how the archive ended after the last record: complete, cut short, or more data.
ExportOutcome endOfArchive(archive::ArchiveReader& reader);

// How a run that read records ended, once its output is closed: a failure to write (`written`
// false) comes before anything else, then what stopped the reading early, then a read error,
// and only then how the archive itself ended.
ExportOutcome closingOutcome(bool written, std::optional<ExportOutcome> stopped,
                             const files::ByteSource& source, archive::ArchiveReader& reader);

// The converter from `charset` to UTF-8 when one is asked for. An unknown character set is shown
// to the view and returned as kBadOption in `failure`.
struct OptionalConverter {
  std::unique_ptr<archive::TextConverter> converter;
  std::optional<ExportOutcome> failure;
};
OptionalConverter openConverter(ExportView& view, const std::optional<std::string>& charset);

// The character set and the zone of a run that writes calendar times, opened once.
struct TextAndClock {
  std::unique_ptr<archive::TextConverter> text;
  std::unique_ptr<calendar::ZoneClock> clock;
  std::string zoneName;       // the zone the times are turned into
  bool zoneFallback = false;  // the system's zone could not be told: UTC is used
};
// Opens `charset` and the zone `zoneName` (the system's when empty); the reason when either is
// unknown, worded once ("Unknown character set NAME", "Unknown time zone NAME").
std::optional<std::string> openTextAndClock(const std::string& charset,
                                            const std::string& zoneName, TextAndClock& tools);

// The records a run left out, and why, for its final message.
struct LeftOutRecords {
  std::int64_t deleted = 0;     // deleted (on the handheld: or archived)
  std::int64_t unreadable = 0;  // records a handheld database could not give whole
  std::int64_t cutShort = 0;    // the record the archive ran out or stopped in (0 or 1)
  std::int64_t lastWhole = 0;   // the number of the last record read whole
  std::int64_t announced = 0;   // the records the header announces
  bool endedEarly = false;      // the archive ran out (rather than the reading stopping)
  bool handheld = false;        // a handheld database: deleted there, not on the desktop
  std::int64_t written = 0;     // the records in the output
};
// The records announced that the reading never got to (none after a whole reading).
std::int64_t notReached(const LeftOutRecords& left);
// "1 event", "2 events".
std::string countOf(std::int64_t count, const char* one, const char* many);

// "No records left out." or "3 records left out: 2 deleted on the desktop, 1 cut short by the
// damage; the archive ended after record 30 of 33." After damage, a sentence on the whole: "Of
// the 33 records the archive announced, 28 were written, 3 left out and 2 not reached."
std::string leftOutText(const LeftOutRecords& left);

// Forwards the readers' messages to the view.
class ViewMessages : public archive::MessageSink {
 public:
  explicit ViewMessages(ExportView& view) : view_(view) {}
  void showMessage(const std::string& text) override { view_.showMessage(text); }

 private:
  ExportView& view_;
};

// Clears a flag when it goes out of scope: a run's "under way" mark, whichever way it returns.
struct ClearOnExit {
  bool& flag;
  ~ClearOnExit() { flag = false; }
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_RUN_STEPS_H_
