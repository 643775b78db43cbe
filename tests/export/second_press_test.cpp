// A press of Export (or of the calendar or listing button) while a run is under way: the
// window lets its events through during a run, so a second press reaches the run again. It
// starts nothing; the run under way ends as it would have.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_and_calendar.h"
#include "export/journal_listing.h"
#include "export/organiser_run.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

// One of the runs: `start` runs it over the view, pressing again from inside, and gives its
// outcome (the journal-and-calendar press gives none: it is taken as complete, and its final
// message tells).
struct RunRow {
  const char* name;
  std::string fileName;
  std::string bytes;
  std::function<ExportOutcome(MemoryFiles&, RecordingView&)> start;
};

TEST(SecondPressTest, EveryRunIgnoresAPressWhileItIsUnderWay) {
  const std::string datebook = ArchiveBuilder()
                                   .archive({journalRecord("9:00: one"), journalRecord("9:00: two")})
                                   .bytes();
  ContactPlan ann;
  ann.lastName = "Ann";
  exporting::OrganiserSettings organiser;
  organiser.zoneName = "UTC";
  exporting::CalendarSettings calendar;
  calendar.zoneName = "UTC";
  // Each row presses again from inside the run's event handling, and once more after it.
  const auto pressTwice = [](auto& run, RecordingView& view) {
    std::vector<ExportOutcome> nested;
    view.onEvents = [&](RecordingView& v) { nested.push_back(run.run(v)); };
    const ExportOutcome outcome = run.run(view);
    view.onEvents = {};
    EXPECT_FALSE(nested.empty());
    EXPECT_EQ(nested, std::vector<ExportOutcome>(nested.size(), ExportOutcome::kAlreadyRunning));
    return outcome;
  };
  const RunRow rows[] = {
      {"journal", "datebook.dat", datebook,
       [&](MemoryFiles& f, RecordingView& v) {
         exporting::ExportRun run(f);
         return pressTwice(run, v);
       }},
      {"calendar", "datebook.dat", datebook,
       [&](MemoryFiles& f, RecordingView& v) {
         exporting::CalendarRun run(f, calendar);
         return pressTwice(run, v);
       }},
      {"contacts", "address.dat", buildAddressArchive({}, {ann, ann}),
       [&](MemoryFiles& f, RecordingView& v) {
         exporting::OrganiserRun run(f, organiser);
         return pressTwice(run, v);
       }},
      {"journal and calendar", "datebook.dat", datebook,
       [&](MemoryFiles& f, RecordingView& v) {
         exporting::JournalAndCalendarRun run(f);
         std::size_t nestedMessages = 0;
         v.onEvents = [&](RecordingView& inner) {
           const std::size_t before = inner.messages.size();
           run.run(inner);
           nestedMessages += inner.messages.size() - before;
         };
         run.run(v);
         EXPECT_EQ(nestedMessages, 0u);
         EXPECT_FALSE(run.running());
         return ExportOutcome::kComplete;
       }},
  };
  for (const RunRow& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    RecordingView view;
    view.folder = "/p";
    view.fileName = row.fileName;
    files.archives[view.inputPath()] = row.bytes;
    EXPECT_EQ(row.start(files, view), ExportOutcome::kComplete);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().rfind("All Done!", 0), 0u) << view.messages.back();
  }
}

}  // namespace
}  // namespace vessory::testing
