#include "export/organiser_run.h"

#include <ctime>
#include <memory>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/later_archive.h"
#include "archive/organiser_archive.h"
#include "export/organiser_outputs.h"
#include "export/handheld_source.h"
#include "export/input_kind.h"
#include "export/organiser_source.h"
#include "export/output_place.h"
#include "export/record_loop.h"

namespace vessory::exporting {

namespace {

constexpr char kEndedEarly[] = "The archive ended early - it may be damaged or incomplete.";
constexpr char kBeforeDamage[] = "The records read before that point have been kept.\r\n\r\n";

bool isArchiveFileName(std::string_view path) {
  const std::size_t nameStart = path.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot <= nameStart) return false;
  std::string extension(path.substr(dot));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == ".aba" || extension == ".tda" || extension == ".mpa" ||
         extension == ".dba";
}


// What one run of one kind needs besides its output: the settings, the tools and the tally.
struct KindRun {
  ExportView& view;
  files::ExportFiles& files;
  const OrganiserSettings& settings;
  TextAndClock& tools;
  OrganiserTally& tally;
  const std::string& path;
  bool keepDeleted;
  bool endsProgram;  // false: the final message is the caller's, a failure's reason still ours
};

template <class Record>
void count(OrganiserTally& tally, const Record& record) {
  ++tally.written;
  if (record.isPrivate) ++tally.privateCount;
}
void count(OrganiserTally& tally, const archive::TodoRecord& record) {
  ++tally.written;
  if (record.isPrivate) ++tally.privateCount;
  if (record.completed) ++tally.completed;
}

// What the details show of a record: its name as the archive holds it.
std::string detailText(const archive::ContactRecord& record) {
  if (record.firstName.empty() && record.lastName.empty()) return record.company;
  if (record.firstName.empty() || record.lastName.empty()) return record.firstName + record.lastName;
  return record.firstName + " " + record.lastName;
}
std::string detailText(const archive::TodoRecord& record) { return record.description; }
std::string detailText(const archive::MemoRecord& record) {
  return record.text.substr(0, record.text.find_first_of("\r\n"));
}

// Reads every record of `source` into `output`; how the reading stopped early, if it did.
template <class Record>
std::optional<ExportOutcome> copyRecords(KindRun& run, RecordSource<Record>& source,
                                         RecordOutput<Record>& output) {
  Record record;
  return readRecords(run.view, source, record,
                     [&](std::int64_t number, Record& read,
                         RecordRead how) -> std::optional<ExportOutcome> {
                       if (how != RecordRead::kWhole) {
                         // Not whole: left out, so that no half-read record is exported.
                         ++run.tally.damagedLeftOut;
                         run.tally.endedEarly = how == RecordRead::kCutShort;
                         return std::nullopt;
                       }
                       run.tally.lastWhole = number;
                       if (run.view.showDetailsValue() != kUnchecked) {
                         run.view.showDateTime("Record " + std::to_string(number));
                         run.view.showDescription(detailText(read));
                       }
                       if (read.deleted && !run.keepDeleted) {
                         ++run.tally.deletedLeftOut;
                         return std::nullopt;
                       }
                       if (!output.write(read)) return ExportOutcome::kCannotWrite;
                       count(run.tally, read);
                       run.view.showEventsWritten(std::to_string(run.tally.written));
                       return std::nullopt;
                     });
}

// `failed` names what could not be written when it is not the output itself (a memo).
void reportEnd(ExportView& view, ExportOutcome outcome, const std::string& archivePath,
               const OrganiserTally& tally, const std::string& reason,
               const std::string& failed = {}) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      view.showMessage(kAllDone + organiserSummary(tally));
      break;
    case ExportOutcome::kEndedEarly:
      view.showMessage(kEndedEarly + (kParagraph + (kBeforeDamage + organiserSummary(tally))));
      break;
    case ExportOutcome::kDataAfterEnd:  // the reader has said what follows the last record
    case ExportOutcome::kSequencingError:
    case ExportOutcome::kDamagedRecords:  // the reader has said what it could not read
      view.showMessage(kBeforeDamage + organiserSummary(tally));
      break;
    case ExportOutcome::kUnreadTails:  // the source has said how many records ended so
      view.showMessage(organiserSummary(tally));
      break;
    case ExportOutcome::kCannotWrite:
      view.showMessage("Cannot write " + (failed.empty() ? tally.outputName : failed) + ": " +
                       reason);
      break;
    case ExportOutcome::kCannotRead:
      view.showMessage("Cannot read " + archivePath + ": " + reason);
      break;
    default:  // the user's end
      break;
  }
}

