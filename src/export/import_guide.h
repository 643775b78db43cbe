#ifndef VESSORY_EXPORT_IMPORT_GUIDE_H_
#define VESSORY_EXPORT_IMPORT_GUIDE_H_

#include <string>
#include <string_view>
#include <vector>

#include "export/folder_export.h"

namespace vessory::exporting {

// The file an export of a whole user folder leaves in its output folder beside what it wrote.
inline constexpr char kImportGuideName[] = "How to import.txt";

// The text of that file: after a stop, first what the stop left (the files finished, the one
// holding only the records before it, those not started and which of their names an earlier
// export left in the folder); then, when writing failed (a full disk), the summary's line of each
// archive with a file not written or not whole; then for every output the reports name (a part with
// an output) its name as the summary gives it, what it came from with the summary's counts, its
// character set and a few lines on bringing it into the address books, calendars, task lists,
// spreadsheets and note apps people use; then the same for each earlier export a stop left in
// place. Outputs are told apart by the names the folder export gives them (calendar*, journal*,
// contacts*, todos*, memos*). Lines end in `lineEnd`; the text is UTF-8 (plain ASCII but for the
// names, which are passed through as they are). Empty when no file is there to describe.
std::string importGuide(const FolderResult& result, std::string_view lineEnd);

// The line end of text files people open on this platform: CR LF on Windows, LF elsewhere.
std::string_view textLineEnd();

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_IMPORT_GUIDE_H_
