#ifndef VESSORY_EXPORT_RECORD_OVERLAP_H_
#define VESSORY_EXPORT_RECORD_OVERLAP_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "export/folder_layout.h"
#include "files/export_files.h"

namespace vessory::exporting {

// A user's desktop file and the handheld's database of the same kind hold mostly the same
// records: a sync copies each record both ways and keeps its record id. Their exports give the
// records different UIDs, so that importing both doubles them. What is counted here is what the
// handheld's export adds: its records whose id the desktop's export lacks. Nothing here writes.

// The record ids an export of `found` writes, in the order read: every record read whole,
// those deleted (on the desktop, or deleted or archived on the handheld) only with
// `includeDeleted`. Nothing when the file cannot be read to its records. Reads the file through
// `files` without a word: the export itself reports its damage.
std::optional<std::vector<std::int64_t>> exportedRecordIds(files::ExportFiles& files,
                                                           const FoundArchive& found,
                                                           bool includeDeleted);

// How many of `handheld` are not in `desktop`.
std::int64_t idsMissingFrom(const std::vector<std::int64_t>& desktop,
                            const std::vector<std::int64_t>& handheld);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_RECORD_OVERLAP_H_
