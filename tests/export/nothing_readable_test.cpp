// A file damaged before its first whole record gives nothing to export: every run but the
// console's journal export alone writes nothing, leaves an earlier output of that name as it
// was, says so, and ends as kNothingRead. A whole file without records, or one with a record
// read whole, is exported as before.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_and_calendar.h"
#include "export/organiser_run.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"
#include "support/later_desktop_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;
using ExportStep = std::function<std::optional<ExportOutcome>(MemoryFiles&, RecordingView&)>;

const std::string kEarlier = "EARLIER EXPORT\r\n";
const std::string kNothing = exporting::kNothingReadText;
const std::string kDatebookEnded =
    std::string(exporting::kEndedEarlyWarning) + "\r\n\r\n" + kNothing;

std::string pdb(PdbPlan plan, const std::vector<PdbBytes>& records) {
  for (std::uint32_t k = 0; k < records.size(); ++k) {
    plan.records.push_back({records[k], 0x40, k + 1, std::nullopt});
  }
  const PdbBytes bytes = buildPdb(plan);
  return {bytes.begin(), bytes.end()};
}

std::string todoDatabase(const std::vector<int>& dueMonths) {
  PdbPlan plan;
  plan.name = "ToDoDB";
  plan.creator = "todo";
  plan.appInfo = categoryAppInfo({"Unfiled"}, 282);
  std::vector<PdbBytes> records;
  for (int month : dueMonths) {
    records.push_back(todoRecord(packDate(2021, month, 1), 1, "Pay", ""));
  }
  return pdb(plan, records);
}

std::string datebookDatabase(std::uint16_t startHour) {
  PdbPlan plan;
  plan.appInfo = categoryAppInfo({"Unfiled"}, 276);
  EventPlan event;
  event.start = static_cast<std::uint16_t>(startHour << 8);
  event.end = static_cast<std::uint16_t>(event.start + 0x0100);
  return pdb(plan, {eventRecord(event), eventRecord(event), eventRecord(event)});
}

ExportStep calendar() {
  return [](MemoryFiles& files, RecordingView& view) {
    exporting::CalendarSettings settings;
    settings.zoneName = "UTC";
    settings.stampTime = 0;
    return exporting::CalendarRun(files, settings).run(view);
  };
}
ExportStep organiser() {
  return [](MemoryFiles& files, RecordingView& view) {
    exporting::OrganiserSettings settings;
    settings.zoneName = "UTC";
    return exporting::OrganiserRun(files, settings).run(view);
  };
}
// The window's journal export keeps an earlier CSV; the quiet console's alone keeps the journal
// rules.
ExportStep journal(bool keepEarlier) {
  return [keepEarlier](MemoryFiles& files, RecordingView& view) {
    exporting::ExportRun run(files);
    if (keepEarlier) {
      run.keepEarlierWithoutEntries();
    } else {
      run.replaceEarlierWhenDamaged();
    }
    return run.run(view);
  };
}
ExportStep journalAndCalendar() {
  return [](MemoryFiles& files, RecordingView& view) -> std::optional<ExportOutcome> {
    exporting::JournalAndCalendarRun(files).run(view);
    return std::nullopt;
  };
}

