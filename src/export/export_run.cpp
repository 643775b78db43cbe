#include "export/export_run.h"

#include <memory>

#include "archive/archive_header.h"
#include "archive/archive_reader.h"
#include "archive/event_record.h"
#include "archive/timestamp.h"
#include "journal/csv_writer.h"
#include "journal/entry_splitter.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

namespace {

// The state of one run past the tag check: the open files, the record and the counters. It
// forwards the readers' messages to the view and acts at the record's display points.
class Session : public archive::MessageSink, public archive::RecordObserver {
 public:
  Session(ExportView& view, const ExportSettings& settings, archive::ByteSource& source)
      : view_(view), settings_(settings), reader_(source, *this) {}

  archive::ArchiveReader& reader() { return reader_; }
  void showMessage(const std::string& text) override { view_.showMessage(text); }

  // Reads the header and every record, writing the journal rows to `csv`. Returns how the
  // reading stopped early, or nothing when it got to the end of the records.
  std::optional<ExportOutcome> readAll(exporting::OutputFile& csv, archive::TextConverter* toUtf8);

  void startTimeRead(const archive::EventRecord& record) override {
    view_.showDateTime(
        archive::formatTimestamp(record.startTime, bias_.seconds(settings_.hoursBiasText())));
    view_.setDescriptionBackColor(kMenuBackgroundColor);
  }
  void descriptionRead(const archive::EventRecord& record) override {
    view_.setDescriptionBackColor(kWindowBackgroundColor);
    view_.showDescription(record.description);
  }

 private:
  void processRecord(journal::CsvJournalWriter& writer);

  ExportView& view_;
  const ExportSettings& settings_;
  archive::ArchiveReader reader_;
  journal::EntrySplitter splitter_;
  archive::EventRecord record_;
  archive::HoursBias bias_;
  std::int64_t journalCount_ = 0;
};

std::optional<ExportOutcome> Session::readAll(exporting::OutputFile& csv,
                                              archive::TextConverter* toUtf8) {
  journal::CsvJournalWriter writer(csv, toUtf8);
  archive::TraceSink trace;
  archive::DatebookHeader header = archive::readArchiveHeader(reader_, trace);
  if (reader_.halted()) return ExportOutcome::kSequencingError;
  view_.showTotalRecords(std::to_string(header.recordCount));
  view_.processPendingEvents();
  if (view_.endRequested()) return ExportOutcome::kEndRequested;
  archive::RecordObserver* observer = settings_.showDetails() ? this : nullptr;
  // A record the archive ran out in is still processed as read; none is read after it.
  for (std::int64_t number = 1; number <= header.recordCount && !reader_.atEnd(); ++number) {
    view_.showThisRecord(std::to_string(number));
    view_.processPendingEvents();
    if (view_.endRequested()) return ExportOutcome::kEndRequested;
    archive::readEventRecord(reader_, number, record_, *this, observer);
    if (reader_.halted()) return ExportOutcome::kSequencingError;
    processRecord(writer);
    if (!csv.ok()) return ExportOutcome::kCannotWrite;
  }
  return std::nullopt;
}

void Session::processRecord(journal::CsvJournalWriter& writer) {
  if (!journal::isJournalRecord(record_, settings_.journalName())) return;
  ++journalCount_;
  view_.showJournalsFound(std::to_string(journalCount_));
  journal::JournalNote note;
  note.dateText =
      journal::journalDateText(record_.startTime, bias_.seconds(settings_.hoursBiasText()));
  journal::HeaderSplit header = journal::splitJournalHeader(record_.note, record_.category);
  record_.category = header.category;
  note.category = header.category;
  note.body = header.body;
  splitter_.split(note, settings_.wordWrap(), [this, &writer](journal::JournalEntry& entry) {
    writer.writeJournalRow(entry, settings_.keywordDelimiters());
  });
}

void reportEnd(ExportView& view, ExportOutcome outcome, const std::string& archivePath,
               const std::string& csvName, const std::string& reason) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      view.showMessage(kAllDone + (kJournalsPlaced + csvName));
      break;
    case ExportOutcome::kEndedEarly:
      view.showMessage(kEndedEarlyWarning + (kParagraph + (kJournalsBeforeDamage + csvName)));
      break;
    case ExportOutcome::kDataAfterEnd:
      view.showMessage(kDataAfterEndMessage);
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

}  // namespace

ExportSettings::ExportSettings(ExportView& view)
    : view_(view),
      showDetails_(view.showDetailsValue() != kUnchecked),
      journalName_(journal::deriveJournalName(view.journalNameText())),
      inputPath_(view.inputPath()) {}

ExportOutcome ExportRun::run(ExportView& view) {
  if (running_) return ExportOutcome::kAlreadyRunning;
  running_ = true;
  const ClearOnExit clear{running_};

  const ExportSettings settings(view);
  OptionalConverter openedConverter = openConverter(view, utf8From_);
  if (openedConverter.failure) return *openedConverter.failure;
  std::unique_ptr<archive::TextConverter> toUtf8 = std::move(openedConverter.converter);
  const std::string& path = settings.inputPath();
  OpenedArchive opened = openSelectedArchive(view, files_, path);
  if (opened.failure) return *opened.failure;
  std::unique_ptr<archive::ByteSource> source = std::move(opened.source);
  Session session(view, settings, *source);
  if (!archive::checkArchiveTag(session.reader())) {
    view.showMessage(path + " is Not a Datebook DB file");
    return ExportOutcome::kNotDatebook;
  }
  const std::string csvPath = csvPathOverride_ ? *csvPathOverride_ : journal::csvPathFor(path);
  csvName_ = files_.displayName(csvPath);
  const std::string& csvName = csvName_;
  if (auto refused = refuseOutputOverArchive(view, files_, csvPath, path, "CSV file")) {
    return *refused;
  }
  std::string error;
  std::unique_ptr<exporting::OutputFile> csv = files_.createCsv(csvPath, error);
  if (!csv) {
    view.showMessage("Cannot create " + csvName + ": " + error);
    return ExportOutcome::kCannotCreate;
  }

  if (toUtf8) csv->append(journal::kUtf8ByteOrderMark);
  std::optional<ExportOutcome> stopped = session.readAll(*csv, toUtf8.get());
  // Rows are on disk before anything is reported; a failure to put them there is reported
  // instead of any success.
  const bool written = csv->close();
  const ExportOutcome outcome = closingOutcome(written, stopped, *source, session.reader());
  const std::string reason = written ? source->errorText() : csv->errorText();
  source.reset();
  csv.reset();
  const bool failed =
      outcome == ExportOutcome::kCannotWrite || outcome == ExportOutcome::kCannotRead;
  if (endsProgram_ || failed) reportEnd(view, outcome, path, csvName, reason);
  if (endsProgram_ && outcome != ExportOutcome::kEndRequested) view.endProgram();
  return outcome;
}

}  // namespace vessory::exporting
