#include "export/import_guide.h"

#include <algorithm>
#include <array>
#include <string>

#include "export/run_steps.h"

namespace vessory::exporting {

namespace {

// What an output holds, told by the name the folder export gave it.
enum class GuideKind { kCalendar, kJournal, kContacts, kTodos, kMemos, kUnknown };

struct KindNames {
  std::string_view prefix;
  GuideKind kind;
};

constexpr std::array<KindNames, 5> kKinds = {{{"calendar", GuideKind::kCalendar},
                                              {"journal", GuideKind::kJournal},
                                              {"contacts", GuideKind::kContacts},
                                              {"todos", GuideKind::kTodos},
                                              {"memos", GuideKind::kMemos}}};

GuideKind kindOf(std::string_view output) {
  if (!output.empty() && output.back() == pathSeparator()) output.remove_suffix(1);
  const std::size_t slash = output.rfind(pathSeparator());
  const std::string_view name = slash == std::string_view::npos ? output : output.substr(slash + 1);
  for (const KindNames& k : kKinds) {
    if (name.substr(0, k.prefix.size()) == k.prefix) return k.kind;
  }
  return GuideKind::kUnknown;
}

// The steps for each kind, one line each. They name no file: the heading above them does.
constexpr std::string_view kCalendarSteps[] = {
    "Character set: UTF-8, as every calendar program expects.",
    "Google Calendar (on the web): Settings > Import & export > Import; pick this file",
    "  and the calendar it goes into. Phones on that account get it by syncing.",
    "Apple Calendar on a Mac: File > Import. On an iPhone or iPad, import it on the Mac",
    "  (or open it from Files or Mail and tap Add All) and let iCloud sync it.",
    "Outlook: File > Open & Export > Import/Export > \"Import an iCalendar (.ics) or",
    "  vCalendar file\"; in Outlook on the web: Add calendar > Upload from file.",
    "Thunderbird: Events and Tasks > Import, pick this file and a calendar.",
    "Nextcloud Calendar: Settings & import > Import calendar.",
    "Exporting again gives every event the same UID, so most calendars update the",
    "events they already have instead of doubling them.",
};

// The journal CSV as the archive holds its bytes: the set most archives were written in.
constexpr std::string_view kJournalSteps[] = {
    "A spreadsheet, one row per journal entry: category, keyword, date, time, text.",
    "Character set: the archive's own bytes, Windows-1252 (Western European) unless",
    "  the desktop used another one. Pick it where the spreadsheet asks, or accented",
    "  letters come out wrong.",
    "Excel: Data > From Text/CSV, File Origin \"1252: Western European (Windows)\",",
    "  Delimiter \"Comma\".",
    "LibreOffice Calc: open the file; in the Text Import dialog pick Character set",
    "  \"Western Europe (Windows-1252/WinLatin 1)\" and Separated by Comma.",
    "Google Sheets reads only UTF-8, and Numbers is surest with it: open the file in",
    "  LibreOffice Calc as above, then File > Save As, type \"Text CSV\", tick \"Edit",
    "  filter settings\", Character set \"Unicode (UTF-8)\"; import that copy (Google",
    "  Sheets: File > Import > Upload, separator \"Comma\"; Numbers: File > Open).",
    "  Or export again with vessory-export --all FOLDER --encoding windows-1252,",
    "  which writes the journal in UTF-8.",
};

// The journal CSV converted into UTF-8 (--encoding), with the byte-order mark that says so.
constexpr std::string_view kUtf8JournalSteps[] = {
    "A spreadsheet, one row per journal entry: category, keyword, date, time, text.",
    "Character set: UTF-8, marked so at its start (converted from the archive's set).",
    "Google Sheets: File > Import > Upload, then \"Comma\" as the separator.",
    "Numbers on a Mac, iPhone or iPad: open the file (File > Open, or from Files).",
    "Excel: Data > From Text/CSV, File Origin \"65001: Unicode (UTF-8)\" (or open the",
    "  file, whose rows fill the sheet).",
    "LibreOffice Calc: open the file; Character set \"Unicode (UTF-8)\", Separated by",
    "  Comma.",
};

// The daily notes written beside the journal CSV (always by --all, by the window when asked),
// after the line that names their folder.
constexpr std::string_view kDailyNotesSteps[] = {
    "  one Markdown file a day, in a folder a year. Obsidian: copy the folder into",
    "  the vault; in Daily notes set it as the folder and YYYY/YYYY-MM-DD as the date",
    "  format. Logseq: copy the day files into pages/. Day One: File > Import the day",
    "  files as Markdown. Any notes folder or text editor takes them as they are.",
};

// The daily notes' folder beside a journal CSV: its name without ".csv", with the platform's
// separator after it as every folder the guide names ("journal-archive/").
std::string dailyNotesFolder(std::string_view csv) {
  constexpr std::string_view kCsv = ".csv";
  if (csv.ends_with(kCsv)) csv.remove_suffix(kCsv.size());
  return std::string(csv) + pathSeparator();
}

constexpr std::string_view kContactsSteps[] = {
    "Character set: UTF-8, as every address book expects.",
    "Google Contacts (on the web): Import, pick this file; Android phones on that",
    "  account get the contacts by syncing.",
    "Apple Contacts on a Mac: File > Import. On an iPhone or iPad: open the file from",
    "  Files, Mail or Messages and tap \"Add All Contacts\", or import it on iCloud.com.",
    "Outlook: classic Outlook opens a vCard file one contact at a time; for many",
    "  contacts import it into Google or iCloud and let Outlook sync from there.",
    "Thunderbird: Tools > Import > Address Books > vCard file.",
    "Nextcloud Contacts: Contacts settings > Import contacts.",
};

constexpr std::string_view kTodosSteps[] = {
    "Character set: UTF-8, as every task program expects.",
    "Apple Reminders on a Mac: File > Import; iCloud brings them to iPhone and iPad.",
    "Thunderbird: Events and Tasks > Import, pick this file and a calendar; the",
    "  to-dos show under Tasks.",
    "Nextcloud: Calendar > Settings & import > Import calendar, into a calendar that",
    "  holds tasks; they show in the Tasks app and in task apps that sync with it.",
    "Google Calendar and Outlook import the events of a calendar file but not its",
    "  tasks: import the to-dos into one of the programs above and sync from there.",
};

constexpr std::string_view kMemosSteps[] = {
    "A folder per category, one plain text file per memo; character set: UTF-8.",
    "A folder-of-notes app (Obsidian, Logseq, and many Markdown editors): copy the",
    "  folder into its notes folder (vault) as it is; renaming .txt to .md is harmless.",
    "Apple Notes on a Mac: File > Import to Notes, pick the folder; the subfolders",
    "  stay, and iCloud brings the notes to iPhone and iPad.",
    "Nextcloud Notes: upload the folder into the Notes folder of Nextcloud Files; the",
    "  categories become the app's categories.",
    "Google Keep and Outlook have no import of text files: open a memo and copy its",
    "  text into a new note, or keep the memos in one of the apps above.",
    "A private memo is written like any other: keep the folder where only you read it.",
};

template <std::size_t N>
void addSteps(std::string& text, const std::string_view (&steps)[N], std::string_view lineEnd) {
  for (std::string_view step : steps) {
    text += "  ";
    text += step;
    text += lineEnd;
  }
}

// The steps for `output`, a name as the summary gives it.
void addStepsFor(std::string& text, std::string_view output, bool utf8Journal,
                 std::string_view lineEnd) {
  switch (kindOf(output)) {
    case GuideKind::kCalendar:
      addSteps(text, kCalendarSteps, lineEnd);
      break;
    case GuideKind::kJournal:
      if (utf8Journal) {
        addSteps(text, kUtf8JournalSteps, lineEnd);
      } else {
        addSteps(text, kJournalSteps, lineEnd);
      }
      text += "  Daily notes, when written beside it, are in " + dailyNotesFolder(output) + ":";
      text += lineEnd;
      addSteps(text, kDailyNotesSteps, lineEnd);
      break;
    case GuideKind::kContacts:
      addSteps(text, kContactsSteps, lineEnd);
      break;
    case GuideKind::kTodos:
      addSteps(text, kTodosSteps, lineEnd);
      break;
    case GuideKind::kMemos:
      addSteps(text, kMemosSteps, lineEnd);
      break;
    default:
      break;
  }
}

void addLine(std::string& text, std::string_view line, std::string_view lineEnd) {
  text += line;
  text += lineEnd;
}

}  // namespace

namespace {

bool stoppedHere(const PartReport& part) {
  return part.outcome == ExportOutcome::kEndRequested && !part.output.empty();
}

// The names of `items` joined by commas, each with what `describe` adds.
template <class Items, class Describe>
std::string joined(const Items& items, Describe describe) {
  std::string text;
  for (const auto& item : items) {
    const std::string one = describe(item);
    if (!one.empty()) text += (text.empty() ? "" : ", ") + one;
  }
  return text;
}

// What a stop left: the files finished, the one holding the records before the stop, and those
// not started, whose earlier exports stand.
void addStop(std::string& text, const FolderResult& result, std::string_view lineEnd) {
  addLine(text, "", lineEnd);
  addLine(text, "THIS EXPORT WAS STOPPED before it was finished.", lineEnd);
  std::string finished;
  std::string partial;
  for (const ArchiveReport& report : result.archives) {
    for (const PartReport& part : report.parts) {
      if (part.output.empty()) continue;
      if (stoppedHere(part)) {
        partial += (partial.empty() ? "" : ", ") + part.output + " (the " +
                   countOf(report.recordsRead, "record", "records") + " of " + report.archive +
                   " read before the stop)";
      } else {
        finished += (finished.empty() ? "" : ", ") + part.output;
      }
    }
  }
  if (!finished.empty()) addLine(text, "  Finished: " + finished, lineEnd);
  if (!partial.empty()) addLine(text, "  Only the records before the stop: " + partial, lineEnd);
  const std::string untouched = joined(result.untouched, [](const UntouchedOutput& u) {
    return u.output + " (from " + u.archive + ")";
  });
  if (!untouched.empty()) {
    addLine(text, "  Not started: " + untouched + ".", lineEnd);
    const std::string earlier = joined(
        result.untouched, [](const UntouchedOutput& u) { return u.earlier ? u.output : ""; });
    addLine(text,
            earlier.empty() ? "  No file of those names is in this folder."
                            : "  In this folder from an earlier export, left as it was: " +
                                  earlier + " (described below).",
            lineEnd);
  }
  addLine(text, "  Export the folder again to finish.", lineEnd);
}

bool writingFailed(const PartReport& part) {
  return part.outcome == ExportOutcome::kCannotWrite ||
         part.outcome == ExportOutcome::kCannotCreate;
}

// The archives some of whose files could not be written (a full disk), each with its summary
// line, which names those files and the reason.
void addFailedWrites(std::string& text, const FolderResult& result, std::string_view lineEnd) {
  bool any = false;
  for (const ArchiveReport& report : result.archives) {
    if (std::none_of(report.parts.begin(), report.parts.end(), writingFailed)) continue;
    if (!any) {
      addLine(text, "", lineEnd);
      addLine(text, "SOME FILES WERE NOT WRITTEN, or not whole: writing failed.", lineEnd);
      any = true;
    }
    addLine(text, "  " + summaryLine(report), lineEnd);
  }
  if (any) {
    addLine(text, "  Make room (or make the folder writable) and export the folder again.",
            lineEnd);
  }
}

// Where a handheld's export and the desktop's hold the same records: which to import, and when
// the other is worth it.
void addSharedPair(std::string& text, const ArchiveReport& report, std::string_view lineEnd) {
  const std::string& handheld = report.parts[0].output;
  const std::string& desktop = report.sameRecordsAs;
  addLine(text, "", lineEnd);
  addLine(text, "THE SAME RECORDS TWICE: " + desktop + " and " + handheld, lineEnd);
  addLine(text, "  A sync copies each record to the desktop and the handheld; these two files",
          lineEnd);
  addLine(text, "  give them different UIDs, so importing both doubles them.", lineEnd);
  addLine(text, "  Import " + desktop + ", the desktop's.", lineEnd);
  if (report.recordsOnlyHere == 0) {
    addLine(text, "  " + handheld + " holds no record that " + desktop + " lacks: leave it out.",
            lineEnd);
    return;
  }
  addLine(text,
          "  " + handheld + " holds " + countOf(report.recordsOnlyHere, "record", "records") +
              " that " + desktop + " lacks, made on the",
          lineEnd);
  addLine(text, "  handheld after its last sync. To keep them, sync the handheld with the desktop",
          lineEnd);
  addLine(text, "  software and export again, or import " + handheld + " instead of " + desktop,
          lineEnd);
  addLine(text, "  (it lacks what was added on the desktop since that sync).", lineEnd);
}

}  // namespace

std::string importGuide(const FolderResult& result, std::string_view lineEnd) {
  const bool utf8Journal = result.journalConvertedFrom.has_value();
  std::string text;
  for (const ArchiveReport& report : result.archives) {
    for (const PartReport& part : report.parts) {
      if (part.output.empty()) continue;
      addLine(text, "", lineEnd);
      addLine(text,
              part.output + " -- from " + report.archive + " (" + report.what +
                  "): " + part.counts +
                  (stoppedHere(part) ? "; stopped: only the records before the stop" : "") +
                  (writingFailed(part) ? "; writing failed, see above" : ""),
              lineEnd);
      addStepsFor(text, part.output, utf8Journal, lineEnd);
    }
  }
  for (const UntouchedOutput& untouched : result.untouched) {
    if (!untouched.earlier) continue;
    addLine(text, "", lineEnd);
    addLine(text,
            untouched.output +
                " -- from an earlier export, left as it was (this one stopped before " +
                untouched.archive + ")",
            lineEnd);
    // An earlier journal may have been written in either set; the steps for the archive's bytes
    // name both ways.
    addStepsFor(text, untouched.output, false, lineEnd);
  }
  if (text.empty()) return text;
  std::string head;
  addLine(head, "How to import these files", lineEnd);
  addLine(head, "=========================", lineEnd);
  if (result.stopped) addStop(head, result, lineEnd);
  addFailedWrites(head, result, lineEnd);
  addLine(head, "", lineEnd);
  addLine(head, "Each file this export wrote into this folder, what it holds, and how to bring it",
          lineEnd);
  addLine(head, "into the programs people use. Keep this folder until the import is done.",
          lineEnd);
  for (const ArchiveReport& report : result.archives) {
    if (!report.sameRecordsAs.empty()) addSharedPair(head, report, lineEnd);
  }
  return head + text;
}

std::string_view textLineEnd() {
#ifdef _WIN32
  return "\r\n";
#else
  return "\n";
#endif
}

}  // namespace vessory::exporting
