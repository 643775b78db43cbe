#include "export/journal_listing.h"

#include <algorithm>
#include <unordered_map>

#include "archive/event_record.h"
#include "archive/format.h"
#include "archive/text_converter.h"
#include "export/datebook_source.h"
#include "export/handheld_source.h"
#include "export/record_loop.h"
#include "journal/journal_selection.h"

namespace vessory::exporting {

namespace {

bool hasNote(const archive::EventRecord& record) {
  return !record.note.empty() && record.note != archive::kNullStringMarker;
}

// Reads every record, counting the descriptions; how the reading stopped early, if it did.
std::optional<ExportOutcome> countDescriptions(
    ExportView& view, EventSource& source,
    std::unordered_map<std::string, std::int64_t>& counts) {
  archive::EventRecord record;
  return readRecords(view, source, record,
                     [&](std::int64_t, archive::EventRecord& read,
                         RecordRead how) -> std::optional<ExportOutcome> {
                       // A record the archive ran out in holds a cut description, or an
                       // earlier record's: it names no journal.
                       if (how == RecordRead::kWhole && hasNote(read) &&
                           !read.repeat.isRepeating) {
                         ++counts[journal::lowerCase(journal::trimBlanks(read.description))];
                       }
                       return std::nullopt;
                     });
}

void reportEnd(ExportView& view, ExportOutcome outcome, const std::string& archivePath,
               const std::string& reason) {
  if (outcome == ExportOutcome::kEndedEarly) {
    view.showMessage(kEndedEarlyWarning);
  } else if (outcome == ExportOutcome::kDataAfterEnd) {
    view.showMessage(kDataAfterEndMessage);
  } else if (outcome == ExportOutcome::kCannotRead) {
    view.showMessage("Cannot read " + archivePath + ": " + reason);
  }
}

}  // namespace

ExportOutcome JournalListing::run(ExportView& view) {
  candidates_.clear();
  OptionalConverter openedConverter = openConverter(view, utf8From_);
  if (openedConverter.failure) return *openedConverter.failure;
  std::unique_ptr<archive::TextConverter> toUtf8 = std::move(openedConverter.converter);
  const std::string path = view.inputPath();
  OpenedArchive opened = openSelectedArchive(view, files_, path);
  if (opened.failure) return *opened.failure;
  ViewMessages messages(view);
  std::unique_ptr<EventSource> events = openEventSource(files_, path, *opened.source, messages);
  EventSource& source = *events;
  if (!source.readTag()) {
    return refuseAtTag(view, path, source);
  }
  std::unordered_map<std::string, std::int64_t> counts;
  std::optional<ExportOutcome> stopped = countDescriptions(view, source, counts);
  const ExportOutcome outcome = closingOutcome(true, stopped, source);
  reportEnd(view, outcome, path, source.readError());
  for (auto& [description, count] : counts) candidates_.push_back({count, description});
  std::sort(candidates_.begin(), candidates_.end(), [](const auto& a, const auto& b) {
    return a.count != b.count ? a.count > b.count : a.description < b.description;
  });
  if (toUtf8) {
    for (JournalCandidate& candidate : candidates_) {
      candidate.description = toUtf8->toUtf8(candidate.description);
    }
  }
  return outcome;
}

}  // namespace vessory::exporting