// The output of `kind` at `outPath`.
template <class Record>
std::unique_ptr<RecordOutput<Record>> makeOutput(KindRun& run, const std::string& outPath,
                                                 const archive::OrganiserCatalogue& catalogue);
template <>
std::unique_ptr<RecordOutput<archive::ContactRecord>> makeOutput(
    KindRun& run, const std::string& outPath, const archive::OrganiserCatalogue& catalogue) {
  return std::make_unique<ContactsOutput>(run.files, outPath, catalogue, *run.tools.text);
}
template <>
std::unique_ptr<RecordOutput<archive::TodoRecord>> makeOutput(
    KindRun& run, const std::string& outPath, const archive::OrganiserCatalogue& catalogue) {
  const std::int64_t now = run.settings.stampTime
                               ? *run.settings.stampTime
                               : static_cast<std::int64_t>(std::time(nullptr));
  return std::make_unique<TodosOutput>(run.files, outPath, catalogue, *run.tools.text,
                                       *run.tools.clock, now);
}
template <>
std::unique_ptr<RecordOutput<archive::MemoRecord>> makeOutput(
    KindRun& run, const std::string& outPath, const archive::OrganiserCatalogue& catalogue) {
  return std::make_unique<MemosOutput>(run.files, outPath, catalogue, *run.tools.text);
}

// Where the output goes: the path given, or the one beside the archive.
std::string outputPathOf(const KindRun& run) {
  return run.settings.outputPath ? *run.settings.outputPath
                                 : organiserOutputPathFor(run.path, run.tally.kind);
}

// True when an output of the kind's at `outPath` is there from an earlier export.
bool earlierThere(const KindRun& run, const std::string& outPath) {
  return run.tally.kind == archive::RecordKind::kMemo ? run.files.folderExists(outPath)
                                                      : run.files.fileExists(outPath);
}

// Nothing of the records could be read (the reading having ended as `ending`): no output takes
// the place of an earlier one, and the message says so, naming no output made (the reader has
// said what it could not read).
void tellNothingRead(KindRun& run, ExportOutcome ending, bool earlier) {
  run.tally.earlierKept = earlier;
  if (!run.endsProgram) return;
  const std::string text =
      kNothingReadText + earlierKeptText(earlier ? std::vector<std::string>{run.tally.outputName}
                                                 : std::vector<std::string>{});
  run.view.showMessage(ending == ExportOutcome::kEndedEarly ? kEndedEarly + (kParagraph + text)
                                                            : text);
}

// A stopped run's part never takes an earlier output's place, nor a damaged archive's: the
// earlier one stays, and the damaged archive's goes beside it. False when writing failed.
template <class Record>
bool placeOutput(KindRun& run, RecordOutput<Record>& output, ExportOutcome ending, bool earlier,
                 const std::string& outPath) {
  const OutputPlace place = outputPlace(ending, earlier);
  const std::string beside =
      damagedArchivePath(outPath, run.tally.kind == archive::RecordKind::kMemo);
  run.tally.earlierKept = place != OutputPlace::kOwnName;
  if (place == OutputPlace::kBeside) {
    run.tally.earlierName = run.tally.outputName;
    run.tally.outputName = run.files.displayName(beside);
  }
  return settleOutput(output, place, beside);
}

// The steps after the kind is known: header, output, records, ending.
template <class Record>
ExportOutcome exportKind(KindRun& run, RecordSource<Record>& source,
                         const archive::OrganiserCatalogue& catalogue) {
  const std::string outPath = outputPathOf(run);
  run.tally.outputName = run.files.displayName(outPath);
  const bool earlier = earlierThere(run, outPath);
  const std::optional<std::int64_t> announced = source.readHeader();
  if (!announced) {
    const ExportOutcome stop = source.stopOutcome();
    tellNothingRead(run, stop, earlier);
    // An archive that ran out inside its header has nothing suspect about what was exported:
    // nothing was. Damage the reader reports (a schema it does not know) keeps its outcome.
    return stop == ExportOutcome::kEndedEarly ? ExportOutcome::kNothingRead : stop;
  }
  run.tally.announced = *announced;
  if (auto refused = refuseOutputOverArchive(run.view, run.files, outPath, run.path, "output")) {
    return *refused;
  }
  std::unique_ptr<RecordOutput<Record>> output = makeOutput<Record>(run, outPath, catalogue);
  if (!output->open()) {
    run.view.showMessage("Cannot create " + run.tally.outputName + ": " + output->errorText());
    return ExportOutcome::kCannotCreate;
  }
  const std::optional<ExportOutcome> stopped = copyRecords(run, source, *output);
  run.tally.unreadableLeftOut = source.leftOutCount();
  const ExportOutcome ending = closingOutcome(true, stopped, source);
  if (nothingReadable(ending, run.tally.lastWhole)) {
    // Damaged before its first whole record: an empty output would only replace an earlier one.
    output->discard();
    if (ending == ExportOutcome::kCannotRead) {
      reportEnd(run.view, ending, run.path, run.tally, source.readError());
    }
    tellNothingRead(run, ending, earlier);
    return ending == ExportOutcome::kCannotRead ? ending : ExportOutcome::kNothingRead;
  }
  const bool written = placeOutput(run, *output, ending, earlier, outPath);
  if (auto* memos = dynamic_cast<MemosOutput*>(output.get()))
    run.tally.folders = memos->folderCount();
  const ExportOutcome outcome = written ? ending : ExportOutcome::kCannotWrite;
  const std::string reason = written ? source.readError() : output->errorText();
  const bool failed =
      outcome == ExportOutcome::kCannotWrite || outcome == ExportOutcome::kCannotRead;
  const std::string& failedPath = output->failedPath();
  if (run.endsProgram || failed) {
    reportEnd(run.view, outcome, run.path, run.tally, reason,
              written || failedPath.empty() ? std::string() : run.files.displayName(failedPath));
  }
  return outcome;
}

