#include "console/console_view.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "archive/archive_reader.h"
#include "archive/text_converter.h"
#include "archive/timestamp.h"
#include "calendar/zone_clock.h"
#include "console/console_folder.h"
#include "console/console_notes.h"
#include "console/content_sniffer.h"
#include "console/input_check.h"
#include "console/stop_signals.h"
#include "console/terminal_width.h"
#include "export/journal_listing.h"
#include "export/organiser_run.h"
#include "export/output_place.h"

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
  std::string line = "Records read: " + current_ + " of " + total_ + ", " + count_ + ": " + found_;
  // A line as wide as the terminal would wrap (some terminals wrap at the last column), and a
  // carriage return goes back to the start of the last line only: one column is kept free.
  const int columns = fixedWidth_ ? *fixedWidth_ : terminalColumns(err_);
  if (columns > 1 && line.size() >= static_cast<std::size_t>(columns)) {
    line.resize(static_cast<std::size_t>(columns - 1));
  }
  put(err_, "\r" + line + "\x1b[K");
  std::fflush(err_);
  progressShown_ = true;
}

bool ConsoleView::endRequested() { return stopSignal() != 0; }

std::int64_t ConsoleView::recordsBeforeStop() const {
  // The record shown last is the one the run stopped before.
  const std::int64_t shown = std::strtoll(current_.c_str(), nullptr, 10);
  return shown > 0 ? shown - 1 : 0;
}

void ConsoleView::clearProgress() {
  if (!progressShown_) return;
  put(err_, "\r\x1b[K");
  progressShown_ = false;
}

ConsoleView::~ConsoleView() {
  if (!pastEndNotice_.empty()) put(err_, pastEndNotice_ + "\n");
}

// Without -q the classic notice of a short read follows the message that explains it, as in
// the window; -q keeps the classic order.
void ConsoleView::showMessage(const std::string& text) {
  clearProgress();
  if (!options_.quiet && text.rfind(archive::kPastEndNotice, 0) == 0) {
    pastEndNotice_ = text;
    return;
  }
  put(err_, text + "\n" + (pastEndNotice_.empty() ? "" : std::exchange(pastEndNotice_, {}) + "\n"));
  std::fflush(err_);
}

bool ConsoleFiles::sameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  return files::DiskFiles::sameFile(a, b);
}

std::unique_ptr<files::OutputFile> ConsoleFiles::createCsv(const std::string& path,
                                                           std::string& error) {
  if (path == "-") return files::FileOutput::borrow(out_);
  return files::DiskFiles::createCsv(path, error);
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
  if (!options.timeZone.empty() && !calendar::ZoneClock::open(options.timeZone)) {
    return calendar::ZoneClock::refusal(options.timeZone);
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

bool given(const ConsoleOptions& options, const char* name, const char* longName) {
  for (const std::string& option : options.given) {
    if (option == name || option == longName) return true;
  }
  return false;
}

// `value` as std::to_chars writes it: the fewest digits that read back as the same double, in
// plain or scientific notation, whichever is shorter (plain on a tie).
std::string shortestText(double value) {
#ifdef __cpp_lib_to_chars
  char digits[32];
  const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, written.ptr);
#else
  // A C++ library without to_chars for doubles (libc++ before 14 finished it; the WebAssembly
  // build's): the shortest "%.*e" that reads back, then laid out as to_chars lays it out.
  char scientific[40];
  for (int precision = 0; precision < 17; ++precision) {
    std::snprintf(scientific, sizeof scientific, "%.*e", precision, value);
    if (std::strtod(scientific, nullptr) == value) break;
  }
  std::string text = scientific;
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = text.substr(0, e);
  const bool negative = mantissa[0] == '-';
  std::string figures;
  for (char c : mantissa) {
    if (c >= '0' && c <= '9') figures += c;
  }
  std::string plain;
  const int count = static_cast<int>(figures.size());
  if (exponent < 0) {
    plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + figures;
  } else if (exponent + 1 >= count) {
    plain = figures + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
  } else {
    plain = figures.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
            figures.substr(static_cast<std::size_t>(exponent + 1));
  }
  char exponentText[8];
  std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                exponent < 0 ? -exponent : exponent);
  std::string compact = mantissa.substr(negative ? 1 : 0) + exponentText;
  const std::string& chosen = compact.size() < plain.size() ? compact : plain;
  return (negative ? "-" : "") + chosen;
#endif
}

