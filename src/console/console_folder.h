#ifndef VESSORY_CONSOLE_CONSOLE_FOLDER_H_
#define VESSORY_CONSOLE_CONSOLE_FOLDER_H_

#include <cstdio>

#include "console/console_options.h"
#include "export/folder_export.h"
#include "files/export_files.h"

namespace vessory::console {

// vessory-export --all: exports every archive of the folder the options name (see
// export/folder_export.h) and prints on `err` one progress line per archive when
// `showProgress` is set, the details when asked for, and the summary, one line per archive.
// Returns the exit status: 2 for a refused output folder or an unknown zone or character set,
// 3 when no archive was found or the output folder could not be made, 128 + the signal's number
// when a stop signal ended it part-way (the summary then says what was kept and what was not
// started), otherwise the worst of the exports' statuses. The options must have been parsed with
// --all.
//
// `hooks` are for a front end built over this one (the web page's core): a view that is told of
// the run's progress and asked between records, and the journal's daily notes left out.
struct FolderHooks {
  exporting::FolderView* watcher = nullptr;  // borrowed for the call
  bool dailyNotes = true;
};
int exportFolder(const ConsoleOptions& options, files::ExportFiles& files, std::FILE* err,
                 bool showProgress, const FolderHooks& hooks = {});

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONSOLE_FOLDER_H_