// Exports the desktop archive whose tag `reader` has just read as `kind`.
template <class Record>
ExportOutcome exportDesktop(KindRun& run, files::ByteSource& bytes,
                            archive::ArchiveReader& reader, archive::MessageSink& messages) {
  archive::OrganiserCatalogue catalogue;
  DesktopRecords<Record> source(bytes, reader, messages, run.tally.kind, catalogue);
  return exportKind(run, source, catalogue);
}

// Exports the later to-do list whose tag `reader` has just read; a header this tool does not
// know is refused before any output exists.
ExportOutcome exportLaterTodo(KindRun& run, files::ByteSource& bytes,
                              archive::ArchiveReader& reader, archive::HeldMessages& messages) {
  archive::OrganiserCatalogue catalogue;
  LaterTodoRecords source(bytes, reader, messages, catalogue);
  messages.hold();
  source.readHeader();
  messages.release(!source.refused());
  if (source.refused()) {
    run.view.showMessage(
        archive::refusalMessage(run.path, archive::RecordKind::kTodo, source.refusal()));
    return ExportOutcome::kLaterVersion;
  }
  return exportKind(run, source, catalogue);
}

}  // namespace

std::string organiserOutputPathFor(std::string_view archivePath, archive::RecordKind kind) {
  const std::size_t nameStart = archivePath.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = archivePath.rfind('.');
  std::string stem(dot == std::string_view::npos || dot <= nameStart ? archivePath
                                                                      : archivePath.substr(0, dot));
  if (isArchiveFileName(archivePath)) stem += "-archive";
  switch (kind) {
    case archive::RecordKind::kAddress:
      return stem + ".vcf";
    case archive::RecordKind::kMemo:
      return stem;
    default:
      return stem + ".ics";
  }
}

std::optional<std::string> checkOrganiserSettings(const OrganiserSettings& settings) {
  TextAndClock tools;
  return openTextAndClock(settings.charset, settings.zoneName, tools);
}

std::string organiserSummary(const OrganiserTally& tally) {
  static constexpr const char* kPlaced[] = {"The events have been placed in:\r\n",
                                            "The contacts have been placed in:\r\n",
                                            "The to-dos have been placed in:\r\n",
                                            "The memos have been placed in:\r\n"};
  std::string text = kPlaced[static_cast<int>(tally.kind)] + tally.outputName + "\r\n\r\n";
  switch (tally.kind) {
    case archive::RecordKind::kAddress:
      text += countOf(tally.written, "contact", "contacts") + " written (";
      break;
    case archive::RecordKind::kTodo:
      text += countOf(tally.written, "to-do", "to-dos") + " written (" +
              std::to_string(tally.completed) + " done, ";
      break;
    default:
      text += countOf(tally.written, "memo", "memos") + " written in " +
              countOf(tally.folders, "folder", "folders") + " (";
      break;
  }
  text += std::to_string(tally.privateCount) + " private)";
  if (tally.kind == archive::RecordKind::kTodo) {
    text += tally.handheld ? std::string(", due dates as the handheld showed them")
                           : ", due dates as the calendar showed them in " + tally.zoneName;
  }
  text += ".\r\n";
  text += leftOutText({tally.deletedLeftOut, tally.unreadableLeftOut, tally.damagedLeftOut,
                       tally.lastWhole, tally.announced, tally.endedEarly, tally.handheld,
                       tally.written});
  if (!tally.earlierName.empty()) text += "\r\n" + besideEarlierText(tally.earlierName);
  return text;
}

