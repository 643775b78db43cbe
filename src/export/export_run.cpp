#include "export/export_run.h"

#include <memory>
#include <vector>

#include "archive/event_record.h"
#include "archive/timestamp.h"
#include "calendar/zone_clock.h"
#include "export/daily_notes_step.h"
#include "export/datebook_source.h"
#include "export/handheld_source.h"
#include "export/output_place.h"
#include "export/record_loop.h"
#include "journal/csv_writer.h"
#include "journal/entry_splitter.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

namespace {

// The state of one run past the tag check: the record source, the record and the counters. It
// forwards the readers' messages to the view and acts at the record's display points.
class Session : public archive::MessageSink, public archive::RecordObserver {
 public:
  Session(ExportView& view, const ExportSettings& settings) : view_(view), settings_(settings) {}

  // Times are shifted by `zone`'s offset from UTC at each record's start instead of the hours
  // bias; nothing keeps the bias. Borrowed for the session's life.
  void shiftByZone(const calendar::ZoneClock* zone) { zone_ = zone; }
  void collectDailyNotes(DailyNotesCollector* notes) { notes_ = notes; }

  // The records to read, from the container the archive turned out to be.
  void attach(std::unique_ptr<EventSource> source) { source_ = std::move(source); }
  EventSource& source() { return *source_; }
  void showMessage(const std::string& text) override { view_.showMessage(text); }

  // Reads the header and every record, writing the journal rows to `csv`. Returns how the
  // reading stopped early, or nothing when it got to the end of the records. With `toUtf8`,
  // rows are written in UTF-8 and the journal name is taken to be UTF-8 too.
  std::optional<ExportOutcome> readAll(files::OutputFile& csv, archive::TextConverter* toUtf8);

  void startTimeRead(const archive::EventRecord& record) override {
    view_.showDateTime(archive::formatTimestamp(record.startTime, biasSeconds(record.startTime)));
    view_.setDescriptionBackColor(kMenuBackgroundColor);
  }
  void descriptionRead(const archive::EventRecord& record) override {
    view_.setDescriptionBackColor(kWindowBackgroundColor);
    view_.showDescription(record.description);
  }

  std::int64_t journalCount() const { return journalCount_; }
  std::int64_t rowCount() const { return rowCount_; }
  std::int64_t wholeCount() const { return wholeCount_; }

 private:
  double biasSeconds(std::int64_t startTime) {
    if (zone_ != nullptr) return static_cast<double>(zone_->utcOffset(startTime));
    return bias_.seconds(settings_.hoursBiasText());
  }
  bool isJournal(archive::TextConverter* toUtf8);
  void processRecord(journal::CsvJournalWriter& writer, archive::TextConverter* toUtf8);

