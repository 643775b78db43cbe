#include "export/import_guide.h"

#include <array>

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
  if (!output.empty() && output.back() == '/') output.remove_suffix(1);
  const std::size_t slash = output.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? output : output.substr(slash + 1);
  for (const KindNames& k : kKinds) {
    if (name.substr(0, k.prefix.size()) == k.prefix) return k.kind;
  }
  return GuideKind::kUnknown;
}

// The steps for each kind, one line each. They name no file: the heading above them does.
constexpr std::string_view kCalendarSteps[] = {
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

constexpr std::string_view kJournalSteps[] = {
    "A spreadsheet, one row per journal entry: category, keyword, date, time, text.",
    "Google Sheets: File > Import > Upload, then \"Comma\" as the separator.",
    "Numbers on a Mac, iPhone or iPad: open the file (File > Open, or from Files).",
    "Excel: Data > From Text/CSV (or open the file, whose rows fill the sheet).",
    "LibreOffice Calc or any other spreadsheet: open the file, comma-separated.",
    "The daily notes beside it (journal/): one Markdown file a day, in a folder a year.",
    "  Obsidian: copy the folder into the vault; in Daily notes set it as the folder",
    "  and YYYY/YYYY-MM-DD as the date format. Logseq: copy the day files into pages/.",
    "  Day One: File > Import the day files as Markdown. Any notes folder or text",
    "  editor takes them as they are.",
};

constexpr std::string_view kContactsSteps[] = {
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
    "Apple Reminders on a Mac: File > Import; iCloud brings them to iPhone and iPad.",
    "Thunderbird: Events and Tasks > Import, pick this file and a calendar; the",
    "  to-dos show under Tasks.",
    "Nextcloud: Calendar > Settings & import > Import calendar, into a calendar that",
    "  holds tasks; they show in the Tasks app and in task apps that sync with it.",
    "Google Calendar and Outlook import the events of a calendar file but not its",
    "  tasks: import the to-dos into one of the programs above and sync from there.",
};

constexpr std::string_view kMemosSteps[] = {
    "A folder per category, one plain text file (UTF-8) per memo.",
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

void addStepsFor(std::string& text, GuideKind kind, std::string_view lineEnd) {
  switch (kind) {
    case GuideKind::kCalendar:
      addSteps(text, kCalendarSteps, lineEnd);
      break;
    case GuideKind::kJournal:
      addSteps(text, kJournalSteps, lineEnd);
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

std::string importGuide(const std::vector<ArchiveReport>& reports, std::string_view lineEnd) {
  std::string text;
  for (const ArchiveReport& report : reports) {
    for (const PartReport& part : report.parts) {
      if (part.output.empty()) continue;
      addLine(text, "", lineEnd);
      addLine(text,
              part.output + " -- from " + report.archive + " (" + report.what + "): " + part.counts,
              lineEnd);
      addStepsFor(text, kindOf(part.output), lineEnd);
    }
  }
  if (text.empty()) return text;
  std::string head;
  addLine(head, "How to import these files", lineEnd);
  addLine(head, "=========================", lineEnd);
  addLine(head, "", lineEnd);
  addLine(head, "Each file this export wrote into this folder, what it holds, and how to bring it",
          lineEnd);
  addLine(head, "into the programs people use. Keep this folder until the import is done.",
          lineEnd);
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
