#ifndef VESSORY_EXPORT_FOLDER_NOTES_H_
#define VESSORY_EXPORT_FOLDER_NOTES_H_

#include <string>
#include <vector>

#include "export/folder_export.h"
#include "export/folder_layout.h"
#include "files/export_files.h"

namespace vessory::exporting {

// What the whole-folder export notes beside its runs, for the summary and the import guide:
// which outputs a stop left unstarted (and which of them an earlier export left in the output
// folder), and where a handheld's export holds the records of a desktop file's export again.
// Reads through the files it is given; writes nothing.

// A desktop file of a later version that is named but not read.
bool namedNotRead(const FoundArchive& found);

// The outputs of `found`, in the order of its parts, as the summary names them: none for an
// archive left out or not read.
std::vector<std::string> plannedOutputs(const FoundArchive& found);

// Notes in `result.untouched` the outputs of `found` a stop left unstarted -- all of them when
// `report` is null, else its parts that stopped before writing anything -- and whether a file or
// folder of that name is in the output folder.
void noteUntouched(files::ExportFiles& files, const FoundArchive& found,
                   const ArchiveReport* report, FolderResult& result);

// Notes on each handheld database's report the output of the same user's desktop file of its
// kind (both exported), and how many of the handheld's records (by record id) it lacks.
// `result.archives` are the reports of `archives`, in their order.
void noteSharedRecords(files::ExportFiles& files, const std::vector<FoundArchive>& archives,
                       bool includeDeleted, FolderResult& result);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_FOLDER_NOTES_H_