// A bias that is not wholly a number is read as the journal has always read it, the number at
// its start ("-13x" is -13, "EST" 0); the person who typed it is told once how it was taken.
// Quiet runs (scripts) keep their messages as they were.
void noteBiasReading(const ConsoleOptions& options, std::FILE* err) {
  if (options.quiet || !given(options, "-b", "--bias")) return;
  const archive::NumberReading reading = archive::readLeadingNumber(options.bias);
  if (reading.wholeText) return;
  const double value = reading.value == 0 ? 0.0 : reading.value;  // "-abc" is 0, not -0
  put(err, "vessory-export: the bias \"" + options.bias + "\" was read as " + shortestText(value) +
               "\n");
}

ExportOutcome exportJournal(const ConsoleOptions& options, ConsoleView& view, ConsoleFiles& files,
                            std::string& kept, bool& earlierKept) {
  ExportRun run(files, options.output);
  // Quiet runs keep the classic CSV: an earlier one replaced by whatever the archive gave.
  if (options.quiet) {
    run.replaceEarlierWhenDamaged();
  } else {
    run.failWithoutEntries();
  }
  ConsoleNotes notes(options);
  run.collectDailyNotes(notes.collector());
  if (options.encoding) run.convertToUtf8From(*options.encoding);
  // A zone moves the journal's times as it moves the calendar's; a bias given says otherwise.
  if (!options.timeZone.empty() && !given(options, "-b", "--bias")) {
    run.shiftByZone(options.timeZone);
  }
  const ExportOutcome journal = run.run(view);
  const ExportOutcome outcome = notes.finish(journal, run.csvKept(), view, files);
  kept = run.csvName();
  earlierKept = run.earlierKept();
  // A hint for whoever typed the name: quiet runs (scripts) are spared it.
  const bool read = !exporting::nothingExported(outcome) &&
                    outcome != ExportOutcome::kEndRequested &&
                    outcome != ExportOutcome::kCannotWrite && outcome != ExportOutcome::kCannotRead;
  if (read && run.rowsWritten() == 0 && !options.quiet) {
    view.showMessage(exporting::noEntriesHint(options.journal, options.archive));
  }
  return outcome;
}

// What the progress line counts besides the records read.
const char* progressCount(RunKind run, archive::ArchiveKind kind) {
  if (run == RunKind::kCalendar) return "events written";
  if (run != RunKind::kOrganiser) return "journals found";
  if (kind == archive::ArchiveKind::kAddress) return "contacts written";
  if (kind == archive::ArchiveKind::kMemo) return "memos written";
  return "to-dos written";
}

// Writes --help's or --version's text; a failure to write it is a failure of the tool.
int printText(const std::string& text, std::FILE* out, std::FILE* err) {
  errno = 0;
  put(out, text);
  if (std::fflush(out) == 0 && std::ferror(out) == 0) return 0;
  put(err, std::string("Cannot write standard output: ") +
               (errno != 0 ? std::strerror(errno) : "write error") + "\n");
  return 4;
}

// The refusal of an input that is no file to read, or nothing. A path ending in "\\" that is
// no folder is the window's "no file selected" and keeps the window's text, which the run shows.
std::optional<std::string> refuseInput(const std::string& path) {
  std::optional<std::string> problem = inputProblem(path);
  if (!problem) return std::nullopt;
  if (!path.empty() && path.back() == '\\' && !isFolder(path)) {
    return std::nullopt;
  }
  return "vessory-export: " + path + ": " + *problem;
}

// What a file this tool does not read seems to be, told by its first bytes, for the line after
// the refusal; nothing when its bytes match no format known here.
std::optional<std::string> whatItHolds(ExportFiles& files, const std::string& path) {
  std::string error;
  std::unique_ptr<files::ByteSource> source = files.openArchive(path, error);
  if (!source) return std::nullopt;
  std::vector<unsigned char> head;
  for (std::span<const unsigned char> chunk = source->nextChunk();
       !chunk.empty() && head.size() < kSniffSize; chunk = source->nextChunk()) {
    head.insert(head.end(), chunk.begin(), chunk.end());
  }
  if (!source->errorText().empty()) return std::nullopt;
  return describeContent(head, head.size());
}

