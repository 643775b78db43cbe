#include "export/folder_summary.h"

#include <algorithm>
#include <optional>

#include "archive/later_archive.h"

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

// What a later desktop file held is named after, and the handheld databases that hold it too.
struct NotReadRecords {
  const char* records;
  const char* databases;
  std::optional<archive::RecordKind> kind;
};

NotReadRecords notReadRecords(archive::ArchiveKind kind) {
  switch (kind) {
    case archive::ArchiveKind::kLaterAddress:
      return {"contacts", " (AddressDB.pdb or ContactsDB-PAdd.pdb)", archive::RecordKind::kAddress};
    case archive::ArchiveKind::kLaterMemo:
      return {"memos", " (MemoDB.pdb or MemosDB-PMem.pdb)", archive::RecordKind::kMemo};
    default:
      return {"records", "", std::nullopt};
  }
}

std::string folderNotReadMessage(const FoundArchive& found,
                                 const std::vector<FoundArchive>& archives) {
  const archive::ArchiveKind kind = found.input.desktop;
  if (kind == archive::ArchiveKind::kVersion6)
    return archive::notReadMessage(found.shownName, kind);
  const NotReadRecords held = notReadRecords(kind);
  const char* article = kind == archive::ArchiveKind::kLaterAddress ? " is an " : " is a ";
  std::string text = found.shownName + article + namedNotReadWhat(kind) +
                     ", whose layout is not known well enough to read it. ";
  for (const FoundArchive& other : archives) {
    if (other.sort == ArchiveSort::kHandheld && other.outputFolder == found.outputFolder &&
        other.input.records && (!held.kind || other.input.records == held.kind)) {
      return text + "The handheld's own database " + other.shownName + " holds the same " +
             held.records + ": its export stands for this file.";
    }
  }
  return text + "The handheld's own databases" + held.databases + " hold the same " + held.records +
         ", but none is in this folder. A sync with the desktop software leaves them in the "
         "user folder's Backup folder: sync the handheld once more, or copy them into a Backup "
         "folder here from another copy of the user folder, then export the folder again.";
}

std::string sharedRecordsNote(const ArchiveReport& report, std::int64_t records) {
  const std::int64_t only = report.recordsOnlyHere;
  if (only == 0) {
    return "every record of it is in " + report.sameRecordsAs +
           " too, under another UID: import one of the two";
  }
  return std::to_string(only) + " of its " + countOf(records, "record", "records") +
         (only == 1 ? " is" : " are") + " not in " + report.sameRecordsAs +
         " (by record id), the rest are there too under other UIDs: import one of the two";
}

// Why a classic handheld database beside a later one is not exported, and what to do when it
// holds records the later one lacks.
std::string compatibilityNote(const FoundArchive& found) {
  std::string note = "left out: the compatibility copy of " + found.compatibilityCopyOf;
  if (found.idsOnlyHere == 0) return note;
  const std::string later =
      found.compatibilityCopyOf.substr(found.compatibilityCopyOf.find_last_of(pathSeparator()) + 1);
  note += "; but " + std::to_string(found.idsOnlyHere) +
          (found.idsOnlyHere == 1 ? " record's unique id is" : " records' unique ids are") +
          " not in " + later + ": export it alone (vessory-export " +
          (found.input.records == archive::RecordKind::kDatebook ? "--calendar " : "") +
          found.path + ") to keep " + (found.idsOnlyHere == 1 ? "it" : "them");
  return note;
}

namespace {

// A part with its own ending, for a line whose parts ended differently: a part written whole
// says so in words that cannot be read as the whole archive's ("complete", not "all done").
std::string partWithEnding(const PartReport& part) {
  const bool complete = part.outcome == ExportOutcome::kComplete;
  std::string ending = complete ? "complete" : outcomeText(part.outcome);
  if (part.outcome == ExportOutcome::kEndRequested && !part.output.empty()) {
    ending += ": only the records before the stop";
  }
  if (!part.output.empty()) return part.output + " (" + part.counts + "; " + ending + ")";
  if (part.counts.empty()) return ending;
  // Its counts already say why nothing was written ("journal.csv not written").
  return complete ? part.counts : part.counts + " (" + ending + ")";
}

}  // namespace

std::string summaryLine(const ArchiveReport& report) {
  std::vector<std::string> written;
  std::vector<ExportOutcome> outcomes;
  for (const PartReport& part : report.parts) {
    if (std::find(outcomes.begin(), outcomes.end(), part.outcome) == outcomes.end()) {
      outcomes.push_back(part.outcome);
    }
  }
  // Parts that ended alike share one ending at the end of the line; otherwise each part names
  // its own, so that no failure stands beside an "all done".
  const bool alike = outcomes.size() <= 1;
  for (const PartReport& part : report.parts) {
    if (!alike) {
      written.push_back(partWithEnding(part));
    } else if (!part.output.empty()) {
      written.push_back(part.output + " (" + part.counts + ")");
    } else if (!part.counts.empty()) {
      written.push_back(part.counts);
    }
  }
  std::string line = report.archive + " (" + report.what + "):";
  for (std::size_t i = 0; i < written.size(); ++i) line += (i == 0 ? " " : ", ") + written[i];
  if (alike && !outcomes.empty()) {
    line += (written.empty() ? " " : "; ") + std::string(outcomeText(outcomes[0]));
  }
  if (!report.note.empty()) line += (report.parts.empty() ? " " : "; ") + report.note;
  for (std::size_t i = 0; i < report.messages.size(); ++i) {
    line += i == 0 ? " -- " : " | ";
    line += oneLine(report.messages[i]);
  }
  return line;
}

bool wroteAny(const FolderResult& result) {
  return std::any_of(
      result.archives.begin(), result.archives.end(), [](const ArchiveReport& report) {
        return std::any_of(report.parts.begin(), report.parts.end(),
                           [](const PartReport& part) { return !part.output.empty(); });
      });
}

std::string folderHeading(const FolderResult& result, const std::string& folder,
                          const std::string& outputFolder, const std::string& zone) {
  if (!wroteAny(result)) return "Nothing of " + folder + " was exported into " + outputFolder + ":";
  return "Exported " + folder + " into " + outputFolder + "; times as the clock showed them in " +
         zone + ":";
}

// After a stop: each output of the archive stopped part-way as it is, and what was not started.
std::string stopSummary(const FolderResult& result, const std::string& outputFolder) {
  std::string text;
  if (!result.stoppedArchive) {
    text = "Stopped between two archives: those above were exported whole into " + outputFolder;
  } else {
    const ArchiveReport& report = result.archives[*result.stoppedArchive];
    std::string parts;
    for (const PartReport& part : report.parts) {
      if (part.output.empty()) continue;
      parts += (parts.empty() ? "" : "; ") + joinPath(outputFolder, part.output);
      parts += part.outcome == ExportOutcome::kEndRequested
                   ? " holds only the " + countOf(report.recordsRead, "record", "records") +
                         " read before that point"
                   : " is complete";
    }
    text = "Stopped in " + report.archive + ": " +
           (parts.empty() ? "nothing of it had been written then" : parts);
  }
  for (std::size_t i = 0; i < result.notStarted.size(); ++i) {
    text += (i == 0 ? "; not started: " : ", ") + result.notStarted[i];
  }
  if (!result.notStarted.empty()) {
    text += " (files of their exports from an earlier run are left as they were)";
  }
  return text;
}

}  // namespace vessory::exporting
