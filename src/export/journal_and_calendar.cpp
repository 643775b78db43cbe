#include "export/journal_and_calendar.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "export/output_place.h"

namespace vessory::exporting {

namespace {

// The window's view for both parts, passing everything on (the journal part reads its options
// from the window itself), except that in the calendar part a
// message the journal part has shown already is dropped: both parts read the same archive, and
// its damage is worth one message, not two.
class OncePerArchiveView : public ExportView {
 public:
  explicit OncePerArchiveView(ExportView& window) : window_(window) {}

  void startCalendarPart() { calendarPart_ = true; }

  void showMessage(const std::string& text) override {
    if (calendarPart_ && journalMessages_.count(text) != 0) return;
    if (!calendarPart_) journalMessages_.insert(text);
    window_.showMessage(text);
  }

  std::string inputPath() override { return window_.inputPath(); }
  int showDetailsValue() override { return window_.showDetailsValue(); }
  void showTotalRecords(const std::string& text) override { window_.showTotalRecords(text); }
  void showThisRecord(const std::string& text) override { window_.showThisRecord(text); }
  void showJournalsFound(const std::string& text) override { window_.showJournalsFound(text); }
  void showEventsWritten(const std::string& text) override { window_.showEventsWritten(text); }
  void showDateTime(const std::string& text) override { window_.showDateTime(text); }
  void setDescriptionBackColor(std::uint32_t color) override {
    window_.setDescriptionBackColor(color);
  }
  void showDescription(const std::string& text) override { window_.showDescription(text); }
  void processPendingEvents() override { window_.processPendingEvents(); }
  void endProgram() override { window_.endProgram(); }
  bool endRequested() override { return window_.endRequested(); }

 private:
  ExportView& window_;
  std::set<std::string> journalMessages_;
  bool calendarPart_ = false;
};

// The warning the journal export alone shows for an archive read to its end but not whole.
// `hint`, when not empty, stands where the CSV would be named: no entry was found, none made.
std::optional<std::string> journalWarning(ExportOutcome journal, const std::string& csvName,
                                          const std::string& hint) {
  if (journal == ExportOutcome::kEndedEarly)
    return kEndedEarlyWarning + (kParagraph + (hint.empty() ? kJournalsBeforeDamage + csvName : hint));
  if (journal == ExportOutcome::kDataAfterEnd) return std::string(kDataAfterEndMessage);
  return std::nullopt;
}

// What the final message says of the calendar, without the archive warning when the journal
// part has just shown the same one. Nothing for the failures the calendar run reports itself
// and for the user's end.
std::optional<std::string> calendarPart(ExportOutcome calendar, const CalendarTally& tally,
                                        bool warnedAlready) {
  const std::string summary = calendarSummary(tally);
  switch (calendar) {
    case ExportOutcome::kComplete:
    case ExportOutcome::kUnreadTails:  // the source has said how many records ended so
      return summary;
    case ExportOutcome::kEndedEarly:
      return (warnedAlready ? std::string() : kEndedEarlyWarning + std::string(kParagraph)) +
             (kEventsBeforeDamage + summary);
    case ExportOutcome::kDataAfterEnd:
      if (warnedAlready) return summary;
      return kDataAfterEndMessage + (kParagraph + summary);
    case ExportOutcome::kSequencingError:  // the reader has said why it stopped
      return kEventsBeforeDamage + summary;
    default:
      return std::nullopt;
  }
}

// The calendar part and the end of the press, once the journal part has ended as `journal`.
void exportCalendar(ExportView& window, OncePerArchiveView& relay, files::ExportFiles& files,
                    ExportOutcome journal, const std::string& csvName, const std::string& hint) {
  if (std::optional<std::string> warning = journalWarning(journal, csvName, hint)) {
    window.showMessage(*warning);
  }
  // The user may have ended the program while the warning was up: no calendar is begun then.
  if (window.endRequested()) return;
  relay.startCalendarPart();
  // The system's zone and the default character set; the run ends nothing itself.
  CalendarRun calendarRun(files, CalendarSettings{}, /*endsProgram=*/false);
  const ExportOutcome calendar = calendarRun.run(relay);
  if (calendar == ExportOutcome::kEndRequested) return;
  const bool bothComplete =
      journal == ExportOutcome::kComplete && calendar == ExportOutcome::kComplete;
  std::string text = (bothComplete ? kAllDone : "") + (hint.empty() ? kJournalsPlaced + csvName : hint);
  if (std::optional<std::string> part =
          calendarPart(calendar, calendarRun.tally(), /*warnedAlready=*/journal == calendar)) {
    text += kParagraph + *part;
  }
  window.showMessage(text);
  window.endProgram();
}

// The words on an earlier CSV that a damaged archive's went beside, after a paragraph; empty for
// none.
std::string besideText(const ExportRun& journal) {
  if (journal.earlierCsvName().empty()) return {};
  return kParagraph + besideEarlierText(journal.earlierCsvName());
}

}  // namespace

// The files of both parts that an earlier press left beside the archive, as messages name them.
std::vector<std::string> JournalAndCalendarRun::earlierOutputs(JournalView& view) {
  std::vector<std::string> there;
  for (const std::string& path : {journal_.csvPath(), calendarPathFor(view.inputPath())}) {
    if (files_.fileExists(path)) there.push_back(files_.displayName(path));
  }
  return there;
}

JournalAndCalendarRun::JournalAndCalendarRun(files::ExportFiles& files) : files_(files), journal_(files) {
  journal_.leaveEndToCaller();
  journal_.keepEarlierWithoutEntries();
}

void JournalAndCalendarRun::run(JournalView& view) {
  if (running_) return;
  running_ = true;
  const ClearOnExit clear{running_};

  OncePerArchiveView relay(view);
  const ExportOutcome journal = journal_.run(relay, view);
  switch (journal) {
    case ExportOutcome::kComplete:
    case ExportOutcome::kEndedEarly:
    case ExportOutcome::kDataAfterEnd:
    case ExportOutcome::kUnreadTails:
      exportCalendar(view, relay, files_, journal,
                     journal_.csvName() + besideText(journal_) + journal_.notesMessage(),
                     journal_.rowsWritten() == 0
                         ? noEntriesHint(view.journalNameText(), view.inputPath())
                         : std::string());
      return;
    case ExportOutcome::kSequencingError:
    case ExportOutcome::kCannotWrite:
    case ExportOutcome::kCannotRead:
      // Stopped part-way, and already said why: the program ends as after the journal alone.
      view.endProgram();
      return;
    case ExportOutcome::kNothingRead:
      // The calendar would read the same damaged bytes: neither file is begun, and earlier
      // ones stay as they were.
      view.showMessage(nothingReadMessage(*journal_.nothingRead(), earlierOutputs(view)));
      view.endProgram();
      return;
    default:  // nothing exported, or the user's end: as after the journal alone
      return;
  }
}

}  // namespace vessory::exporting
