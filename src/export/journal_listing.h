#ifndef VESSORY_EXPORT_JOURNAL_LISTING_H_
#define VESSORY_EXPORT_JOURNAL_LISTING_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/export_view.h"
#include "export/run_steps.h"
#include "files/export_files.h"

namespace vessory::exporting {

// One description that could name a journal, and how many records carry it.
struct JournalCandidate {
  std::int64_t count = 0;
  // As the archive holds it, outer blanks off (the match ignores them). Descriptions that
  // differ only in case name one journal and are counted together, shown as most records
  // spell it.
  std::string description;
};

// Finds the journals an archive holds, for a user who does not know what the journal was kept
// under: every description of a non-repeating event with a note (the reader's empty-string
// marker is no note), counted as the journal selection matches them (case-blind), most
// frequent first and ties in byte order of the lower-cased description.
// Reads the archive as an export does, with the same messages and ending, but writes no file
// and leaves the program running. The listing borrows `files`, which must outlive it.
class JournalListing {
 public:
  explicit JournalListing(files::ExportFiles& files) : files_(files) {}

  // Descriptions are shown converted from `charset` to UTF-8; as read when none is given.
  void convertToUtf8From(std::string charset) { utf8From_ = std::move(charset); }

  ExportOutcome run(ExportView& view);
  // The candidates found by the last run, in order; those read before a damage, too.
  const std::vector<JournalCandidate>& candidates() const { return candidates_; }

 private:
  files::ExportFiles& files_;
  std::optional<std::string> utf8From_;
  std::vector<JournalCandidate> candidates_;
};

// The view of a listing run for a front end that only wants its candidates: the archive at
// `path`, nothing shown, messages dropped (an export of the same archive reports its damage).
class QuietListingView : public UnshownView<ExportView> {
 public:
  explicit QuietListingView(std::string path) : path_(std::move(path)) {}
  std::string inputPath() override { return path_; }
  int showDetailsValue() override { return kUnchecked; }

 private:
  std::string path_;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_JOURNAL_LISTING_H_
