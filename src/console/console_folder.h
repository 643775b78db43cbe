#ifndef VESSORY_CONSOLE_CONSOLE_FOLDER_H_
#define VESSORY_CONSOLE_CONSOLE_FOLDER_H_

#include <cstdio>

#include "console/console_options.h"
#include "files/export_files.h"

namespace vessory::console {

// vessory-export --all: exports every archive of the folder the options name (see
// export/folder_export.h) and prints on `err` one progress line per archive when
// `showProgress` is set, the details when asked for, and the summary, one line per archive.
// Returns the exit status: 2 for a refused output folder or an unknown zone or character set,
// 3 when no archive was found or the output folder could not be made, otherwise the worst of
// the exports' statuses. The options must have been parsed with --all.
int exportFolder(const ConsoleOptions& options, files::ExportFiles& files, std::FILE* err,
                 bool showProgress);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONSOLE_FOLDER_H_
