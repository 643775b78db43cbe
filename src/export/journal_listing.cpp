#include "export/journal_listing.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

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

// The records under one journal name, and each spelling of it (the same letters in other
// cases) with its own count, in the order first read.
struct NameTally {
  std::int64_t count = 0;
  std::vector<std::pair<std::string, std::int64_t>> spellings;

  void add(std::string_view spelling) {
    ++count;
    for (auto& [text, times] : spellings) {
      if (text == spelling) {
        ++times;
        return;
      }
    }
    spellings.emplace_back(spelling, 1);
  }
  // The spelling most records carry; of equals, the first read.
  const std::string& shown() const {
    const auto* best = &spellings.front();
    for (const auto& spelling : spellings) {
      if (spelling.second > best->second) best = &spelling;
    }
    return best->first;
  }
};

// Keyed by the journal name a description matches (lower case, blanks trimmed).
using NameTallies = std::unordered_map<std::string, NameTally>;

// Reads every record, counting the descriptions; how the reading stopped early, if it did.
std::optional<ExportOutcome> countDescriptions(ExportView& view, EventSource& source,
                                               NameTallies& tallies) {
  archive::EventRecord record;
  return readRecords(view, source, record,
                     [&](std::int64_t, archive::EventRecord& read,
                         RecordRead how) -> std::optional<ExportOutcome> {
                       // A record the archive ran out in holds a cut description, or an
                       // earlier record's: it names no journal.
                       if (how == RecordRead::kWhole && hasNote(read) &&
                           !read.repeat.isRepeating) {
                         const std::string_view trimmed = journal::trimBlanks(read.description);
                         tallies[journal::lowerCase(trimmed)].add(trimmed);
                       }
                       return std::nullopt;
                     });
}

// Most records first; of equals, in byte order of the name matched, whatever the spelling.
std::vector<JournalCandidate> candidatesOf(const NameTallies& tallies) {
  std::vector<NameTallies::const_pointer> order;
  order.reserve(tallies.size());
  for (const auto& entry : tallies) order.push_back(&entry);
  std::sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    return a->second.count != b->second.count ? a->second.count > b->second.count
                                              : a->first < b->first;
  });
  std::vector<JournalCandidate> candidates;
  candidates.reserve(order.size());
  for (const auto* entry : order)
    candidates.push_back({entry->second.count, entry->second.shown()});
  return candidates;
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
  NameTallies tallies;
  std::optional<ExportOutcome> stopped = countDescriptions(view, source, tallies);
  const ExportOutcome outcome = closingOutcome(true, stopped, source);
  reportEnd(view, outcome, path, source.readError());
  candidates_ = candidatesOf(tallies);
  if (toUtf8) {
    for (JournalCandidate& candidate : candidates_) {
      candidate.description = toUtf8->toUtf8(candidate.description);
    }
  }
  return outcome;
}

}  // namespace vessory::exporting