  ExportView& view_;
  const ExportSettings& settings_;
  std::unique_ptr<EventSource> source_;
  journal::EntrySplitter splitter_;
  archive::EventRecord record_;
  archive::HoursBias bias_;
  const calendar::ZoneClock* zone_ = nullptr;
  DailyNotesCollector* notes_ = nullptr;
  std::unique_ptr<archive::TextConverter> nameText_;  // descriptions as the name is compared
  std::string description_;
  std::int64_t journalCount_ = 0;
  std::int64_t rowCount_ = 0;
  std::int64_t wholeCount_ = 0;  // records read to their end
};

std::optional<ExportOutcome> Session::readAll(files::OutputFile& csv,
                                              archive::TextConverter* toUtf8) {
  journal::CsvJournalWriter writer(csv, toUtf8);
  source_->setObserver(settings_.showDetails() ? this : nullptr);
  // A record the archive ran out in is still processed as read; none is read after it.
  return readRecords(
      view_, *source_, record_,
      [&](std::int64_t, archive::EventRecord&, RecordRead how) -> std::optional<ExportOutcome> {
        if (how == RecordRead::kStopped) return std::nullopt;
        if (how == RecordRead::kWhole) ++wholeCount_;
        processRecord(writer, toUtf8);
        if (!csv.ok()) return ExportOutcome::kCannotWrite;
        return std::nullopt;
      });
}

// A journal name given for a UTF-8 export is UTF-8 text, so the description is compared as the
// CSV shows it. A converter of its own keeps the CSV's replacement count to the CSV's text.
bool Session::isJournal(archive::TextConverter* toUtf8) {
  if (toUtf8 == nullptr) return journal::isJournalRecord(record_, settings_.journalName());
  if (!nameText_) {
    std::string error;
    nameText_ = archive::TextConverter::open(settings_.charset(), error);
    if (!nameText_) return journal::isJournalRecord(record_, settings_.journalName());
  }
  description_.clear();
  nameText_->appendUtf8(record_.description, description_);
  return journal::isJournalRecord(record_, description_, settings_.journalName());
}

void Session::processRecord(journal::CsvJournalWriter& writer, archive::TextConverter* toUtf8) {
  if (!isJournal(toUtf8)) return;
  ++journalCount_;
  view_.showJournalsFound(std::to_string(journalCount_));
  journal::JournalNote note;
  note.dateText = journal::journalDateText(record_.startTime, biasSeconds(record_.startTime));
  journal::HeaderSplit header = journal::splitJournalHeader(record_.note, record_.category);
  record_.category = header.category;
  note.category = header.category;
  note.body = header.body;
  // The options are read once a record: the window may change them while a run goes on.
  const std::string delimiters = settings_.keywordDelimiters();
  splitter_.split(note, settings_.wordWrap(),
                  [this, &writer, &delimiters](journal::JournalEntry& entry) {
                    writer.writeJournalRow(entry, delimiters);
                    ++rowCount_;
                  });
  if (notes_ != nullptr) notes_->collect(note, source_->header(), delimiters);
}

// The final message; `placed` is what follows the text on the journals found: where they are,
// or the hint when no entry was found and no CSV made. `beside` tells of an earlier CSV left
// beside a damaged archive's.
void reportEnd(ExportView& view, ExportOutcome outcome, const std::string& archivePath,
               const std::string& csvName, const std::string& placed, const std::string& reason,
               const std::string& beside) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      view.showMessage(kAllDone + placed);
      break;
    case ExportOutcome::kEndedEarly:
      view.showMessage(kEndedEarlyWarning + (kParagraph + placed));
      break;
    case ExportOutcome::kDataAfterEnd:
      view.showMessage(kDataAfterEndMessage);
      break;
    case ExportOutcome::kDamagedRecords:  // each record left out has been named
      view.showMessage(placed);
      break;
    case ExportOutcome::kUnreadTails:  // the source has said how many records ended so
      view.showMessage(kJournalsPlaced + csvName + beside);
      break;
    case ExportOutcome::kCannotWrite:
      view.showMessage("Cannot write " + csvName + ": " + reason);
      break;
    case ExportOutcome::kCannotRead:
      view.showMessage("Cannot read " + archivePath + ": " + reason);
      break;
    default:  // the sequencing error and the user's end have been reported already
      break;
  }
}

// Where the journals went, in the words of each ending.
std::string placedText(ExportOutcome outcome, const std::string& csvName) {
  if (outcome == ExportOutcome::kEndedEarly) return kJournalsBeforeDamage + csvName;
  if (outcome == ExportOutcome::kDamagedRecords) return kOtherRecordsJournals + csvName;
  return kJournalsPlaced + csvName;
}

}  // namespace

ExportSettings::ExportSettings(ExportView& view, JournalOptions& options,
                               const std::optional<std::string>& charset)
    : options_(options),
      showDetails_(view.showDetailsValue() != kUnchecked),
      journalName_(journal::deriveJournalName(options.journalNameText())),
      inputPath_(view.inputPath()),
      charset_(charset.value_or(std::string())) {}

