#include "console/console_view.h"

#include <cerrno>
#include <cstring>

#include "archive/text_converter.h"
#include "console/console_folder.h"
#include "export/journal_listing.h"
#include "export/organiser_run.h"
#include "journal/journal_selection.h"

namespace vessory::console {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
constexpr char kStandardOutputName[] = "standard output";

void put(std::FILE* f, const std::string& text) { std::fwrite(text.data(), 1, text.size(), f); }

}  // namespace

ConsoleView::ConsoleView(const ConsoleOptions& options, std::FILE* err, bool showProgress)
    : options_(options), err_(err), showProgress_(showProgress) {}

void ConsoleView::showDescription(const std::string& text) {
  clearProgress();
  put(err_, dateTime_ + "\t" + text + "\n");
}

void ConsoleView::processPendingEvents() {
  if (!showProgress_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastDrawn_ < kProgressInterval) return;
  lastDrawn_ = now;
  drawProgress();
}

void ConsoleView::drawProgress() {
  std::string line =
      "\rRecords read: " + current_ + " of " + total_ + ", " + count_ + ": " + found_ + "\x1b[K";
  put(err_, line);
  std::fflush(err_);
  progressShown_ = true;
}

void ConsoleView::clearProgress() {
  if (!progressShown_) return;
  put(err_, "\r\x1b[K");
  progressShown_ = false;
}

void ConsoleView::showMessage(const std::string& text) {
  clearProgress();
  put(err_, text + "\n");
  std::fflush(err_);
}

bool ConsoleFiles::sameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  return DiskFiles::sameFile(a, b);
}

std::unique_ptr<exporting::OutputFile> ConsoleFiles::createCsv(const std::string& path,
                                                            std::string& error) {
  if (path == "-") return exporting::FileOutput::borrow(out_);
  return DiskFiles::createCsv(path, error);
}

std::string ConsoleFiles::displayName(const std::string& path) {
  return path == "-" ? kStandardOutputName : path;
}

int exitStatus(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      return 0;
    case ExportOutcome::kDataAfterEnd:
    case ExportOutcome::kEndedEarly:
    case ExportOutcome::kUnreadTails:
      return 1;
    case ExportOutcome::kSequencingError:
    case ExportOutcome::kDamagedRecords:
    case ExportOutcome::kCannotWrite:
    case ExportOutcome::kCannotRead:
    case ExportOutcome::kEndRequested:
      return 4;
    case ExportOutcome::kBadOption:
      return 2;
    default:
      return 3;
  }
}

