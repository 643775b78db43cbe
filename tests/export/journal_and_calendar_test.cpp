#include "export/journal_and_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/run_steps.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/later_builder.h"

namespace vessory::testing {
namespace {

const std::string kFolder = "C:\\Palm\\User\\datebook";
const std::string kCsvPath = kFolder + exporting::pathSeparator() + "datebook.csv";
const std::string kCalendarPath = kFolder + exporting::pathSeparator() + "datebook.ics";

// A view that can ask for the end of the program when a message is shown, as a user closing
// the window over a warning does.
struct EndingView : RecordingView {
  bool endOnMessage = false;
  void showMessage(const std::string& text) override {
    RecordingView::showMessage(text);
    if (endOnMessage) endWanted = true;
  }
};

std::string withBrokenSecond() {
  RecordPlan broken = journalRecord("9:00: never");
  broken.rawNote = std::string("\xFF\x00\x00\x02\x00", 5);
  return ArchiveBuilder().archive({journalRecord("9:00: kept"), broken}).bytes();
}

std::string cutInSecond() {
  const ArchiveBuilder built =
      ArchiveBuilder().archive({journalRecord("9:00: kept"), journalRecord("9:00: cut")});
  return built.truncated(built.size() - 3);
}

std::string noEntryCut() {
  const ArchiveBuilder built = ArchiveBuilder().archive(
      {journalRecord("9:00: x", 1018137600, "Dentist"), journalRecord("9:00: y", 1018137600, "Cut")});
  return built.truncated(built.size() - 3);
}

// A later handheld's Calendar whose second record ends in a byte that is no whole part.
std::string calendarWithTail() {
  EventPlan journal;
  journal.description = "Daily Journal";
  journal.note = "9:00: x";
  const PdbBytes bytes = buildPdb(laterPdb(
      "PDat", {{calendarRecord(journal, "Room"), 0x40, 1, std::nullopt}, {calendarRecord(journal, "Hall", {0x42}), 0x40, 2, std::nullopt}}));
  return std::string(bytes.begin(), bytes.end());
}

long countContaining(const std::vector<std::string>& messages, const std::string& part) {
  return std::count_if(messages.begin(), messages.end(), [&](const std::string& m) {
    return m.find(part) != std::string::npos;
  });
}

// A setUp that puts `later` in the archive's place once the journal part has read it: the
// calendar part, which opens the archive anew, reads another file (a sync writing it meanwhile).
std::function<void(MemoryFiles&, EndingView&)> replacedBetweenParts(const std::string& later) {
  return [later](MemoryFiles& f, EndingView& v) {
    v.onEvents = [&f, later](RecordingView& view) {
      if (std::count(view.events.begin(), view.events.end(), "record: 1") == 1) {
        f.archives[view.inputPath()] = later;
      }
    };
  };
}

// One press of Export with the calendar: the calendar is begun only after a journal read to its
// end, the archive's warning is shown once, the final message names what exists and says
// "All Done!" only when both parts are whole, and the program ends as after the journal alone.
TEST(JournalAndCalendarRunTest, TheCalendarFollowsAWholeReadingAndTheFinalMessageTellsBoth) {
  const std::string whole = ArchiveBuilder().archive({journalRecord("9:00: x")}).bytes();
  const struct {
    const char* name;
    std::string bytes;
    std::function<void(MemoryFiles&, EndingView&)> setUp;
    bool csv, calendar, ended;
    std::string finalStart;                  // how the last message starts
    std::vector<std::string> once;           // texts shown exactly once over every message
  } rows[] = {
      {"whole", whole, nullptr, true, true, true,
       std::string(exporting::kAllDone) + exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n",
       {kCalendarPath}},
      {"ended early", cutInSecond(), nullptr, true, true, true,
       exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n" + exporting::kEventsBeforeDamage,
       {exporting::kEndedEarlyWarning, kCalendarPath}},
      {"data after the end", whole + "Z", nullptr, true, true, true,
       exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n",
       {exporting::kDataAfterEndMessage, kCalendarPath}},
      {"no entry", ArchiveBuilder().archive({journalRecord("9:00: x", 1018137600, "Dentist")}).bytes(),
       nullptr, false, true, true, exporting::kAllDone, {kCalendarPath}},
      {"calendar not created", whole,
       [](MemoryFiles& f, EndingView&) { f.uncreatable[kCalendarPath] = "Permission denied"; },
       true, false, true, exporting::kJournalsPlaced + kCsvPath, {"Permission denied"}},
      {"end asked over the warning", cutInSecond(),
       [](MemoryFiles&, EndingView& v) { v.endOnMessage = true; }, true, false, false,
       exporting::kEndedEarlyWarning, {exporting::kEndedEarlyWarning}},
      {"sequencing error", withBrokenSecond(), nullptr, true, false, true, "", {}},
      {"no entry in an archive that ends early", noEntryCut(), nullptr, false, true, true,
       exporting::noEntriesHint(EndingView().journalNameText(), EndingView().inputPath()),
       {exporting::kEndedEarlyWarning, exporting::kEventsBeforeDamage}},
      // Read whole, but not every byte: the journal's count of such records is not repeated.
      {"a handheld record with an unread tail", calendarWithTail(), nullptr, true, true, true,
       exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n", {"ends in bytes that are no whole part"}},
      // The file changed between the parts: the calendar's own ending is told in full.
      {"cut short between the parts", whole, replacedBetweenParts(cutInSecond()), true, true, true,
       exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n" + exporting::kEndedEarlyWarning,
       {exporting::kEndedEarlyWarning, exporting::kEventsBeforeDamage}},
      {"data added between the parts", whole, replacedBetweenParts(whole + "Z"), true, true,
       true, exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n" + exporting::kDataAfterEndMessage,
       {exporting::kDataAfterEndMessage}},
      {"broken between the parts", whole, replacedBetweenParts(withBrokenSecond()), true, true,
       true, exporting::kJournalsPlaced + kCsvPath + "\r\n\r\n" + exporting::kEventsBeforeDamage,
       {exporting::kEventsBeforeDamage}},
      {"not a date book", "hello", nullptr, false, false, false,
       EndingView().inputPath() + " is Not a Datebook DB file", {}},
      {"journal not created", whole,
       [](MemoryFiles& f, EndingView&) { f.uncreatable[kCsvPath] = "Permission denied"; }, false,
       false, false, "Cannot create " + kCsvPath, {}},
      {"reading fails in the journal", cutInSecond(),
       [](MemoryFiles& f, EndingView& v) { f.failReadsAfter[v.inputPath()] = 200; }, true, false,
       true, "Cannot read ", {}},
      // The user's end while the calendar is written: it keeps what it wrote and says nothing.
      {"end asked in the calendar",
       ArchiveBuilder()
           .archive({journalRecord("9:00: x"), journalRecord("9:00: y"), journalRecord("9:00: z")})
           .bytes(),
       [](MemoryFiles&, EndingView& v) {
         v.onEvents = [](RecordingView& view) {
           // The second part's second record: the calendar has begun.
           if (std::count(view.events.begin(), view.events.end(), "record: 2") == 2) {
             view.endWanted = true;
           }
         };
       },
       true, true, false, "", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    EndingView view;
    files.archives[view.inputPath()] = row.bytes;
    if (row.setUp) row.setUp(files, view);
    exporting::JournalAndCalendarRun run(files);
    run.run(view);

    EXPECT_EQ(files.created(kCsvPath), row.csv);
    EXPECT_EQ(files.created(kCalendarPath), row.calendar);
    EXPECT_EQ(view.ended, row.ended);
    EXPECT_FALSE(run.running());
    if (!row.finalStart.empty()) {
      ASSERT_FALSE(view.messages.empty());
      EXPECT_EQ(view.messages.back().rfind(row.finalStart, 0), 0u) << view.messages.back();
    }
    for (const std::string& text : row.once) EXPECT_EQ(countContaining(view.messages, text), 1) << text;
    if (row.finalStart.rfind(exporting::kAllDone, 0) != 0) {
      EXPECT_EQ(countContaining(view.messages, exporting::kAllDone), 0);
    }
  }
}

}  // namespace
}  // namespace vessory::testing
