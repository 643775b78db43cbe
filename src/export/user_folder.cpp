#include "export/user_folder.h"

#include <string_view>

#include "export/export_view.h"
#include "export/folder_layout.h"

namespace vessory::exporting {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string userFolderOf(const std::string& folder) {
  std::string path = folder;
  // A root ("/", "C:\") keeps its separator.
  while (path.size() > 1 && isSeparator(path.back()) && path[path.size() - 2] != ':') {
    path.pop_back();
  }
  const std::size_t last = path.find_last_of("/\\");
  if (last == std::string::npos || last + 1 >= path.size()) return path;
  if (!isKindFolderName(std::string_view(path).substr(last + 1))) return path;
  if (last == 0 || path[last - 1] == ':') return path.substr(0, last + 1);
  return path.substr(0, last);
}

UserFolderArchives userFolderArchives(files::ExportFiles& files, const std::string& folder) {
  UserFolderArchives held;
  for (const FoundArchive& found : findArchives(files, folder, "").archives) {
    // Another user's archives, found below a folder that holds none of its own.
    if (!found.outputPrefix.empty() || !exportKind(found)) continue;
    (found.shownName.find(pathSeparator()) == std::string::npos ? held.inFolder
                                                                : held.inKindFolder) = true;
  }
  return held;
}

}  // namespace vessory::exporting