namespace {

int usageError(std::FILE* err, const std::string& text) {
  put(err, "vessory-export: " + text + "\nTry 'vessory-export --help'.\n");
  return 2;
}

CalendarSettings calendarSettings(const ConsoleOptions& options) {
  CalendarSettings settings;
  settings.zoneName = options.timeZone;
  if (options.encoding) settings.charset = *options.encoding;
  settings.includeDeleted = options.includeDeleted;
  settings.outputPath = options.output;
  return settings;
}

exporting::OrganiserSettings organiserSettings(const ConsoleOptions& options) {
  exporting::OrganiserSettings settings;
  settings.zoneName = options.timeZone;
  if (options.encoding) settings.charset = *options.encoding;
  settings.includeDeleted = options.includeDeleted;
  settings.outputPath = options.output;
  return settings;
}

// The option values a run is given, checked before anything is read: an unknown zone or
// character set is a usage error, not a failed export.
std::optional<std::string> unknownSetting(const ConsoleOptions& options, RunKind run) {
  if (run == RunKind::kCalendar) return exporting::checkCalendarSettings(calendarSettings(options));
  if (run == RunKind::kOrganiser) {
    return exporting::checkOrganiserSettings(organiserSettings(options));
  }
  std::string error;
  if (options.encoding && !archive::TextConverter::open(*options.encoding, error)) {
    return "unknown character set " + *options.encoding;
  }
  return std::nullopt;
}

// Writes the listing to `out`; a failure to write it is the listing's failure.
ExportOutcome listJournals(const ConsoleOptions& options, ConsoleView& view, ConsoleFiles& files,
                           std::FILE* out) {
  exporting::JournalListing listing(files);
  if (options.encoding) listing.convertToUtf8From(*options.encoding);
  const ExportOutcome outcome = listing.run(view);
  view.clearProgress();
  errno = 0;
  for (const exporting::JournalCandidate& candidate : listing.candidates()) {
    put(out, std::to_string(candidate.count) + "\t" + candidate.description + "\n");
  }
  if (std::fflush(out) != 0 || std::ferror(out) != 0) {
    view.showMessage(std::string("Cannot write standard output: ") +
                     (errno != 0 ? std::strerror(errno) : "write error"));
    return ExportOutcome::kCannotWrite;
  }
  return outcome;
}

ExportOutcome exportJournal(const ConsoleOptions& options, ConsoleView& view,
                            ConsoleFiles& files) {
  ExportRun run(files, options.output);
  if (options.encoding) run.convertToUtf8From(*options.encoding);
  const ExportOutcome outcome = run.run(view);
  // A hint for whoever typed the name: quiet runs (scripts) are spared it.
  const bool read = !exporting::nothingExported(outcome) &&
                    outcome != ExportOutcome::kEndRequested &&
                    outcome != ExportOutcome::kCannotWrite && outcome != ExportOutcome::kCannotRead;
  if (read && run.rowsWritten() == 0 && !options.quiet) {
    view.showMessage("No journal entries were found under \"" +
                     journal::deriveJournalName(options.journal) +
                     "\"; vessory-export --list-journals " + options.archive +
                     " lists the descriptions this archive uses.");
  }
  return outcome;
}

bool given(const ConsoleOptions& options, const char* name, const char* longName) {
  for (const std::string& option : options.given) {
    if (option == name || option == longName) return true;
  }
  return false;
}

// What the progress line counts besides the records read.
const char* progressCount(RunKind run, archive::ArchiveKind kind) {
  if (run == RunKind::kCalendar) return "events written";
  if (run != RunKind::kOrganiser) return "journals found";
  if (kind == archive::ArchiveKind::kAddress) return "contacts written";
  if (kind == archive::ArchiveKind::kMemo) return "memos written";
  return "to-dos written";
}

}  // namespace

int runConsole(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
               bool errIsTerminal) {
  ParsedOptions parsed = parseConsoleOptions(args);
  if (!parsed.error.empty()) return usageError(err, parsed.error);
  const ConsoleOptions& options = parsed.options;
  if (options.help || options.version) {
    put(out, options.help ? consoleUsage() : consoleVersion());
    return 0;
  }
  ConsoleFiles files(out);
  if (options.all) return exportFolder(options, files, err, errIsTerminal && !options.quiet);
  const exporting::InputKind input = exporting::identifyInput(files, options.archive);
  const archive::ArchiveKind kind = choiceKind(input);
  const RunChoice choice = chooseRun(options, input);
  if (!choice.usageError.empty()) return usageError(err, choice.usageError);
  if (std::optional<std::string> unknown = unknownSetting(options, choice.run)) {
    return usageError(err, *unknown);
  }
  // Results on standard output would meet the progress line on a terminal: none is drawn then.
  const bool resultsToOut = options.listJournals || options.output == "-";
  ConsoleOptions adjusted = options;
  if (input.container == exporting::Container::kHandheld) {
    // The handheld kept its own clock's times: no bias unless one is given, and no zone.
    if (!given(options, "-b", "--bias")) adjusted.bias = "0";
    if (given(options, "--time-zone", "--time-zone")) {
      put(err, "vessory-export: --time-zone is not used for a handheld database: its times are "
               "those its own clock showed\n");
    }
  }
  ConsoleView view(adjusted, err, errIsTerminal && !options.quiet && !resultsToOut);
  view.setProgressCount(progressCount(choice.run, kind));
  ExportOutcome outcome;
  switch (choice.run) {
    case RunKind::kListJournals:
      outcome = listJournals(options, view, files, out);
      break;
    case RunKind::kCalendar: {
      CalendarRun run(files, calendarSettings(options));
      outcome = run.run(view);
      break;
    }
    case RunKind::kOrganiser: {
      exporting::OrganiserRun run(files, organiserSettings(options));
      outcome = run.run(view);
      break;
    }
    default:
      outcome = exportJournal(options, view, files);
      break;
  }
  std::fflush(err);
  return exitStatus(outcome);
}

}  // namespace vessory::console