ExportOutcome ExportRun::run(ExportView& view, JournalOptions& options) {
  if (running_) return ExportOutcome::kAlreadyRunning;
  running_ = true;
  const ClearOnExit clear{running_};

  journalsFound_ = rowsWritten_ = 0;
  csvKept_ = earlierKept_ = false;
  earlierCsvName_.clear();
  nothingRead_.reset();
  const ExportSettings settings(view, options, utf8From_);
  OptionalConverter openedConverter = openConverter(view, utf8From_);
  if (openedConverter.failure) return *openedConverter.failure;
  std::unique_ptr<archive::TextConverter> toUtf8 = std::move(openedConverter.converter);
  std::unique_ptr<calendar::ZoneClock> zone;
  if (zoneName_) {
    zone = calendar::ZoneClock::open(*zoneName_);
    if (!zone) {
      view.showMessage(calendar::ZoneClock::refusal(*zoneName_));
      return ExportOutcome::kBadOption;
    }
  }
  const std::string& path = settings.inputPath();
  OpenedArchive opened = openSelectedArchive(view, files_, path);
  if (opened.failure) return *opened.failure;
  std::unique_ptr<files::ByteSource> source = std::move(opened.source);
  Session session(view, settings);
  session.collectDailyNotes(notes_);
  session.attach(openEventSource(files_, path, *source, session));
  if (!session.source().readTag()) {
    return refuseAtTag(view, path, session.source());
  }
  // A handheld kept its own clock's times: no zone moves them, only a bias the user gives.
  if (zone && !session.source().wallClockTimes()) session.shiftByZone(zone.get());
  // A handheld database's CSV takes its name with the extension replaced, as its other
  // outputs do; the desktop archive's keeps the name the desktop has always given it.
  const std::string csvPath = csvPathOverride_                    ? *csvPathOverride_
                              : session.source().wallClockTimes() ? replaceExtension(path, ".csv")
                                                                  : journal::csvPathFor(path);
  csvPath_ = csvPath;
  csvName_ = files_.displayName(csvPath);
  const std::string& csvName = csvName_;
  if (auto refused = refuseOutputOverArchive(view, files_, csvPath, path, "CSV file")) {
    return *refused;
  }
  const bool earlier = files_.fileExists(csvPath);
  std::string error;
  std::unique_ptr<files::OutputFile> csv = files_.createCsv(csvPath, error);
  if (!csv) {
    view.showMessage("Cannot create " + csvName + ": " + error);
    return ExportOutcome::kCannotCreate;
  }

  if (toUtf8) csv->append(journal::kUtf8ByteOrderMark);
  std::optional<ExportOutcome> stopped = session.readAll(*csv, toUtf8.get());
  journalsFound_ = session.journalCount();
  rowsWritten_ = session.rowCount();
  const bool leftAsItWas = keepEarlier_ && rowsWritten_ == 0;
  const ExportOutcome ending = closingOutcome(true, stopped, session.source());
  // Rows are in place before anything is reported; a failure to put them there is reported
  // instead of any success.
  bool written = true;
  if (leftAsItWas) {
    csv->discard();
    earlierKept_ = earlier;
  } else {
    written = placeCsv(*csv, ending, earlier);
  }
  notesMessage_ = notes_ != nullptr && csvKept_ && !notesFolder_.empty()
                      ? dailyNotesMessage(files_, *notes_, notesFolder_)
                      : std::string();
  ExportOutcome outcome = written ? ending : ExportOutcome::kCannotWrite;
  const std::string reason = written ? session.source().readError() : csv->errorText();
  source.reset();
  csv.reset();
  if (leftAsItWas && outcome != ExportOutcome::kCannotRead &&
      nothingReadable(outcome, session.wholeCount())) {
    return endWithNothing(view, outcome);
  }
  const bool failed =
      outcome == ExportOutcome::kCannotWrite || outcome == ExportOutcome::kCannotRead;
  // The window's own hint replaces the console's and says what to do next instead.
  const std::string kept =
      earlierKeptText(earlierKept_ && failWithoutEntries_ ? std::vector<std::string>{csvName}
                                                          : std::vector<std::string>{});
  const std::string beside =
      earlierCsvName_.empty() ? std::string() : kParagraph + besideEarlierText(earlierCsvName_);
  const std::string placed = leftAsItWas ? noEntriesHint(options.journalNameText(), path) + kept
                                         : placedText(outcome, csvName) + beside + notesMessage_;
  const bool noSuccess =
      leftAsItWas && failWithoutEntries_ && !failed && outcome != ExportOutcome::kEndRequested;
  if (outcome == ExportOutcome::kDataAfterEnd && (leftAsItWas || !beside.empty()) && endsProgram_) {
    view.showMessage(kDataAfterEndMessage + (kParagraph + placed));
  } else if (noSuccess && outcome == ExportOutcome::kComplete && endsProgram_) {
    view.showMessage(placed);
  } else if (endsProgram_ || failed) {
    reportEnd(view, outcome, path, csvName, placed, reason, beside);
  }
  if (noSuccess) outcome = ExportOutcome::kNothingRead;
  if (endsProgram_ && outcome != ExportOutcome::kEndRequested) view.endProgram();
  return outcome;
}

// A stopped run's part never takes an earlier CSV's place, nor a damaged archive's (unless the
// classic replacement is asked for): the earlier CSV stays, and the damaged one goes beside it.
bool ExportRun::placeCsv(files::OutputFile& csv, ExportOutcome ending, bool earlier) {
  OutputPlace place = outputPlace(ending, earlier);
  if (place == OutputPlace::kBeside && replaceWhenDamaged_) place = OutputPlace::kOwnName;
  earlierKept_ = place != OutputPlace::kOwnName;
  if (place == OutputPlace::kBeside) {
    earlierCsvName_ = csvName_;
    csvPath_ = damagedArchivePath(csvPath_);
    csvName_ = files_.displayName(csvPath_);
  }
  const bool written = settleOutput(csv, place, csvPath_);
  csvKept_ = written && place != OutputPlace::kEarlierKept;
  return written;
}

// Damaged before its first whole record: no entry could be told from no journal, and no CSV
// was made.
ExportOutcome ExportRun::endWithNothing(ExportView& view, ExportOutcome ending) {
  nothingRead_ = ending;
  if (endsProgram_) {
    const bool earlier = files_.fileExists(csvPath_);
    view.showMessage(nothingReadMessage(
        ending, earlier ? std::vector<std::string>{csvName_} : std::vector<std::string>{}));
    view.endProgram();
  }
  return ExportOutcome::kNothingRead;
}

}  // namespace vessory::exporting
