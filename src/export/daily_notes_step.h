#ifndef VESSORY_EXPORT_DAILY_NOTES_STEP_H_
#define VESSORY_EXPORT_DAILY_NOTES_STEP_H_

#include <memory>
#include <string>
#include <string_view>

#include "archive/archive_header.h"
#include "archive/text_converter.h"
#include "files/export_files.h"
#include "journal/daily_notes.h"
#include "journal/entry_splitter.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

// Gathers a date book's journal entries as daily notes while a journal run reads the archive:
// the run hands over each journal note it writes CSV rows for, and the entries are split again
// with their line breaks kept (the notes app wraps), their texts, labels, keywords and category
// names turned into UTF-8 from the archive's character set. One collector serves one run; it
// keeps what it gathered until it is destroyed.
class DailyNotesCollector {
 public:
  // A collector reading text in `charset` (empty: the archive's default character set); null
  // with the reason in `error` when the system has no such character set.
  static std::unique_ptr<DailyNotesCollector> open(const std::string& charset, std::string& error);

  // Adds the note's entries; `note.body` is read during the call only.
  void collect(const journal::JournalNote& note, const archive::DatebookHeader& header,
               std::string_view keywordDelimiters);

  const journal::DailyNotes& notes() const { return notes_; }

 private:
  explicit DailyNotesCollector(std::unique_ptr<archive::TextConverter> toUtf8)
      : toUtf8_(std::move(toUtf8)) {}

  std::unique_ptr<archive::TextConverter> toUtf8_;
  journal::EntrySplitter splitter_;
  journal::DailyNotes notes_;
};

// The line a summary gives the notes written into `folderName`: the days, and the files of
// other days left as they were.
std::string dailyNotesSummary(const journal::DailyNotesWritten& written,
                              const std::string& folderName);

// Writes the collected notes into `folder` and returns the paragraph that ends a final message
// (the days written and where, or why they could not be); empty when there is no day.
std::string dailyNotesMessage(files::ExportFiles& files, const DailyNotesCollector& notes,
                              const std::string& folder);

// Writes the collected notes into the folder named after the journal CSV at `csvPath`
// (output folder `outputFolder`, shown in summaries with `shownPrefix` before it). Returns the
// summary's words ("30 days in journal/"), or empty with the failure in `error`; nothing is
// written, and nothing said, when there is no day.
std::string writeNotesBesideCsv(files::ExportFiles& files, const DailyNotesCollector& notes,
                                const std::string& outputFolder, const std::string& csvName,
                                const std::string& shownPrefix, std::string& error);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_DAILY_NOTES_STEP_H_
