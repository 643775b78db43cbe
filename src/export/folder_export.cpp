#include "export/folder_export.h"

#include <algorithm>

#include "archive/later_archive.h"
#include "export/calendar_run.h"
#include "export/daily_notes_step.h"
#include "export/export_run.h"
#include "export/export_view.h"
#include "export/folder_notes.h"
#include "export/folder_summary.h"
#include "export/import_guide.h"
#include "export/output_place.h"
#include "export/organiser_run.h"
#include "files/forwarding_files.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

namespace {

// The view of every run of one archive: the options come from the folder's settings, progress
// is only counted, messages are kept (each once: the journal and the calendar read the same
// bytes and would report the same damage twice) and the end of the program is not the run's to
// ask for. Details go on to the front end while they are wanted.
class CollectingView : public JournalView {
 public:
  CollectingView(const FolderSettings& settings, FolderView& front, std::string path,
                 std::string bias)
      : settings_(settings), front_(front), path_(std::move(path)), bias_(std::move(bias)) {}

  std::string inputPath() override { return path_; }
  int showDetailsValue() override { return details_ ? kChecked : kUnchecked; }
  std::string journalNameText() override { return settings_.journalText; }
  std::string keywordsText() override { return settings_.keywords; }
  int wordWrapValue() override { return settings_.wordWrap ? kChecked : kUnchecked; }
  std::string hoursBiasBoxText() override { return bias_; }

  void showTotalRecords(const std::string& text) override { front_.showTotalRecords(text); }
  void showThisRecord(const std::string& text) override {
    current_ = text;
    front_.showThisRecord(text);
  }
  void showJournalsFound(const std::string& text) override { front_.showJournalsFound(text); }
  void showDateTime(const std::string& text) override { dateTime_ = text; }
  void setDescriptionBackColor(std::uint32_t) override {}
  void showDescription(const std::string& text) override {
    if (details_) front_.showDetail(dateTime_, text);
  }
  void processPendingEvents() override { front_.processPendingEvents(); }
  void showMessage(const std::string& text) override {
    if (std::find(messages_.begin(), messages_.end(), text) == messages_.end()) {
      messages_.push_back(text);
    }
  }
  void endProgram() override {}
  bool endRequested() override { return front_.endRequested(); }

  void setDetails(bool on) { details_ = on; }
  std::vector<std::string>& messages() { return messages_; }
  // The record shown last is the one a stop came before: it was not read.
  std::int64_t recordsRead(bool stopped) const {
    const std::int64_t shown = current_.empty() ? 0 : std::stoll(current_);
    return stopped && shown > 0 ? shown - 1 : shown;
  }

 private:
  const FolderSettings& settings_;
  FolderView& front_;
  std::string path_;
  std::string bias_;
  bool details_ = false;
  std::string current_;
  std::string dateTime_;
  std::vector<std::string> messages_;
};

// The files of one archive's exports: its output folder (and the folders above it) is made
// when the first output in it is started, so that an archive that gives nothing makes none.
// Everything else goes to the files it borrows.
class OutputFolderFiles : public files::ForwardingFiles {
 public:
  OutputFolderFiles(files::ExportFiles& files, std::string folder)
      : ForwardingFiles(files), folder_(std::move(folder)) {}

