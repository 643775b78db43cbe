#ifndef VESSORY_EXPORT_FOLDER_SUMMARY_H_
#define VESSORY_EXPORT_FOLDER_SUMMARY_H_

#include <string>

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
// Why a classic handheld database beside a later one is not exported, and what to do when it
// holds records the later one lacks.
std::string compatibilityNote(const FoundArchive& found);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_FOLDER_SUMMARY_H_
