#include "export/daily_notes_step.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "export/export_run.h"
#include "journal/csv_writer.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"

namespace vessory::testing {
namespace {

constexpr std::uint32_t kMarch1st2008At2Utc = 1204336800;

// The day files a journal run gathers from `records`, by name, with the bias or zone given.
// With `csv`, the CSV is written in UTF-8 from `charset` too, and kept there.
std::map<std::string, std::string> notesOf(const std::vector<RecordPlan>& records,
                                           const std::string& bias, const std::string& zone = {},
                                           const std::string& charset = {},
                                           std::string* csv = nullptr) {
  RecordingView view;
  view.bias = bias;
  MemoryFiles files;
  HeaderPlan header = HeaderPlan::forRecords(static_cast<std::uint32_t>(records.size()));
  header.categories = {CategoryPlan{}, CategoryPlan{2, 2, 0, "K\xF6ln: \"#2\"", "K"}};
  files.archives[view.inputPath()] = ArchiveBuilder().archive(records, header).bytes();
  std::string error;
  auto collector = exporting::DailyNotesCollector::open(charset, error);
  exporting::ExportRun run(files);
  if (!zone.empty()) run.shiftByZone(zone);
  if (csv != nullptr) run.convertToUtf8From(charset);
  run.collectDailyNotes(collector.get());
  EXPECT_EQ(run.run(view), exporting::ExportOutcome::kComplete);
  if (csv != nullptr) *csv = files.csv(journal::csvPathFor(view.inputPath()));
  std::map<std::string, std::string> days;
  collector->notes().render([&](const std::string& name, const std::string& text) {
    days[name] = text;
    return true;
  });
  return days;
}

// The day is the CSV's: the hours bias or the zone decides it, as it decides the CSV's date.
TEST(DailyNotesRun, DaysFollowTheBiasOrTheZone) {
  const std::vector<RecordPlan> records = {journalRecord("2:00 am: late", kMarch1st2008At2Utc)};
  const std::vector<std::pair<std::pair<std::string, std::string>, std::string>> cases = {
      {{"-4", ""}, "2008/2008-02-29.md"},
      {{"0", ""}, "2008/2008-03-01.md"},
      {{"-4", "Asia/Tokyo"}, "2008/2008-03-01.md"},
      {{"-4", "America/Los_Angeles"}, "2008/2008-02-29.md"},
  };
  for (const auto& [setting, file] : cases) {
    const auto days = notesOf(records, setting.first, setting.second);
    ASSERT_EQ(days.size(), 1U);
    EXPECT_EQ(days.begin()->first, file) << setting.first << " " << setting.second;
  }
}

// Category names become the day's tags (none for 0 or an unnamed one); every text is turned
// into UTF-8 from the archive's character set; line breaks stay though the CSV wraps.
TEST(DailyNotesRun, TagsAndTextsInUtf8) {
  RecordPlan business = journalRecord("8:00 am: K\xF6ln <Anna>\r\nnext", kMarch1st2008At2Utc);
  business.category = 1;
  const RecordPlan named = journalRecord("##xyB\n9:00 am: two", kMarch1st2008At2Utc);
  const RecordPlan unnamed = journalRecord("##xyE\n10:00 am: three", kMarch1st2008At2Utc);
  const auto days = notesOf({business, named, unnamed}, "0", "", "windows-1252");
  ASSERT_EQ(days.size(), 1U);
  EXPECT_EQ(days.begin()->second,
            "---\ndate: 2008-03-01\ntags:\n  - \"Business\"\n  - \"K\xC3\xB6ln: \\\"#2\\\"\"\n"
            "---\n\n# Saturday, 1 March 2008\n\n## 8:00 AM #Anna\n\nK\xC3\xB6ln \\<Anna>\\\nnext\n"
            "\n## 9:00 AM\n\ntwo\n\n## 10:00 AM\n\nthree\n");
}

// A time label (upper-cased, over a line break) reads the same in the UTF-8 CSV as in its
// day's note.
TEST(DailyNotesRun, CsvTimeLabelInUtf8IsTheNotesLabel) {
  const RecordPlan record =
      journalRecord("8:10 am plan\r\ncaf\xE9 m\xFCller: lunch", kMarch1st2008At2Utc);
  std::string csv;
  const auto days = notesOf({record}, "0", "", "windows-1252", &csv);
  const std::string label = "8:10 AM PLAN\r\nCAF\u00E9 M\u00FCLLER";
  ASSERT_EQ(days.size(), 1U);
  // The note's heading is one line: the line break stands as blanks there.
  EXPECT_NE(days.begin()->second.find("\n## 8:10 AM PLAN  CAF\u00E9 M\u00FCLLER\n"),
            std::string::npos)
      << days.begin()->second;
  EXPECT_EQ(csv,
            std::string(journal::kUtf8ByteOrderMark) + "0,,3/01/2008," + label + ",\"lunch\"\r\n");
}

// The summary's line names the days written and the files of other days left as they were; a
// character set no converter knows gives no collector.
TEST(DailyNotesRun, SummaryAndUnknownCharacterSet) {
  const struct {
    std::int64_t days, leftAlone;
    const char* text;
  } rows[] = {
      {1, 0, "Daily notes: 1 day in notes"},
      {3, 2, "Daily notes: 3 days in notes; 2 files of days the journal no longer has left as they "
             "were"},
  };
  for (const auto& row : rows) {
    journal::DailyNotesWritten written;
    written.days = row.days;
    written.leftAlone = row.leftAlone;
    EXPECT_EQ(exporting::dailyNotesSummary(written, "notes"), row.text);
  }
  std::string error;
  EXPECT_EQ(exporting::DailyNotesCollector::open("no-such-charset", error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vessory::testing