  std::unique_ptr<files::OutputFile> createCsv(const std::string& path,
                                               std::string& error) override {
    return madeFolder(error) ? ForwardingFiles::createCsv(path, error) : nullptr;
  }
  std::unique_ptr<files::OutputFile> createCalendar(const std::string& path,
                                                    std::string& error) override {
    return madeFolder(error) ? ForwardingFiles::createCalendar(path, error) : nullptr;
  }
  std::unique_ptr<files::OutputFile> createFile(const std::string& path,
                                                std::string& error) override {
    return madeFolder(error) ? ForwardingFiles::createFile(path, error) : nullptr;
  }
  bool makeFolder(const std::string& path, std::string& error) override {
    return madeFolder(error) && ForwardingFiles::makeFolder(path, error);
  }
  // A folder given up (a memo folder nothing was written into) takes the output folder with
  // it when this made it and nothing else is in it.
  bool removeFolder(const std::string& path, std::string& error) override {
    if (!ForwardingFiles::removeFolder(path, error)) return false;
    removeMadeFoldersIfEmpty();
    return true;
  }
  // Once the archive's exports are over: the folders this made go again if nothing is in them
  // (a user's folder whose archives gave nothing), the innermost first.
  void removeMadeFoldersIfEmpty() {
    std::string reason;
    while (!madeFolders_.empty() && ForwardingFiles::removeFolder(madeFolders_.front(), reason)) {
      madeFolders_.erase(madeFolders_.begin());
    }
    if (madeFolders_.empty()) made_ = false;
  }

 private:
  bool madeFolder(std::string& error) {
    if (made_) return true;
    // The folders missing up to the first that is there, innermost first; a path with no
    // folder above it ends the walk.
    madeFolders_.clear();
    for (std::string path = folder_; !path.empty() && !folderExists(path);) {
      madeFolders_.push_back(path);
      const std::size_t separator = path.find_last_of("/\\");
      path = separator == std::string::npos ? std::string() : path.substr(0, separator);
    }
    std::string reason;
    made_ = ForwardingFiles::makeFolder(folder_, reason);
    if (!made_) error = "cannot make " + folder_ + ": " + reason;
    return made_;
  }