ExportOutcome OrganiserRun::run(ExportView& view) {
  if (running_) return ExportOutcome::kAlreadyRunning;
  running_ = true;
  const ClearOnExit clear{running_};
  tally_ = OrganiserTally{};

  tools_ = std::make_unique<TextAndClock>();
  if (std::optional<std::string> unknown =
          openTextAndClock(settings_.charset, settings_.zoneName, *tools_)) {
    view.showMessage(*unknown);
    return ExportOutcome::kBadOption;
  }
  tally_.zoneName = tools_->zoneName;
  const std::string path = view.inputPath();
  OpenedArchive opened = openSelectedArchive(view, files_, path);
  if (opened.failure) return *opened.failure;
  ViewMessages messages(view);
  const InputKind input = identifyInput(files_, path);
  // A file that cannot be read even to tell what it is: the system's reason, not a wrong kind.
  if (!input.readError.empty()) {
    view.showMessage("Cannot read " + path + ": " + input.readError);
    return finish(view, ExportOutcome::kCannotRead);
  }
  if (input.container == Container::kHandheld) {
    return exportHandheld(view, *opened.source, messages);
  }
  // The reader's notes and the records' pass the same way, so that they keep their order.
  archive::HeldMessages held(messages);
  archive::ArchiveReader reader(*opened.source, held);
  const archive::ArchiveKind kind = archive::readArchiveKind(reader);
  if (archive::namedNotRead(kind)) {
    view.showMessage(archive::notReadMessage(path, kind));
    return ExportOutcome::kLaterVersion;
  }
  const std::optional<archive::RecordKind> records = archive::recordKindOf(kind);
  if (!records || *records == archive::RecordKind::kDatebook) {
    view.showMessage(path + " is not an address book, to-do list or memo pad archive");
    return ExportOutcome::kNotDatebook;
  }
  tally_.kind = *records;
  KindRun run{view, files_, settings_, *tools_, tally_, path,
              settings_.includeDeleted || isArchiveFileName(path), endsProgram_};
  ExportOutcome outcome;
  if (kind == archive::ArchiveKind::kLaterTodo) {
    outcome = exportLaterTodo(run, *opened.source, reader, held);
  } else if (tally_.kind == archive::RecordKind::kAddress) {
    outcome = exportDesktop<archive::ContactRecord>(run, *opened.source, reader, held);
  } else if (tally_.kind == archive::RecordKind::kTodo) {
    outcome = exportDesktop<archive::TodoRecord>(run, *opened.source, reader, held);
  } else {
    outcome = exportDesktop<archive::MemoRecord>(run, *opened.source, reader, held);
  }
  return finish(view, outcome);
}

ExportOutcome OrganiserRun::finish(ExportView& view, ExportOutcome outcome) {
  // An archive whose records could not be reached ends the program as any read archive does;
  // the other outcomes of nothing exported leave the user to pick another file.
  const bool read = !nothingExported(outcome) || outcome == ExportOutcome::kNothingRead;
  if (endsProgram_ && read && outcome != ExportOutcome::kEndRequested) {
    view.endProgram();
  }
  return outcome;
}

ExportOutcome OrganiserRun::exportHandheld(ExportView& view, files::ByteSource& bytes,
                                           archive::MessageSink& messages) {
  const std::string path = view.inputPath();
  std::unique_ptr<LoadedDatabase> loaded = loadDatabase(bytes);
  if (!loaded->database) {
    view.showMessage(path + ": " + loaded->error);
    return ExportOutcome::kNotDatebook;
  }
  const handheld::HandheldDatabase& database = *loaded->database;
  tally_.kind = database.kind();
  tally_.handheld = true;
  // A handheld marks its deleted and archived records; they stay out unless asked for.
  KindRun run{view, files_, settings_, *tools_, tally_, path, settings_.includeDeleted,
              endsProgram_};
  switch (tally_.kind) {
    case archive::RecordKind::kAddress: {
      HandheldRecords<archive::ContactRecord> source(database, messages);
      return finish(view, exportKind(run, source, database.catalogue()));
    }
    case archive::RecordKind::kTodo: {
      HandheldRecords<archive::TodoRecord> source(database, messages);
      return finish(view, exportKind(run, source, database.catalogue()));
    }
    case archive::RecordKind::kMemo: {
      HandheldRecords<archive::MemoRecord> source(database, messages);
      return finish(view, exportKind(run, source, database.catalogue()));
    }
    default:
      view.showMessage(path + " is a date book: its journal and calendar are exported as the "
                              "desktop's date book is");
      return ExportOutcome::kNotDatebook;
  }
}

}  // namespace vessory::exporting
