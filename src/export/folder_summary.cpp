#include "export/folder_summary.h"

#include <algorithm>

namespace vessory::exporting {

namespace {

const char* outcomeText(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      return "all done";
    case ExportOutcome::kDataAfterEnd:
      return "data after the last record";
    case ExportOutcome::kEndedEarly:
      return "the archive ended early";
    case ExportOutcome::kSequencingError:
    case ExportOutcome::kDamagedRecords:
      return "damaged: exported up to the damage";
    case ExportOutcome::kUnreadTails:
      return "read, but some records end in bytes that were not read";
    case ExportOutcome::kLaterVersion:
      return "not read: nothing exported";
    case ExportOutcome::kCannotCreate:
      return "output not created";
    case ExportOutcome::kCannotWrite:
      return "writing failed";
    case ExportOutcome::kCannotRead:
      return "reading failed";
    case ExportOutcome::kBadOption:
      return "unknown time zone or character set";
    case ExportOutcome::kEndRequested:
      return "stopped";
    case ExportOutcome::kNothingRead:
      return "no record could be read";
    default:
      return "nothing exported";
  }
}

// A message on one line: its line breaks become blanks.
std::string oneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c != '\r' && c != '\n') {
      line += c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

// The counts of a part; after damage also the records never reached and those announced.
std::string countsWithLeftOut(std::string counts, const LeftOutRecords& left) {
  const std::int64_t leftOut = left.deleted + left.unreadable + left.cutShort;
  if (leftOut > 0) counts += ", " + std::to_string(leftOut) + " left out";
  const std::int64_t missing = notReached(left);
  if (left.cutShort > 0 || missing > 0) {
    counts += ", " + std::to_string(missing) + " not reached, of " +
              std::to_string(left.announced) + " announced";
  }
  return counts;
}

std::string kindWords(archive::RecordKind kind) {
  switch (kind) {
    case archive::RecordKind::kDatebook:
      return "date book";
    case archive::RecordKind::kAddress:
      return "address book";
    case archive::RecordKind::kTodo:
      return "to-do list";
    default:
      return "memo pad";
  }
}

std::string archiveDescription(archive::RecordKind kind, ArchiveSort sort) {
  // It stands in parentheses in the summary, where no second pair goes.
  if (sort == ArchiveSort::kArchiveFile) return kindWords(kind) + ", archive file";
  if (sort == ArchiveSort::kHandheld) return kindWords(kind) + ", handheld database";
  return kindWords(kind);
}

// What the summary calls a file that is named but not read.
std::string namedNotReadWhat(archive::ArchiveKind kind) {
  switch (kind) {
    case archive::ArchiveKind::kLaterAddress:
      return "address book of desktop version 4.1.4 or later";
    case archive::ArchiveKind::kLaterMemo:
      return "memo pad of desktop version 4.1.4 or later";
    case archive::ArchiveKind::kVersion6:
      return "database of desktop version 6";
    default:
      return "file of desktop version 4.1.4 or later";
  }
}

// Why a classic handheld database beside a later one is not exported, and what to do when it
// holds records the later one lacks.
std::string compatibilityNote(const FoundArchive& found) {
  std::string note = "left out: the compatibility copy of " + found.compatibilityCopyOf;
  if (found.idsOnlyHere == 0) return note;
  const std::string later = found.compatibilityCopyOf.substr(
      found.compatibilityCopyOf.find_last_of('/') + 1);
  note += "; but " + std::to_string(found.idsOnlyHere) +
          (found.idsOnlyHere == 1 ? " record's unique id is" : " records' unique ids are") +
          " not in " + later + ": export it alone (vessory-export " +
          (found.input.records == archive::RecordKind::kDatebook ? "--calendar " : "") +
          found.path + ") to keep " + (found.idsOnlyHere == 1 ? "it" : "them");
  return note;
}

std::string summaryLine(const ArchiveReport& report) {
  std::vector<std::string> written;
  std::vector<ExportOutcome> outcomes;
  for (const PartReport& part : report.parts) {
    if (!part.output.empty()) {
      written.push_back(part.output + " (" + part.counts + ")");
    } else if (!part.counts.empty()) {
      written.push_back(part.counts);
    }
    if (std::find(outcomes.begin(), outcomes.end(), part.outcome) == outcomes.end()) {
      outcomes.push_back(part.outcome);
    }
  }
  std::string line = report.archive + " (" + report.what + "):";
  for (std::size_t i = 0; i < written.size(); ++i) line += (i == 0 ? " " : ", ") + written[i];
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    line += i > 0 ? ", " : written.empty() ? " " : "; ";
    line += outcomeText(outcomes[i]);
  }
  if (!report.note.empty()) line += " " + report.note;
  for (std::size_t i = 0; i < report.messages.size(); ++i) {
    line += i == 0 ? " -- " : " | ";
    line += oneLine(report.messages[i]);
  }
  return line;
}

}  // namespace vessory::exporting