  std::string folder_;
  bool made_ = false;
  std::vector<std::string> madeFolders_;  // made by made_, innermost first
};

// The journal's daily notes beside its CSV, counted in the part; a failure to write them is
// the part's.
void addDailyNotes(files::ExportFiles& files, const DailyNotesCollector& notes,
                   const FoundArchive& found, const std::string& csvName, CollectingView& view,
                   PartReport& part) {
  std::string error;
  const std::string days =
      writeNotesBesideCsv(files, notes, found.outputFolder, csvName, found.outputPrefix, error);
  if (!days.empty()) part.counts += ", daily notes: " + days;
  if (error.empty()) return;
  view.showMessage(error);
  part.outcome = ExportOutcome::kCannotWrite;
}

// The name of the output a part wrote: `name`, or beside the earlier one (`earlierName` not
// empty) when the archive was damaged.
std::string writtenName(const std::string& name, const std::string& earlierName, bool folder) {
  return earlierName.empty() ? name : damagedArchivePath(name, folder);
}

// A part stopped while an earlier output of its name was there: that one was left as it was.
PartReport keptPart(PartReport part, const std::string& name) {
  part.output.clear();
  part.counts = name + " not written; the earlier one was left as it was";
  return part;
}

// The journal, made only when the archive holds an entry: an archive without one leaves an
// earlier journal where it is.
PartReport journalPart(files::ExportFiles& files, const FolderSettings& settings,
                       const FoundArchive& found, CollectingView& view) {
  const std::string name = journalExportName(found.sort, found.namedAfter);
  ExportRun journal(files, joinPath(found.outputFolder, name));
  journal.leaveEndToCaller();
  journal.keepEarlierWithoutEntries();
  if (settings.encoding) journal.convertToUtf8From(*settings.encoding);
  // The zone named for the calendar dates the journal too, unless a bias is given; a handheld's
  // times are its own clock's (the run keeps its bias).
  if (!settings.zoneName.empty() && !settings.biasGiven) journal.shiftByZone(settings.zoneName);
  std::string error;
  std::unique_ptr<DailyNotesCollector> notes;
  if (settings.dailyNotes) {
    notes = DailyNotesCollector::open(settings.encoding.value_or(std::string()), error);
  }
  journal.collectDailyNotes(notes.get());
  PartReport part{"", "", journal.run(view)};
  if (journal.csvKept()) {
    const std::string written = writtenName(name, journal.earlierCsvName(), false);
    part.output = found.outputPrefix + written;
    part.counts = countOf(journal.rowsWritten(), "entry", "entries");
    if (notes) addDailyNotes(files, *notes, found, written, view, part);
    return part;
  }
  // Nothing made: the outcome and the run's message say why.
  if (part.outcome == ExportOutcome::kNothingRead) part.counts = name + " not written";
  if (nothingExported(part.outcome)) return part;
  if (journal.earlierKept()) return keptPart(std::move(part), name);
  // Only a reading that went through the records can tell that none was an entry.
  const bool read = part.outcome != ExportOutcome::kCannotWrite &&
                    part.outcome != ExportOutcome::kCannotRead &&
                    part.outcome != ExportOutcome::kEndRequested;
  if (read && journal.rowsWritten() == 0) {
    part.counts = "no entries under \"" + journal::typedJournalName(settings.journalText) + "\", ";
  }
  part.counts += name + " not written";
  return part;
}

// True when a run found nothing readable and so wrote nothing.
bool givenUp(ExportOutcome outcome, std::int64_t wholeRecords) {
  return outcome == ExportOutcome::kNothingRead || nothingReadable(outcome, wholeRecords);
}

PartReport calendarPart(files::ExportFiles& files, const FolderSettings& settings,
                        const FoundArchive& found, CollectingView& view) {
  CalendarSettings calendar;
  calendar.zoneName = settings.zoneName;
  if (settings.encoding) calendar.charset = *settings.encoding;
  calendar.includeDeleted = settings.includeDeleted;
  const std::string name = exportName(archive::RecordKind::kDatebook, found.sort, found.namedAfter);
  calendar.outputPath = joinPath(found.outputFolder, name);
  calendar.stampTime = settings.stampTime;
  CalendarRun run(files, calendar, false);
  PartReport part{"", "", run.run(view)};
  // A calendar whose writing failed, or that had nothing readable to hold, is not in place (an
  // earlier one is left as it was).
  if (part.outcome == ExportOutcome::kCannotWrite || givenUp(part.outcome, run.tally().lastWhole)) {
    part.counts = name + " not written";
    return part;
  }
  if (part.outcome == ExportOutcome::kEndRequested && run.tally().earlierKept) {
    return keptPart(std::move(part), name);
  }
  if (!nothingExported(part.outcome)) {
    const CalendarTally& tally = run.tally();
    part.output = found.outputPrefix + writtenName(name, tally.earlierName, false);
    part.counts = countsWithLeftOut(
        countOf(tally.events, "event", "events"),
        {tally.deletedLeftOut, tally.unreadableLeftOut, tally.cutShortLeftOut, tally.lastWhole,
         tally.announced, tally.endedEarly, tally.handheldClock, tally.events});
  }
  return part;
}

bool stoppedPartWay(const ArchiveReport& report) {
  return std::any_of(report.parts.begin(), report.parts.end(), [](const PartReport& part) {
    return part.outcome == ExportOutcome::kEndRequested;
  });
}

// Whether the exports can start: the output folder is not refused and archives were found.
// Otherwise `result` says why. The output folders are made as the first output goes there.
bool ready(files::ExportFiles& files, const std::string& folder, const FolderLayout& layout,
           FolderResult& result) {
  const std::string& out = result.outputFolder;
  if (std::optional<std::string> refused = refuseOutputFolder(files, folder, out, layout)) {
    result.status = FolderStatus::kOutputRefused;
    result.problem = *refused;
    return false;
  }
  result.status = FolderStatus::kNothingFound;
  if (std::optional<std::string> problem = nothingToExport(folder, layout)) {
    result.problem = *problem;
    return false;
  }
  result.status = FolderStatus::kExported;
  return true;
}

// The import guide, written whole by the file layer: an earlier guide stays until the new one
// is complete.
void writeImportGuide(files::ExportFiles& files, FolderResult& result) {
  const std::string text = importGuide(result, textLineEnd());
  if (text.empty()) return;
  const std::string target = joinPath(result.outputFolder, kImportGuideName);
  std::string error;
  std::unique_ptr<files::OutputFile> out = files.createFile(target, error);
  if (out) {
    out->append(text);
    if (out->close()) {
      result.guidePath = target;
      return;
    }
    error = out->errorText();
  }
  result.guideError = "cannot write " + target + ": " + error;
}

}  // namespace

