#include "export/run_steps.h"

#include <vector>

#include "calendar/system_zone.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

namespace {

constexpr char kSelectFileMessage[] =
    "Navigate to the directory that contains the Datebook.dat file (usually "
    "C:\\PALM\\{hotsyncname}\\Datebook), select Datebook.dat and tap on Export";

bool endsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '\\' || path.back() == pathSeparator());
}

}  // namespace

bool nothingExported(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::kAlreadyRunning:
    case ExportOutcome::kNoArchive:
    case ExportOutcome::kCannotOpen:
    case ExportOutcome::kNotDatebook:
    case ExportOutcome::kOutputIsArchive:
    case ExportOutcome::kCannotCreate:
    case ExportOutcome::kBadOption:
    case ExportOutcome::kLaterVersion:
    case ExportOutcome::kNothingRead:
      return true;
    default:
      return false;
  }
}

bool endedInDamage(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::kDataAfterEnd:
    case ExportOutcome::kEndedEarly:
    case ExportOutcome::kUnreadTails:
    case ExportOutcome::kSequencingError:
    case ExportOutcome::kDamagedRecords:
    case ExportOutcome::kCannotRead:
      return true;
    default:
      return false;
  }
}

// Records whose tails went unread were read whole: they are something to export.
bool nothingReadable(ExportOutcome outcome, std::int64_t wholeRecords) {
  return wholeRecords == 0 && outcome != ExportOutcome::kUnreadTails && endedInDamage(outcome);
}

std::string earlierKeptText(const std::vector<std::string>& earlierKept) {
  if (earlierKept.empty()) return {};
  std::string names;
  for (std::size_t i = 0; i < earlierKept.size(); ++i) {
    names += i == 0 ? "" : i + 1 == earlierKept.size() ? " and " : ", ";
    names += earlierKept[i];
  }
  return " The earlier " + names +
         (earlierKept.size() == 1 ? " was left as it was." : " were left as they were.");
}

std::string nothingReadMessage(ExportOutcome ending, const std::vector<std::string>& earlierKept) {
  std::string text = kNothingReadText + earlierKeptText(earlierKept);
  if (ending == ExportOutcome::kEndedEarly) return kEndedEarlyWarning + (kParagraph + text);
  if (ending == ExportOutcome::kDataAfterEnd) return kDataAfterEndMessage + (kParagraph + text);
  return text;
}

std::string noEntriesHint(const std::string& journalText, const std::string& archivePath) {
  return "No journal entries were found under \"" + journal::typedJournalName(journalText) +
         "\"; vessory-export --list-journals " + archivePath +
         " lists the descriptions this archive uses.";
}

OpenedArchive openSelectedArchive(ExportView& view, files::ExportFiles& files,
                                  const std::string& path) {
  OpenedArchive opened;
  if (endsWithSeparator(path) || !files.fileExists(path)) {
    view.showMessage(kSelectFileMessage);
    opened.failure = ExportOutcome::kNoArchive;
    return opened;
  }
  std::string error;
  opened.source = files.openArchive(path, error);
  if (!opened.source) {
    view.showMessage("Cannot open " + path + ": " + error);
    opened.failure = ExportOutcome::kCannotOpen;
  }
  return opened;
}

std::optional<ExportOutcome> refuseOutputOverArchive(ExportView& view, files::ExportFiles& files,
                                                     const std::string& outputPath,
                                                     const std::string& archivePath,
                                                     const std::string& what) {
  if (!files.sameFile(outputPath, archivePath)) return std::nullopt;
  view.showMessage("Cannot export: the " + what + " " + files.displayName(outputPath) +
                   " is the Datebook file itself");
  return ExportOutcome::kOutputIsArchive;
}

ExportOutcome endOfArchive(archive::ArchiveReader& reader) {
  if (reader.atEnd()) return ExportOutcome::kEndedEarly;
  // One raw byte more: none means the last record ended exactly at the end of the archive.
  if (reader.readChars(1).empty()) return ExportOutcome::kComplete;
  return ExportOutcome::kDataAfterEnd;
}

ExportOutcome closingOutcome(bool written, std::optional<ExportOutcome> stopped,
                             const files::ByteSource& source, archive::ArchiveReader& reader) {
  if (!written) return ExportOutcome::kCannotWrite;
  if (stopped) return *stopped;
  if (!source.errorText().empty()) return ExportOutcome::kCannotRead;
  return endOfArchive(reader);
}

OptionalConverter openConverter(ExportView& view, const std::optional<std::string>& charset) {
  OptionalConverter opened;
  if (!charset) return opened;
  std::string error;
  opened.converter = archive::TextConverter::open(*charset, error);
  if (!opened.converter) {
    view.showMessage("Unknown character set " + *charset);
    opened.failure = ExportOutcome::kBadOption;
  }
  return opened;
}

std::string countOf(std::int64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::int64_t notReached(const LeftOutRecords& left) {
  const std::int64_t reached = left.written + left.deleted + left.unreadable + left.cutShort;
  return left.announced > reached ? left.announced - reached : 0;
}

namespace {
std::string wholeReading(const LeftOutRecords& left) {
  const std::int64_t missing = notReached(left);
  if (left.cutShort == 0 && missing == 0) return {};
  const std::int64_t leftOut = left.deleted + left.unreadable + left.cutShort;
  return " Of the " + countOf(left.announced, "record", "records") + " the archive announced, " +
         std::to_string(left.written) + (left.written == 1 ? " was" : " were") + " written, " +
         std::to_string(leftOut) + " left out and " + std::to_string(missing) + " not reached.";
}
}  // namespace

std::string leftOutText(const LeftOutRecords& left) {
  const std::int64_t total = left.deleted + left.unreadable + left.cutShort;
  if (total == 0) return "No records left out." + wholeReading(left);
  std::vector<std::string> parts;
  if (left.deleted > 0) {
    parts.push_back(std::to_string(left.deleted) + (left.handheld
                                                        ? " deleted or archived on the handheld"
                                                        : " deleted on the desktop"));
  }
  if (left.unreadable > 0) {
    parts.push_back(std::to_string(left.unreadable) + " unreadable (see the messages above)");
  }
  if (left.cutShort > 0) {
    parts.push_back("1 cut short by the damage; the archive " +
                    std::string(left.endedEarly ? "ended" : "could not be read") +
                    " after record " + std::to_string(left.lastWhole) + " of " +
                    std::to_string(left.announced));
  }
  std::string text = countOf(total, "record", "records") + " left out:";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    text += i == 0 ? " " : ", ";
    text += parts[i];
  }
  return text + "." + wholeReading(left);
}

std::optional<std::string> openTextAndClock(const std::string& charset, const std::string& zoneName,
                                            TextAndClock& tools) {
  std::string error;
  tools.text = archive::TextConverter::open(charset, error);
  if (!tools.text) return "Unknown character set " + charset;
  std::string zone = zoneName;
  if (zone.empty()) {
    zone = calendar::systemZoneName();
    tools.clock = calendar::ZoneClock::open(zone);
    if (!tools.clock) {
      zone = "UTC";
      tools.zoneFallback = true;
    }
  }
  if (!tools.clock) tools.clock = calendar::ZoneClock::open(zone);
  if (!tools.clock) return calendar::ZoneClock::refusal(zone);
  tools.zoneName = zone;
  return std::nullopt;
}

}  // namespace vessory::exporting