// An -o that names a file this tool reads would lose that file to the export. The archive
// itself is the run's to refuse, in the words it has always used.
std::optional<std::string> outputIsInput(ExportFiles& files, const ConsoleOptions& options) {
  if (!options.output || *options.output == "-" || !isOrdinaryFile(*options.output)) {
    return std::nullopt;
  }
  if (!options.all && files.sameFile(*options.output, options.archive)) return std::nullopt;
  const exporting::InputKind kind = exporting::identifyInput(files, *options.output);
  if (kind.container == exporting::Container::kDesktop &&
      kind.desktop == archive::ArchiveKind::kUnknown) {
    return std::nullopt;
  }
  return "-o " + *options.output +
         " holds an archive or database; the export would replace it: name "
         "another output";
}

}  // namespace

int runConsole(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
               bool errIsTerminal) {
  ParsedOptions parsed = parseConsoleOptions(args);
  if (!parsed.error.empty()) return usageError(err, parsed.error);
  const ConsoleOptions& options = parsed.options;
  if (options.help || options.version) {
    return printText(options.help ? consoleUsage() : consoleVersion(), out, err);
  }
  ConsoleFiles files(out);
  if (std::optional<std::string> refused = outputIsInput(files, options)) {
    return usageError(err, *refused);
  }
  if (options.all) {
    noteBiasReading(options, err);
    return exportFolder(options, files, err, errIsTerminal && !options.quiet);
  }
  // A quiet run is a script's run: its messages are the export's own texts, exactly as they
  // have always been, and the lines that explain them to a person are left out. The run never
  // opens what is no ordinary file, so a named pipe cannot stall it either way.
  if (!options.quiet) {
    if (std::optional<std::string> refused = refuseInput(options.archive)) {
      put(err, *refused + "\n");
      return 3;
    }
  }
  const exporting::InputKind input = exporting::identifyInput(files, options.archive);
  const archive::ArchiveKind kind = choiceKind(input);
  const RunChoice choice = chooseRun(options, input);
  if (!choice.usageError.empty()) return usageError(err, choice.usageError);
  if (std::optional<std::string> unknown = unknownSetting(options, choice.run)) {
    return usageError(err, *unknown);
  }
  noteBiasReading(options, err);
  // Results on standard output would meet the progress line on a terminal: none is drawn then.
  const bool resultsToOut = options.listJournals || options.output == "-";
  ConsoleOptions adjusted = options;
  if (input.container == exporting::Container::kHandheld) {
    // The handheld kept its own clock's times: no bias unless one is given, and no zone.
    if (!given(options, "-b", "--bias")) adjusted.bias = "0";
    if (given(options, "--time-zone", "--time-zone")) {
      put(err,
          "vessory-export: --time-zone is not used for a handheld database: its times are "
          "those its own clock showed\n");
    }
  }
  ConsoleView view(adjusted, err, errIsTerminal && !options.quiet && !resultsToOut);
  view.setProgressCount(progressCount(choice.run, kind));
  ExportOutcome outcome;
  std::string kept;          // the output, as the messages name it
  bool earlierKept = false;  // an earlier output of that name was left as it was
  switch (choice.run) {
    case RunKind::kListJournals:
      outcome = listJournals(options, view, files, out);
      break;
    case RunKind::kCalendar: {
      CalendarRun run(files, calendarSettings(options));
      outcome = calendarDailyNotes(options, run.run(view), view, files);
      kept = run.tally().calendarName;
      earlierKept = run.tally().earlierKept;
      break;
    }
    case RunKind::kOrganiser: {
      exporting::OrganiserRun run(files, organiserSettings(options));
      outcome = run.run(view);
      kept = run.tally().outputName;
      earlierKept = run.tally().earlierKept;
      break;
    }
    default:
      outcome = exportJournal(options, view, files, kept, earlierKept);
      break;
  }
  if (outcome == ExportOutcome::kEndRequested && stopSignal() != 0) {
    view.showMessage(exporting::stoppedText(view.recordsBeforeStop(), kept, earlierKept));
    std::fflush(err);
    return 128 + stopSignal();
  }
  if (outcome == ExportOutcome::kNotDatebook && !options.quiet) {
    if (std::optional<std::string> found = whatItHolds(files, options.archive)) {
      put(err, "vessory-export: " + options.archive + ": " + *found + "\n");
    }
  }
  std::fflush(err);
  return exitStatus(outcome);
}

}  // namespace vessory::console