FolderResult FolderExport::run(FolderView& view) {
  FolderResult result;
  result.journalConvertedFrom = settings_.encoding;
  result.outputFolder = settings_.outputFolder ? *settings_.outputFolder
                                               : defaultOutputFolder(files_, settings_.folder);
  const FolderLayout layout = findArchives(files_, settings_.folder, result.outputFolder);
  result.unreadable = layout.unreadable;
  if (!ready(files_, settings_.folder, layout, result)) return result;
  for (const FoundArchive& found : layout.archives) {
    if (result.stopped || view.endRequested()) {
      result.stopped = true;
      result.notStarted.push_back(found.shownName);
      noteUntouched(files_, found, nullptr, result);
      continue;
    }
    ArchiveReport& report = result.archives.emplace_back();
    report.archive = found.shownName;
    view.archiveStarted(found.shownName);
    exportArchive(found, view, report);
    // Named, not read: the advice points into this folder, not at the export just run.
    if (namedNotRead(found))
      report.messages.push_back(folderNotReadMessage(found, layout.archives));
    view.archiveRead(found.shownName, report.recordsRead);
    if (stoppedPartWay(report)) {
      result.stopped = true;
      result.stoppedArchive = result.archives.size() - 1;
      noteUntouched(files_, found, &report, result);
    }
  }
  // A stop asks for the end: the files are not read again.
  if (!result.stopped) {
    noteSharedRecords(files_, layout.archives, settings_.includeDeleted, result);
  }
  if (settings_.importGuide) writeImportGuide(files_, result);
  return result;
}

std::optional<std::string> nothingToExport(const std::string& folder, const FolderLayout& layout) {
  if (!layout.error.empty()) return "cannot read " + folder + ": " + layout.error;
  if (!layout.archives.empty()) return std::nullopt;
  std::string problem = "no archive found; looked in";
  for (const std::string& looked : layout.lookedIn) problem += " " + looked;
  for (const std::string& unreadable : layout.unreadable) problem += "; " + unreadable;
  return problem;
}

std::string foundWhat(const FoundArchive& found) {
  const std::optional<archive::RecordKind> kind = exportKind(found);
  if (!kind && !found.input.readError.empty()) return "cannot be read";
  if (namedNotRead(found)) return namedNotReadWhat(found.input.desktop);
  if (!kind) return "not an archive this tool reads";
  if (found.input.laterHandheld) return kindWords(*kind) + ", later handheld database";
  return archiveDescription(*kind, found.sort);
}

std::string leftOutNote(const FoundArchive& found) {
  if (!found.duplicateOf.empty()) {
    return "left out: its exports would replace those of " + found.duplicateOf;
  }
  if (!found.compatibilityCopyOf.empty()) return compatibilityNote(found);
  return {};
}

void FolderExport::exportArchive(const FoundArchive& found, FolderView& view,
                                 ArchiveReport& report) {
  const std::optional<archive::RecordKind> kind = exportKind(found);
  report.what = foundWhat(found);
  if (!kind && !found.input.readError.empty()) {
    report.messages.push_back(found.input.readError);
    report.parts.push_back({"", "", ExportOutcome::kCannotOpen});
    return;
  }
  if (namedNotRead(found)) {
    // Its message comes from run(), which knows what else the folder holds.
    report.parts.push_back({"", "", ExportOutcome::kLaterVersion});
    return;
  }
  if (!kind) {
    report.parts.push_back({"", "", ExportOutcome::kNotDatebook});
    return;
  }
  report.note = leftOutNote(found);
  if (!report.note.empty()) return;
  OutputFolderFiles files(files_, found.outputFolder);
  if (*kind == archive::RecordKind::kDatebook) {
    exportDatebook(files, found, view, report);
  } else {
    exportOrganiser(files, found, *kind, view, report);
  }
  files.removeMadeFoldersIfEmpty();
}

