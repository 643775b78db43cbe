#ifndef VESSORY_EXPORT_FOLDER_LAYOUT_H_
#define VESSORY_EXPORT_FOLDER_LAYOUT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/organiser_records.h"
#include "files/export_files.h"
#include "export/input_kind.h"

namespace vessory::exporting {

// Where the desktop keeps a user's archives, and where an export of the whole user folder puts
// what it makes of them. A user folder holds one folder per kind (datebook/, address/, todo/,
// memopad/) with the live file, the archive files of removed records (Datebook.dba, and one
// named after each category records were archived from: Business.DBA) and, copied there by
// hand, the handheld's own database; some keep the files in the user folder itself; a sync leaves
// the handheld's databases, classic and later, in its Backup/ folder. A later handheld keeps
// the classic database of each kind as a compatibility copy of the later one: where both are
// found for one user, the later one is exported and the classic one left out. Desktop version 6
// leaves Access databases (.mdb) there instead, which are found to be named. Names are compared
// without regard to letter case, as the desktop's own file system does; what a file holds is
// told by its content, as for a single export. Nothing here writes.

// Which of a kind's files an archive is: its exports are named after it, so that the exports
// of the three never meet.
enum class ArchiveSort {
  kLive,         // Datebook.dat, Address.dat, ToDo.dat, MemoPad.dat: no suffix
  kArchiveFile,  // .dba .aba .tda .mpa: "-archive" (and the category's name, see namedAfter)
  kHandheld,     // a handheld database: "-handheld"
};

// One archive found, and where its exports go.
struct FoundArchive {
  std::string path;       // the file, the folder's path joined with the names found
  std::string shownName;  // relative to the folder exported ("datebook/Datebook.dat")
  InputKind input;        // as the content tells
  ArchiveSort sort = ArchiveSort::kLive;
  std::string outputFolder;  // the output folder, or a user's folder inside it
  std::string outputPrefix;  // how outputs are named in the summary: "" or "User/"
  // An archive file the desktop named after the category its records were archived from
  // (Business.DBA): that name, safe for a file name, ends its exports' names
  // ("calendar-archive-Business.ics"). Empty for the kind's own name (Datebook.dba).
  std::string namedAfter;
  // Not empty: an archive found earlier whose exports have the same names; this one is left
  // out. A kind folder is looked in before the user folder itself.
  std::string duplicateOf;
  // Not empty: a classic handheld database beside a later one of the same kind (as shown),
  // which the later handheld keeps as a compatibility copy of it; this one is left out.
  std::string compatibilityCopyOf;
  // For a compatibility copy: how many of its unique ids the later database lacks.
  std::int64_t idsOnlyHere = 0;
};

// The records `found` holds for its exports (the later desktop layout's date book and to-do
// list included): none for a file this tool does not read.
std::optional<archive::RecordKind> exportKind(const FoundArchive& found);

// Everything found under a folder.
struct FolderLayout {
  std::vector<FoundArchive> archives;
  std::vector<std::string> kindFolders;  // every kind folder seen, the users' ones too
  std::vector<std::string> lookedIn;     // every folder looked in, in order
  std::string error;                     // the folder itself could not be read
  // Folders inside it that could not be read, with the system's reason ("memopad/: Permission
  // denied"), in the order they were met.
  std::vector<std::string> unreadable;
};

// Finds the archives in `folder` and its kind folders. When there are none, every other folder
// in it that holds some is taken for a user's folder, whose exports go to a folder of the same
// name in `outputFolder`.
FolderLayout findArchives(files::ExportFiles& files, const std::string& folder,
                          const std::string& outputFolder);

// The output folder when none is given: the folder's name with "-export", beside it.
std::string defaultOutputFolder(files::ExportFiles& files, const std::string& folder);

// Why `outputFolder` cannot take the exports of `folder`: it is the folder itself, or lies in
// one of the kind folders of `layout`. Nothing when it can.
std::optional<std::string> refuseOutputFolder(files::ExportFiles& files, const std::string& folder,
                                              const std::string& outputFolder,
                                              const FolderLayout& layout);

// The names of the exports of `kind` from an archive of `sort`, named after `namedAfter` when
// given (FoundArchive::namedAfter): the calendar, contacts or to-dos file, or the memo folder
// ("calendar.ics", "contacts-archive.vcf", "memos-handheld", "todos-archive-Business.ics").
std::string exportName(archive::RecordKind kind, ArchiveSort sort,
                       std::string_view namedAfter = {});
// The journal CSV of a date book of `sort` ("journal.csv", "journal-archive-Business.csv").
std::string journalExportName(ArchiveSort sort, std::string_view namedAfter = {});

// True when `name` is that of a kind folder (datebook, address, todo, memopad; any letter case).
bool isKindFolderName(std::string_view name);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_FOLDER_LAYOUT_H_