TEST(NothingReadableTest, ADamagedFileWithoutAWholeRecordLeavesTheEarlierExport) {
  const std::string datebook = ArchiveBuilder().archive({journalRecord("9:00: one")}).bytes();
  const std::size_t headerEnd =
      ArchiveBuilder().tag().header(HeaderPlan::forRecords(1)).size();
  ContactPlan ann;
  ann.lastName = "Ann";
  const std::string address = buildAddressArchive({}, {ann});
  std::string memo = buildMemoArchive({}, {MemoPlan{}});
  memo.pop_back();
  const std::string memoEnded =
      "The archive ended early - it may be damaged or incomplete.\r\n\r\n" + kNothing;
  const struct {
    const char* name;
    std::string file, bytes;
    ExportStep run;
    std::vector<std::string> outputs;  // each holds kEarlier before the run
    std::optional<ExportOutcome> outcome;
    bool kept;          // the outputs still hold kEarlier
    std::string last;   // the last message, less its start when `lastEnds`
    bool lastEnds = false;
    std::optional<std::size_t> failReadAt = std::nullopt;
    std::vector<std::string> folders = {};  // there before the run, and exactly these after it
    std::size_t beside = 0;                 // outputs written beside the earlier ones
  } rows[] = {
      {"calendar, cut in the header", "Datebook.dat", datebook.substr(0, headerEnd - 2),
       calendar(), {"Datebook.ics"}, ExportOutcome::kNothingRead, true,
       kDatebookEnded + " The earlier /p/Datebook.ics was left as it was."},
      {"calendar, cut in its one record", "Datebook.dat", datebook.substr(0, datebook.size() - 1),
       calendar(), {"Datebook.ics"}, ExportOutcome::kNothingRead, true,
       kDatebookEnded + " The earlier /p/Datebook.ics was left as it was."},
      {"later desktop's calendar, cut in the header", "Datebook.dat",
       buildLaterFile(laterDatebookPlan(),
                      {laterEvent(journalRecord("9:00: one"), "Home", laterDatebookPlan())})
           .substr(0, 60),
       calendar(), {"Datebook.ics"}, ExportOutcome::kNothingRead, true,
       kNothing + " The earlier /p/Datebook.ics was left as it was.", true},
      {"calendar, nothing earlier", "Datebook.dat", datebook.substr(0, headerEnd - 2), calendar(),
       {}, ExportOutcome::kNothingRead, true, kDatebookEnded},
      {"calendar, unreadable before its first record", "Datebook.dat", datebook, calendar(),
       {"Datebook.ics"}, ExportOutcome::kCannotRead, true,
       kNothing + " The earlier /p/Datebook.ics was left as it was.", false, headerEnd + 2},
      {"handheld calendar, every hour 25", "DatebookDB.pdb", datebookDatabase(25), calendar(),
       {"DatebookDB.ics"}, ExportOutcome::kNothingRead, true,
       kNothing + " The earlier /p/DatebookDB.ics was left as it was."},
      {"handheld to-dos, every month 13", "ToDoDB.pdb", todoDatabase({13, 13, 13}), organiser(),
       {"ToDoDB.ics"}, ExportOutcome::kNothingRead, true,
       kNothing + " The earlier /p/ToDoDB.ics was left as it was."},
      {"contacts, cut in their one record", "Address.dat", address.substr(0, address.size() - 1),
       organiser(), {"Address.vcf"}, ExportOutcome::kNothingRead, true,
       "The archive ended early - it may be damaged or incomplete.\r\n\r\n" + kNothing +
           " The earlier /p/Address.vcf was left as it was."},
      {"memos, cut in their one record: the folder made goes again", "MemoPad.dat", memo,
       organiser(), {}, ExportOutcome::kNothingRead, true, memoEnded},
      {"memos, cut so, an earlier folder stays", "MemoPad.dat", memo, organiser(), {},
       ExportOutcome::kNothingRead, true, memoEnded + " The earlier /p/MemoPad was left as it was.",
       false, std::nullopt, {"/p/MemoPad"}},
      {"window's journal, cut in the header", "Datebook.dat", datebook.substr(0, headerEnd - 2),
       journal(true), {"Datebook.csv"}, ExportOutcome::kNothingRead, true,
       kDatebookEnded + " The earlier /p/Datebook.csv was left as it was."},
      {"window's journal and calendar", "Datebook.dat", datebook.substr(0, headerEnd - 2),
       journalAndCalendar(), {"Datebook.csv", "Datebook.ics"}, std::nullopt, true,
       kDatebookEnded + " The earlier /p/Datebook.csv and /p/Datebook.ics were left as they were."},
      // As before: the journal rules, a file whole but empty, a record read whole.
      {"console's journal", "Datebook.dat", datebook.substr(0, headerEnd - 2), journal(false),
       {"Datebook.csv"}, ExportOutcome::kEndedEarly, false, ""},
      {"calendar without records", "Datebook.dat", ArchiveBuilder().archive({}).bytes(),
       calendar(), {"Datebook.ics"}, ExportOutcome::kComplete, false,
       "0 events written (0 repeating, 0 all-day), times as the clock showed them in UTC.\r\n"
       "No records left out.",
       true},
      {"handheld to-dos, one readable: beside the earlier",
       "ToDoDB.pdb",
       todoDatabase({13, 5, 13}),
       organiser(),
       {"ToDoDB.ics"},
       ExportOutcome::kDamagedRecords,
       true,
       "2 records left out: 2 unreadable (see the messages above).\r\nThe archive is damaged: the "
       "earlier /p/ToDoDB.ics was left as it was, and this export was written beside it.",
       true,
       std::nullopt,
       {},
       1},
  };
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    RecordingView view;
    view.folder = "/p";
    view.fileName = row.file;
    files.archives[view.inputPath()] = row.bytes;
    if (row.failReadAt) files.failReadsAfter[view.inputPath()] = *row.failReadAt;
    for (const std::string& output : row.outputs) files.earlier("/p/" + output, kEarlier);
    files.folders = row.folders;
    EXPECT_EQ(row.run(files, view), row.outcome);
    EXPECT_EQ(std::set<std::string>(files.folders.begin(), files.folders.end()),
              std::set<std::string>(row.folders.begin(), row.folders.end()));
    for (const std::string& output : row.outputs) {
      EXPECT_EQ(files.csv("/p/" + output) == kEarlier, row.kept) << output;
    }
    EXPECT_EQ(files.outputPaths().size(), row.outputs.size() + row.beside);
    EXPECT_TRUE(view.ended);
    ASSERT_FALSE(view.messages.empty());
    if (row.last.empty()) continue;
    if (row.lastEnds) {
      EXPECT_TRUE(view.messages.back().ends_with(row.last)) << view.messages.back();
    } else {
      EXPECT_EQ(view.messages.back(), row.last);
    }
  }
}

}  // namespace
}  // namespace vessory::testing
