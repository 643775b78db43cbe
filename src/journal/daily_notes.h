#ifndef VESSORY_JOURNAL_DAILY_NOTES_H_
#define VESSORY_JOURNAL_DAILY_NOTES_H_

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "files/export_files.h"

namespace vessory::journal {

// A calendar day as the journal's CSV dates it; all zero for an entry whose time has no date.
struct JournalDay {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator<(const JournalDay& other) const {
    return std::tie(year, month, day) < std::tie(other.year, other.month, other.day);
  }
};

// The day of a CSV date text ("3/15/2004"); nothing for a text that names no day in the years
// 1 to 9999 (the date text of a time that could not be worked out).
std::optional<JournalDay> parseJournalDate(std::string_view dateText);
// The day's file inside the notes folder: "2004/2004-03-15.md"; "undated.md" for no day.
std::string dayFileName(const JournalDay& day);
// "Monday, 15 March 2004"; "Undated" for no day.
std::string dayTitle(const JournalDay& day);

// One entry as its day's file shows it; every text in UTF-8.
struct NoteEntry {
  std::string label;    // the time label as the CSV gives it
  std::string text;     // the entry's text, line breaks kept
  std::string keyword;  // the text between the keyword delimiters, or empty
};

// The journal as daily notes: entries gathered by the day the CSV dates them, in the order they
// were added, then each day rendered as a Markdown file with YAML front matter (its date and
// the names of its entries' categories as tags), a title, and each entry as a heading with its
// time label (and keyword tag) over its text. Holds copies of everything added.
class DailyNotes {
 public:
  // `tag` is the name of the entry's category, empty for none.
  void add(std::string_view dateText, std::string_view tag, NoteEntry entry);

  std::size_t dayCount() const { return days_.size(); }
  // Calls `write` with each day's file name and text, in date order (undated entries first),
  // until it returns false.
  void render(const std::function<bool(const std::string& name, const std::string& text)>& write) const;

 private:
  struct Day {
    std::vector<std::string> tags;
    std::vector<NoteEntry> entries;
  };
  static void renderDay(const JournalDay& date, const Day& day, std::string& out);

  std::map<JournalDay, Day> days_;
};

// What writing the notes came to.
struct DailyNotesWritten {
  std::int64_t days = 0;       // day files written
  std::int64_t leftAlone = 0;  // day files already in the folder for days the journal lacks
  std::string error;           // not empty: "Cannot write PATH: reason"; the rest is not written
};

// Writes every day's file into `folder` (made when missing), each through files.createFile(),
// so that an existing file is replaced only by a whole new one. Files of other days are left
// as they are and counted.
DailyNotesWritten writeDailyNotes(files::ExportFiles& files, const std::string& folder,
                                  const DailyNotes& notes);

// The notes folder beside an archive: its path without the extension, and "-journal"
// ("Datebook.dat" gives "Datebook-journal").
std::string dailyNotesFolderBeside(std::string_view archivePath);
// The notes folder beside a journal CSV: its path without ".csv" ("out/journal.csv" gives
// "out/journal"), so that the folder follows the CSV's name.
std::string dailyNotesFolderForCsv(std::string_view csvPath);

}  // namespace vessory::journal

#endif  // VESSORY_JOURNAL_DAILY_NOTES_H_
