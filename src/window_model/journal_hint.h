#ifndef VESSORY_WINDOW_MODEL_JOURNAL_HINT_H_
#define VESSORY_WINDOW_MODEL_JOURNAL_HINT_H_

#include <string>

#include "files/export_files.h"

namespace vessory::window_model {

// How many descriptions the window's hint names at most.
inline constexpr std::size_t kHintedJournals = 8;

// `message` with the console's hint after a journal export that found no entry (which tells to
// run the console tool's journal listing) replaced by the window's own: the descriptions with a
// note that the date book at `archivePath` holds, most used first, to type into "Name of
// Journals". Any other message is returned as it is. Reads the archive again, quietly; its
// descriptions are shown in UTF-8 converted from the archives' usual character set.
std::string withHeldJournals(const std::string& message, files::ExportFiles& files,
                             const std::string& journalText, const std::string& archivePath);

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_JOURNAL_HINT_H_
