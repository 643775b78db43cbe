#include "console/console_view.h"

#include <cstring>

#include "archive/text_converter.h"
#include "export/journal_listing.h"

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
  const char* found = options_.calendar ? ", events written: " : ", journals found: ";
  std::string line = "\rRecords read: " + current_ + " of " + total_ + found + found_ + "\x1b[K";
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
      return 1;
    case ExportOutcome::kSequencingError:
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

// The option values a run is given, checked before anything is read: an unknown zone or
// character set is a usage error, not a failed export.
std::optional<std::string> unknownSetting(const ConsoleOptions& options,
                                          const CalendarSettings& calendar) {
  if (options.calendar) return exporting::checkCalendarSettings(calendar);
  std::string error;
  if (options.encoding && !archive::TextConverter::open(*options.encoding, error)) {
    return "unknown character set " + *options.encoding;
  }
  return std::nullopt;
}

CalendarSettings calendarSettings(const ConsoleOptions& options) {
  CalendarSettings settings;
  settings.zoneName = options.timeZone;
  if (options.encoding) settings.charset = *options.encoding;
  settings.includeDeleted = options.includeDeleted;
  settings.outputPath = options.output;
  return settings;
}

ExportOutcome listJournals(const ConsoleOptions& options, ConsoleView& view, ConsoleFiles& files,
                           std::FILE* out) {
  exporting::JournalListing listing(files);
  if (options.encoding) listing.convertToUtf8From(*options.encoding);
  const ExportOutcome outcome = listing.run(view);
  for (const exporting::JournalCandidate& candidate : listing.candidates()) {
    put(out, std::to_string(candidate.count) + "\t" + candidate.description + "\n");
  }
  return outcome;
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
  const CalendarSettings calendar = calendarSettings(options);
  if (std::optional<std::string> unknown = unknownSetting(options, calendar)) {
    return usageError(err, *unknown);
  }
  ConsoleView view(options, err, errIsTerminal && !options.quiet);
  ConsoleFiles files(out);
  ExportOutcome outcome;
  if (options.listJournals) {
    outcome = listJournals(options, view, files, out);
  } else if (options.calendar) {
    CalendarRun run(files, calendar);
    outcome = run.run(view);
  } else {
    ExportRun run(files, options.output);
    if (options.encoding) run.convertToUtf8From(*options.encoding);
    outcome = run.run(view);
  }
  std::fflush(err);
  return exitStatus(outcome);
}

}  // namespace vessory::console