void FolderExport::exportDatebook(files::ExportFiles& files, const FoundArchive& found,
                                  FolderView& view, ArchiveReport& report) {
  // The handheld kept its own clock's times: no bias unless one is given.
  const bool handheld = found.sort == ArchiveSort::kHandheld;
  CollectingView runView(settings_, view, found.path,
                         handheld && !settings_.biasGiven ? "0" : settings_.bias);
  runView.setDetails(settings_.details);
  PartReport journal = journalPart(files, settings_, found, runView);
  runView.setDetails(false);  // once per record is enough
  // Stopped in the journal: the calendar would only read the archive again.
  const std::string calendarName =
      exportName(archive::RecordKind::kDatebook, found.sort, found.namedAfter);
  PartReport calendar =
      journal.outcome == ExportOutcome::kEndRequested
          ? PartReport{"", calendarName + " not started", ExportOutcome::kEndRequested}
          : calendarPart(files, settings_, found, runView);
  const bool stopped = calendar.outcome == ExportOutcome::kEndRequested;
  report.parts = {std::move(calendar), std::move(journal)};
  report.recordsRead = runView.recordsRead(stopped);
  report.messages = std::move(runView.messages());
}

void FolderExport::exportOrganiser(files::ExportFiles& files, const FoundArchive& found,
                                   archive::RecordKind kind, FolderView& view,
                                   ArchiveReport& report) {
  CollectingView runView(settings_, view, found.path, settings_.bias);
  runView.setDetails(settings_.details);
  OrganiserSettings organiser;
  organiser.zoneName = settings_.zoneName;
  if (settings_.encoding) organiser.charset = *settings_.encoding;
  organiser.includeDeleted = settings_.includeDeleted;
  const std::string name = exportName(kind, found.sort, found.namedAfter);
  organiser.outputPath = joinPath(found.outputFolder, name);
  organiser.stampTime = settings_.stampTime;
  OrganiserRun run(files, organiser, false);
  PartReport part{"", "", run.run(runView)};
  // A file whose writing failed is not in place; a memo folder keeps the memos written whole,
  // if any was. Nothing readable makes nothing.
  const bool memosKept = kind == archive::RecordKind::kMemo && run.tally().written > 0;
  if ((part.outcome == ExportOutcome::kCannotWrite && !memosKept) ||
      givenUp(part.outcome, run.tally().lastWhole)) {
    part.counts = name + " not written";
  } else if (part.outcome == ExportOutcome::kEndRequested && run.tally().earlierKept) {
    part = keptPart(std::move(part), name);
  } else if (!nothingExported(part.outcome)) {
    static constexpr const char* kNouns[][2] = {
        {"event", "events"}, {"contact", "contacts"}, {"to-do", "to-dos"}, {"memo", "memos"}};
    const OrganiserTally& tally = run.tally();
    const auto& noun = kNouns[static_cast<int>(tally.kind)];
    const bool memo = kind == archive::RecordKind::kMemo;
    part.output = found.outputPrefix + writtenName(name, tally.earlierName, memo) +
                  (memo ? std::string(1, pathSeparator()) : "");
    part.counts = countsWithLeftOut(
        countOf(tally.written, noun[0], noun[1]),
        {tally.deletedLeftOut, tally.unreadableLeftOut, tally.damagedLeftOut, tally.lastWhole,
         tally.announced, tally.endedEarly, tally.handheld, tally.written});
  }
  report.recordsRead = runView.recordsRead(part.outcome == ExportOutcome::kEndRequested);
  report.parts = {std::move(part)};
  report.messages = std::move(runView.messages());
}

}  // namespace vessory::exporting
