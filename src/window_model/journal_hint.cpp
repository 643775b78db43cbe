#include "window_model/journal_hint.h"

#include "archive/text_converter.h"
#include "export/journal_listing.h"
#include "export/run_steps.h"
#include "journal/journal_selection.h"

namespace vessory::window_model {

namespace {

std::string heldJournals(files::ExportFiles& files, const std::string& journalText,
                         const std::string& archivePath) {
  exporting::JournalListing listing(files);
  listing.convertToUtf8From(std::string(archive::kDefaultArchiveCharset));
  // Nothing shown: the export that ran just before has said what is wrong with the archive.
  exporting::QuietListingView view(archivePath);
  listing.run(view);
  const auto& found = listing.candidates();
  std::string text =
      "No journal entries were found under \"" + journal::typedJournalName(journalText) + "\"";
  if (found.empty()) return text + ", and no entry of this date book has a note.";
  text += ". This date book keeps notes under these descriptions, the most used first: ";
  for (std::size_t i = 0; i < found.size() && i < kHintedJournals; ++i) {
    text += (i ? ", \"" : "\"") + found[i].description + "\" (" +
            exporting::countOf(found[i].count, "entry", "entries") + ")";
  }
  if (found.size() > kHintedJournals) {
    text += " and " + std::to_string(found.size() - kHintedJournals) + " more";
  }
  return text + ". Type the one your journal was kept under into \"Name of Journals\" and " +
         "export again.";
}

}  // namespace

std::string withHeldJournals(const std::string& message, files::ExportFiles& files,
                             const std::string& journalText, const std::string& archivePath) {
  const std::string consoleHint = exporting::noEntriesHint(journalText, archivePath);
  const std::size_t at = message.find(consoleHint);
  if (at == std::string::npos) return message;
  std::string shown = message;
  shown.replace(at, consoleHint.size(), heldJournals(files, journalText, archivePath));
  return shown;
}

}  // namespace vessory::window_model
