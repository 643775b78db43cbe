#include "export/output_place.h"

namespace vessory::exporting {

OutputPlace outputPlace(ExportOutcome outcome, bool earlier) {
  if (!earlier) return OutputPlace::kOwnName;
  if (outcome == ExportOutcome::kEndRequested) return OutputPlace::kEarlierKept;
  return endedInDamage(outcome) ? OutputPlace::kBeside : OutputPlace::kOwnName;
}

std::string damagedArchivePath(std::string_view path, bool folder) {
  static constexpr std::string_view kMark = " (damaged archive)";
  const std::size_t nameStart = path.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = path.rfind('.');
  // A name that starts with its only dot has no extension to keep after the mark.
  const std::size_t at =
      folder || dot == std::string_view::npos || dot <= nameStart ? path.size() : dot;
  std::string beside(path.substr(0, at));
  beside += kMark;
  beside += path.substr(at);
  return beside;
}

std::string besideEarlierText(const std::string& earlierName) {
  return "The archive is damaged: the earlier " + earlierName +
         " was left as it was, and this export was written beside it.";
}

std::string stoppedText(std::int64_t recordsRead, const std::string& outputName, bool earlierKept) {
  const std::string read = std::to_string(recordsRead) + " records read";
  if (earlierKept) {
    return "Stopped after " + read + ": the earlier " + outputName +
           " was left as it was, and the part exported was not kept";
  }
  return "Stopped: the " + read + " before that point have been kept in " + outputName;
}

}  // namespace vessory::exporting
