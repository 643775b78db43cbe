#ifndef VESSORY_WINDOW_MODEL_FOLDER_ENTRIES_H_
#define VESSORY_WINDOW_MODEL_FOLDER_ENTRIES_H_

#include <string>
#include <vector>

#include "window_model/start_folder.h"

namespace vessory::window_model {

// One line of the folder list: a folder of the current path, or a subfolder of the current
// folder, indented by its depth below the root.
struct FolderEntry {
  std::string path;  // what opening the entry moves to
  std::string name;  // what the line shows: the root as it is written, else the folder's name
  int depth = 0;
  bool open = false;  // a folder of the current path (the current folder is the last of them)
};

// The lines the classic folder list shows for `folder`: the root, each folder of the path down
// to `folder`, open, then the `subfolders` of `folder` (full paths, in the order given) one
// level deeper. Windows paths take "\" and "/" as separators and keep a drive ("C:\") or share
// ("\\server\share\") as their root; elsewhere the root is "/". A trailing separator is ignored.
std::vector<FolderEntry> folderEntries(Platform platform, const std::string& folder,
                                       const std::vector<std::string>& subfolders);

// The root among `roots` (drive roots, mounted volumes) that holds `path`: the longest one that
// `path` is or lies inside ("/media/usb" holds "/media/usb/a", not "/media/usbx"), or that
// `path` names without its separator ("c:"); letter case aside on Windows. Empty when none does.
std::string driveHolding(Platform platform, const std::string& path,
                         const std::vector<std::string>& roots);

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_FOLDER_ENTRIES_H_
