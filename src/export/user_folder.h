#ifndef VESSORY_EXPORT_USER_FOLDER_H_
#define VESSORY_EXPORT_USER_FOLDER_H_

#include <string>

#include "files/export_files.h"

namespace vessory::exporting {

// The user folder that a folder belongs to, as a front end offers the export of a whole user
// folder: the folder itself, or the folder above it when it is a kind folder (datebook/,
// address/, todo/, memopad/, in any letter case). Separators at the end are ignored; a root
// has no folder above it and is its own user folder.
std::string userFolderOf(const std::string& folder);

// Where a user folder holds archives this tool reads (see folder_layout.h): in the folder
// itself, or in one of its kind folders. Archives of other users' folders below it do not count.
struct UserFolderArchives {
  bool inFolder = false;
  bool inKindFolder = false;
  bool any() const { return inFolder || inKindFolder; }
};
UserFolderArchives userFolderArchives(files::ExportFiles& files, const std::string& folder);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_USER_FOLDER_H_
