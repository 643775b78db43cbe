#ifndef VESSORY_EXPORT_FOLDER_SUMMARY_H_
#define VESSORY_EXPORT_FOLDER_SUMMARY_H_

#include <string>
#include <vector>

#include "archive/organiser_archive.h"
#include "export/folder_export.h"
#include "export/folder_layout.h"
#include "export/run_steps.h"

namespace vessory::exporting {

// The words of the whole-folder export's summary, one line an archive: what each archive is,
// what its parts wrote and how they ended. Only texts; the export fills the reports.

// A part's counts; after damage also the records left out, never reached and announced.
std::string countsWithLeftOut(std::string counts, const LeftOutRecords& left);
// "date book", "address book", "to-do list" or "memo pad".
std::string kindWords(archive::RecordKind kind);
// The kind, and the sort of file when it is an archive file or a handheld database.
std::string archiveDescription(archive::RecordKind kind, ArchiveSort sort);
// What a file is called that is named but not read.
std::string namedNotReadWhat(archive::ArchiveKind kind);
// The message for a later desktop file that is named but not read, in a whole-folder export
// that found `archives`: the handheld database of that user that holds the same records, or
// where such databases come from when the folder has none.
std::string folderNotReadMessage(const FoundArchive& found,
                                 const std::vector<FoundArchive>& archives);
// What the summary adds for a handheld database's export of `records` records that a desktop
// file's export of the same user and kind partly holds too (report.sameRecordsAs): how many of
// them that one lacks.
std::string sharedRecordsNote(const ArchiveReport& report, std::int64_t records);
// Why a classic handheld database beside a later one is not exported, and what to do when it
// holds records the later one lacks.
std::string compatibilityNote(const FoundArchive& found);
// True when any export of the folder wrote a file (or memo folder).
bool wroteAny(const FolderResult& result);
// The summary's first line: "Exported FOLDER into OUTPUT; times as the clock showed them in
// ZONE:" when any output was written, else "Nothing of FOLDER was exported into OUTPUT:".
std::string folderHeading(const FolderResult& result, const std::string& folder,
                          const std::string& outputFolder, const std::string& zone);
// After a stop, the summary's last line: each output of the archive stopped part-way as it is
// (complete, or holding only the records read before the stop), paths joined to
// `outputFolder`, and the archives not started, whose earlier exports stay as they were.
std::string stopSummary(const FolderResult& result, const std::string& outputFolder);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_FOLDER_SUMMARY_H_
