#include "export/folder_notes.h"

#include "archive/organiser_archive.h"
#include "export/folder_summary.h"
#include "export/record_overlap.h"

namespace vessory::exporting {

// A desktop file of a later version that is named but not read.
bool namedNotRead(const FoundArchive& found) {
  return found.input.container == Container::kDesktop && archive::namedNotRead(found.input.desktop);
}

// The outputs of `found`, in the order of its parts, as the summary names them: none for an
// archive left out or not read.
std::vector<std::string> plannedOutputs(const FoundArchive& found) {
  const std::optional<archive::RecordKind> kind = exportKind(found);
  if (!kind || namedNotRead(found) || !found.duplicateOf.empty() ||
      !found.compatibilityCopyOf.empty()) {
    return {};
  }
  if (*kind == archive::RecordKind::kDatebook) {
    return {found.outputPrefix + exportName(*kind, found.sort, found.namedAfter),
            found.outputPrefix + journalExportName(found.sort, found.namedAfter)};
  }
  const std::string folder(*kind == archive::RecordKind::kMemo ? 1 : 0, pathSeparator());
  return {found.outputPrefix + exportName(*kind, found.sort, found.namedAfter) + folder};
}

// Notes the outputs of `found` a stop left unstarted (all of them when `report` is null), and
// whether an earlier export's file of that name is there, so that the guide can tell of it.
void noteUntouched(files::ExportFiles& files, const FoundArchive& found,
                   const ArchiveReport* report, FolderResult& result) {
  const std::vector<std::string> planned = plannedOutputs(found);
  for (std::size_t i = 0; i < planned.size(); ++i) {
    if (report != nullptr && (i >= report->parts.size() || !report->parts[i].output.empty() ||
                              report->parts[i].outcome != ExportOutcome::kEndRequested)) {
      continue;
    }
    std::string name = planned[i].substr(found.outputPrefix.size());
    if (name.back() == pathSeparator()) name.pop_back();
    const std::string path = joinPath(found.outputFolder, name);
    result.untouched.push_back(
        {planned[i], found.shownName, files.fileExists(path) || files.folderExists(path)});
  }
}

namespace {

bool wroteFirstPart(const ArchiveReport& report) {
  return !report.parts.empty() && !report.parts[0].output.empty();
}

}  // namespace

// Notes on each handheld database's export the export of the same user's desktop file of its
// kind, which holds most of the same records, and how many of the handheld's records it lacks.
// `result` holds the reports of the archives of `layout`, in its order.
void noteSharedRecords(files::ExportFiles& files, const std::vector<FoundArchive>& archives,
                       bool includeDeleted, FolderResult& result) {
  for (std::size_t h = 0; h < result.archives.size(); ++h) {
    const FoundArchive& handheld = archives[h];
    if (handheld.sort != ArchiveSort::kHandheld || !wroteFirstPart(result.archives[h])) continue;
    for (std::size_t d = 0; d < result.archives.size(); ++d) {
      const FoundArchive& desktop = archives[d];
      if (desktop.sort != ArchiveSort::kLive || desktop.outputFolder != handheld.outputFolder ||
          desktop.input.records != handheld.input.records || !wroteFirstPart(result.archives[d])) {
        continue;
      }
      const auto desktopIds = exportedRecordIds(files, desktop, includeDeleted);
      const auto handheldIds = exportedRecordIds(files, handheld, includeDeleted);
      if (!desktopIds || !handheldIds) break;
      const std::int64_t onlyHere = idsMissingFrom(*desktopIds, *handheldIds);
      // Files that share no record (another handheld's, say) are two sets to import.
      const auto total = static_cast<std::int64_t>(handheldIds->size());
      if (onlyHere == total) break;
      ArchiveReport& report = result.archives[h];
      report.sameRecordsAs = result.archives[d].parts[0].output;
      report.recordsOnlyHere = onlyHere;
      report.note = sharedRecordsNote(report, total);
      break;
    }
  }
}
}  // namespace vessory::exporting
