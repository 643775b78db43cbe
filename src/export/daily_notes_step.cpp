#include "export/daily_notes_step.h"

#include "archive/format.h"
#include "calendar/calendar_event.h"
#include "export/export_view.h"
#include "export/run_steps.h"
#include "journal/csv_writer.h"

namespace vessory::exporting {

std::unique_ptr<DailyNotesCollector> DailyNotesCollector::open(const std::string& charset,
                                                               std::string& error) {
  std::unique_ptr<archive::TextConverter> toUtf8 = archive::TextConverter::open(
      charset.empty() ? std::string(archive::kDefaultArchiveCharset) : charset, error);
  if (!toUtf8) return nullptr;
  return std::unique_ptr<DailyNotesCollector>(new DailyNotesCollector(std::move(toUtf8)));
}

void DailyNotesCollector::collect(const journal::JournalNote& note,
                                  const archive::DatebookHeader& header,
                                  std::string_view keywordDelimiters) {
  // A note saved empty arrives as the desktop's empty-string marker: the CSV keeps its row, but
  // a day file has no entry to show for it.
  if (note.body == archive::kNullStringMarker) return;
  const std::string* name = calendar::categoryName(header, note.category);
  const std::string tag = name != nullptr ? toUtf8_->toUtf8(*name) : std::string();
  splitter_.split(note, /*wordWrap=*/false, [&](journal::JournalEntry& entry) {
    journal::NoteEntry converted;
    converted.label = toUtf8_->toUtf8(entry.timeText);
    converted.text = toUtf8_->toUtf8(entry.text);
    if (keywordDelimiters.size() >= 2) {
      converted.keyword =
          toUtf8_->toUtf8(journal::extractKeyword(entry.text, keywordDelimiters, {}));
    }
    notes_.add(entry.dateText, tag, std::move(converted));
  });
}

std::string dailyNotesSummary(const journal::DailyNotesWritten& written,
                              const std::string& folderName) {
  std::string text = "Daily notes: " + countOf(written.days, "day", "days") + " in " + folderName;
  if (written.leftAlone > 0) {
    text += "; " + countOf(written.leftAlone, "file", "files") +
            " of days the journal no longer has left as they were";
  }
  return text;
}

std::string dailyNotesMessage(files::ExportFiles& files, const DailyNotesCollector& notes,
                              const std::string& folder) {
  if (notes.notes().dayCount() == 0) return {};
  const journal::DailyNotesWritten written = journal::writeDailyNotes(files, folder, notes.notes());
  const std::string shown = files.displayName(folder);
  return kParagraph + (written.error.empty() ? dailyNotesSummary(written, shown) : written.error);
}

std::string writeNotesBesideCsv(files::ExportFiles& files, const DailyNotesCollector& notes,
                                const std::string& outputFolder, const std::string& csvName,
                                const std::string& shownPrefix, std::string& error) {
  if (notes.notes().dayCount() == 0) return {};
  const std::string folderName = journal::dailyNotesFolderForCsv(csvName);
  const journal::DailyNotesWritten written =
      journal::writeDailyNotes(files, joinPath(outputFolder, folderName), notes.notes());
  error = written.error;
  if (!error.empty()) return {};
  std::string text =
      countOf(written.days, "day", "days") + " in " + shownPrefix + folderName + pathSeparator();
  if (written.leftAlone > 0) {
    text += " (" + countOf(written.leftAlone, "file", "files") + " of other days left as they were)";
  }
  return text;
}

}  // namespace vessory::exporting
