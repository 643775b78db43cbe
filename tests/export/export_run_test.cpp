#include "export/export_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/fake_export.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

const std::string kFolder = "C:\\Palm\\User\\datebook";
const std::string kArchivePath = kFolder + exporting::pathSeparator() + "datebook.dat";
const std::string kCsvPath = kFolder + exporting::pathSeparator() + "datebook.csv";
const std::string kAllDone =
    "All Done!\r\n\r\nExtracted journals have been placed in:\r\n" + kCsvPath;
const std::string kEndedEarly =
    "Datebook file ended early - it may be damaged or incomplete.\r\n\r\n"
    "Journals found before that point have been placed in:\r\n" +
    kCsvPath;
const std::string kSelectFile =
    "Navigate to the directory that contains the Datebook.dat file (usually "
    "C:\\PALM\\{hotsyncname}\\Datebook), select Datebook.dat and tap on Export";

// One run over an archive held in memory, with the view and files kept for inspection.
class ExportRunTest : public ::testing::Test {
 protected:
  ExportOutcome exportArchive(const std::string& bytes) {
    files.archives[kArchivePath] = bytes;
    exporting::ExportRun run(files);
    return run.run(view);
  }
  ExportOutcome exportRecords(const std::vector<RecordPlan>& records) {
    return exportArchive(ArchiveBuilder().archive(records).bytes());
  }
  std::string csv() const { return files.csv(kCsvPath); }
  long count(const std::string& prefix) const {
    return std::count_if(view.events.begin(), view.events.end(),
                         [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  }

  RecordingView view;
  MemoryFiles files;
};

TEST_F(ExportRunTest, WholeRecordBecomesRowsAndTheRunReportsCompletion) {
  RecordPlan record = journalRecord(
      "##xyE\n9:15 am: Met <Bob>\r\nat the cafe\r\n10:30 am: Said \"hi\"\n", 1018171800);
  view.bias = "0";
  view.wrap = exporting::kUnchecked;
  EXPECT_EQ(exportRecords({record}), ExportOutcome::kComplete);
  EXPECT_EQ(csv(),
            "5,Bob,4/07/2002,9:15 AM,\"Met <Bob>\nat the cafe\"\r\n"
            "5,,4/07/2002,10:30 AM,\"Said \"\"hi\"\"\"\r\n");
  EXPECT_EQ(view.messages, std::vector<std::string>{kAllDone});
  EXPECT_TRUE(view.ended);
  EXPECT_TRUE(files.closed(kCsvPath));
  EXPECT_EQ(view.events.back(), "end");
}

TEST_F(ExportRunTest, ProgressIsShownPerRecordAndJournalCountOnlyOnMatches) {
  RecordPlan appointment;
  appointment.description = "Dentist";
  EXPECT_EQ(exportRecords({journalRecord("a: 1"), appointment, journalRecord("b: 2")}),
            ExportOutcome::kComplete);
  std::vector<std::string> progress;
  for (const std::string& e : view.events) {
    if (e.rfind("message", 0) != 0 && e != "end") progress.push_back(e);
  }
  EXPECT_EQ(progress, (std::vector<std::string>{"total: 3", "record: 1", "journals: 1", "record: 2",
                                                "record: 3", "journals: 2"}));
  EXPECT_EQ(view.pendingEventCalls, 4);  // once after the total, once per record
}

TEST_F(ExportRunTest, JournalsOfOtherLanguagesAndRepeatingJournalsAreSelectedByName) {
  RecordPlan german = journalRecord("7:00: Aufstehen", 1018137600, " LOGBUCH ");
  RecordPlan repeating = journalRecord("8:00: repeats", 1018137600, "Logbuch");
  repeating.repeatFlag = 0x8001;
  view.journal = "German: Logbuch";
  view.bias = "0";
  exportRecords({journalRecord("9:00: english"), german, repeating});
  EXPECT_EQ(csv(), "0,,4/07/2002,7:00,\"Aufstehen\"\r\n");
}

TEST_F(ExportRunTest, EmptyNoteArrivesAsNullMarkerAndGivesOneRow) {
  RecordPlan record = journalRecord("");
  view.bias = "0";
  exportRecords({record});
  EXPECT_EQ(csv(),
            "0,,4/07/2002,??:??,\"\xAB"
            "NULL\xBB\"\r\n");
}

TEST_F(ExportRunTest, WordWrapJoinsLinesOrKeepsThemAsBareLineFeeds) {
  RecordPlan record = journalRecord("9:15 am: one\r\ntwo\r\n 9:45 am: Next");
  view.bias = "0";
  view.wrap = exporting::kChecked;
  exportRecords({record});
  EXPECT_EQ(csv(), "0,,4/07/2002,9:15 AM,\"one two\"\r\n0,,4/07/2002,9:45 AM,\"Next\"\r\n");
  view.wrap = exporting::kGreyed;  // only the checked value means wrap
  exportRecords({record});
  EXPECT_EQ(csv(), "0,,4/07/2002,9:15 AM,\"one\ntwo\"\r\n0,,4/07/2002,9:45 AM,\"Next\"\r\n");
}

TEST_F(ExportRunTest, LiveOptionsChangedWhileTheRunWaitsApplyFromTheNextRecord) {
  std::vector<RecordPlan> records(3, journalRecord("9:00: <k> a\nb", 1018137600));
  view.bias = "0";
  view.onEvents = [](RecordingView& v) {
    if (v.pendingEventCalls == 3) {  // before record 2
      v.bias = "-24";
      v.keywords = "";
      v.wrap = exporting::kUnchecked;
    }
  };
  exportRecords(records);
  EXPECT_EQ(csv(),
            "0,k,4/07/2002,9:00,\"<k> a b\"\r\n"
            "0,4/06/2002,9:00,\"<k> a\nb\"\r\n"
            "0,4/06/2002,9:00,\"<k> a\nb\"\r\n");
}

TEST_F(ExportRunTest, OneCharacterDelimitersKeepTheKeywordOfThePreviousRow) {
  view.onEvents = [](RecordingView& v) {
    if (v.pendingEventCalls == 3) v.keywords = "<";
  };
  exportRecords({journalRecord("9:00: <kept> x"), journalRecord("9:00: <other> y")});
  EXPECT_NE(csv().find("\r\n0,kept,"), std::string::npos) << csv();
}

TEST_F(ExportRunTest, DetailsShowStartTimeThenDescriptionAroundTheRecordsMessages) {
  RecordPlan record = journalRecord("9:00: x", 0, "Lunch");
  record.descriptionZeroWord = 7;
  view.details = exporting::kGreyed;  // any non-zero value shows details
  view.bias = "0";
  exportRecords({record});
  std::vector<std::string> expected = {"total: 1",
                                       "record: 1",
                                       "datetime: 1/01/1970, 00:00:00",
                                       "color: 80000004",
                                       "message: At Record 1 The Always zero byte was not zero",
                                       "color: 80000005",
                                       "description: Lunch"};
  EXPECT_EQ(std::vector<std::string>(view.events.begin(), view.events.begin() + 7), expected);
}

// A zone given moves each time by that zone's offset from UTC at that moment, daylight saving
// included, in the rows and the details alike; the bias box plays no part then. An unknown zone
// stops the run before anything is made.
TEST_F(ExportRunTest, ZoneGivenShiftsEachTimeByItsOffsetAtThatMoment) {
  // 2004-01-15 23:30, 2004-07-04 22:30 and 2004-01-16 04:30 UTC.
  const std::vector<std::uint32_t> starts = {1074209400, 1088980200, 1074227400};
  const struct {
    std::string zone;  // "" for none: the bias
    std::vector<std::string> dates;
    std::string firstShown;
  } rows[] = {
      {"Europe/Berlin", {"1/16/2004", "7/05/2004", "1/16/2004"}, "1/16/2004, 00:30:00"},
      {"America/New_York", {"1/15/2004", "7/04/2004", "1/15/2004"}, "1/15/2004, 18:30:00"},
      {"UTC", {"1/15/2004", "7/04/2004", "1/16/2004"}, "1/15/2004, 23:30:00"},
      {"", {"1/15/2004", "7/04/2004", "1/16/2004"}, "1/15/2004, 19:30:00"},
  };
  std::vector<RecordPlan> records;
  for (std::uint32_t start : starts) records.push_back(journalRecord("9:00 am: x", start));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.zone);
    view = RecordingView{};
    view.details = exporting::kChecked;
    files.archives[kArchivePath] = ArchiveBuilder().archive(records).bytes();
    exporting::ExportRun run(files);
    if (!row.zone.empty()) run.shiftByZone(row.zone);
    ASSERT_EQ(run.run(view), ExportOutcome::kComplete);
    std::string expected;
    for (const std::string& date : row.dates) expected += "0,," + date + ",9:00 AM,\"x\"\r\n";
    EXPECT_EQ(csv(), expected);
    EXPECT_NE(std::find(view.events.begin(), view.events.end(), "datetime: " + row.firstShown),
              view.events.end());
  }
  MemoryFiles untouched;
  untouched.archives[kArchivePath] = files.archives[kArchivePath];
  RecordingView refused;
  exporting::ExportRun run(untouched);
  run.shiftByZone("Mars/Olympus_Mons");
  EXPECT_EQ(run.run(refused), ExportOutcome::kBadOption);
  EXPECT_EQ(refused.messages, std::vector<std::string>{"Unknown time zone Mars/Olympus_Mons"});
  EXPECT_FALSE(untouched.created(kCsvPath));
}

TEST_F(ExportRunTest, WithoutDetailsNeitherDateNorDescriptionIsShown) {
  exportRecords({journalRecord("9:00: x")});
  EXPECT_EQ(count("datetime"), 0);
  EXPECT_EQ(count("description"), 0);
  EXPECT_EQ(count("color"), 0);
}

TEST_F(ExportRunTest, ZeroRecordsGiveAnEmptyCsvAndCompletion) {
  EXPECT_EQ(exportRecords({}), ExportOutcome::kComplete);
  EXPECT_TRUE(files.created(kCsvPath));
  EXPECT_EQ(csv(), "");
  EXPECT_EQ(view.events.front(), "total: 0");
}

TEST_F(ExportRunTest, DataAfterTheLastRecordIsReportedAndRowsAreKept) {
  std::string bytes = ArchiveBuilder().archive({journalRecord("9:00: x")}).bytes();
  EXPECT_EQ(exportArchive(bytes + "Z"), ExportOutcome::kDataAfterEnd);
  EXPECT_EQ(view.messages,
            std::vector<std::string>{"NOT at End of File - Datebook database has invalid/unex!"});
  EXPECT_EQ(csv(), "0,,4/06/2002,9:00,\"x\"\r\n");
  EXPECT_TRUE(view.ended);
}

TEST_F(ExportRunTest, ArchiveCutShortAtEveryLengthEndsEarlyWithOneNoticeAndNoLostRows) {
  std::vector<RecordPlan> records;
  for (int i = 0; i < 4; ++i) records.push_back(journalRecord("9:0" + std::to_string(i) + ": e"));
  records[2].repeatFlag = 0xFFFF;
  records[2].brand = 2;
  const std::string full = ArchiveBuilder().archive(records).bytes();
  for (std::size_t length = 4; length < full.size(); ++length) {
    SCOPED_TRACE(length);
    view = RecordingView();
    files = MemoryFiles();
    EXPECT_EQ(exportArchive(full.substr(0, length)), ExportOutcome::kEndedEarly);
    ASSERT_GE(view.messages.size(), 2u);
    EXPECT_EQ(view.messages.back(), kEndedEarly);
    EXPECT_EQ(std::count_if(view.messages.begin(), view.messages.end(),
                            [](const std::string& m) { return m.rfind("Just read", 0) == 0; }),
              1);
    // Every row but the one of the record the archive ran out in is a row of the full export.
    std::string rows = csv();
    std::size_t last = rows.rfind("\r\n", rows.size() >= 2 ? rows.size() - 3 : 0);
    std::string settled = last == std::string::npos ? "" : rows.substr(0, last + 2);
    EXPECT_EQ(settled, std::string("0,,4/06/2002,9:00,\"e\"\r\n0,,4/06/2002,9:01,\"e\"\r\n"
                                   "0,,4/06/2002,9:02,\"e\"\r\n")
                           .substr(0, settled.size()));
    EXPECT_TRUE(view.ended);
  }
}

TEST_F(ExportRunTest, ArchiveShorterThanTheTagIsRejectedAtEveryLength) {
  for (std::size_t length = 0; length < 4; ++length) {
    view = RecordingView();
    files = MemoryFiles();
    EXPECT_EQ(exportArchive(std::string("\x00\x01"
                                        "BD",
                                        4)
                                .substr(0, length)),
              ExportOutcome::kNotDatebook);
    EXPECT_EQ(view.messages, std::vector<std::string>{kArchivePath + " is Not a Datebook DB file"});
    EXPECT_FALSE(files.created(kCsvPath));
    EXPECT_FALSE(view.ended);
  }
}

TEST_F(ExportRunTest, RejectedArchiveLeavesTheProgramRunningForAnotherExport) {
  EXPECT_EQ(exportArchive("DB\x01\x00 and more"), ExportOutcome::kNotDatebook);
  EXPECT_FALSE(view.ended);
  EXPECT_EQ(exportRecords({journalRecord("9:00: x")}), ExportOutcome::kComplete);
  EXPECT_TRUE(view.ended);
}

TEST_F(ExportRunTest, MissingOrUnselectedFileAsksTheUserToNavigate) {
  view.fileName = "";
  EXPECT_EQ(exportRecords({}), ExportOutcome::kNoArchive);
  view.fileName = "other.dat";
  EXPECT_EQ(exportRecords({}), ExportOutcome::kNoArchive);
  EXPECT_EQ(view.messages, (std::vector<std::string>{kSelectFile, kSelectFile}));
  EXPECT_FALSE(files.created(kCsvPath));
  EXPECT_FALSE(view.ended);
}

TEST_F(ExportRunTest, InputPathJoinsFolderAndFileWithThePlatformSeparator) {
  view.folder = "C:\\";
  view.fileName = "datebook.dat";
  const std::string joined = std::string("C:\\") + exporting::pathSeparator() + "datebook.dat";
  files.archives[joined] = ArchiveBuilder().archive({}).bytes();
  exporting::ExportRun run(files);
  EXPECT_EQ(run.run(view), ExportOutcome::kComplete);
  EXPECT_TRUE(files.created(std::string("C:\\") + exporting::pathSeparator() + "datebook.csv"));
}

TEST_F(ExportRunTest, SequencingErrorEndsTheProgramKeepingEarlierRows) {
  RecordPlan broken = journalRecord("9:00: never");
  broken.rawNote = std::string("\xFF\x00\x00\x02\x00", 5);
  EXPECT_EQ(exportRecords({journalRecord("9:00: kept"), broken, journalRecord("9:00: after")}),
            ExportOutcome::kSequencingError);
  EXPECT_EQ(view.messages, std::vector<std::string>{"sequencing error"});
  EXPECT_EQ(csv(), "0,,4/06/2002,9:00,\"kept\"\r\n");
  EXPECT_TRUE(files.closed(kCsvPath));
  EXPECT_TRUE(view.ended);
}

TEST_F(ExportRunTest, CsvPathNamingTheArchiveItselfCreatesNothing) {
  files.aliases[kCsvPath] = kArchivePath;
  EXPECT_EQ(exportRecords({journalRecord("9:00: x")}), ExportOutcome::kOutputIsArchive);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Cannot export: the CSV file " + kCsvPath +
                                                    " is the Datebook file itself"});
  EXPECT_FALSE(files.created(kCsvPath));
  EXPECT_FALSE(view.ended);
}

TEST_F(ExportRunTest, CsvThatCannotBeCreatedIsReportedWithTheReason) {
  files.uncreatable[kCsvPath] = "Permission denied";
  EXPECT_EQ(exportRecords({journalRecord("9:00: x")}), ExportOutcome::kCannotCreate);
  EXPECT_EQ(view.messages,
            std::vector<std::string>{"Cannot create " + kCsvPath + ": Permission denied"});
  EXPECT_FALSE(view.ended);
}

TEST_F(ExportRunTest, WriteFailureIsReportedInsteadOfSuccess) {
  files.failWritesAfter = 0;
  EXPECT_EQ(exportRecords({journalRecord("9:00: x")}), ExportOutcome::kCannotWrite);
  EXPECT_EQ(view.messages,
            std::vector<std::string>{"Cannot write " + kCsvPath + ": No space left on device"});
  EXPECT_TRUE(view.ended);
}

// A failed write leaves the earlier CSV whole, and the message says so.
TEST_F(ExportRunTest, WriteFailureLeavesTheEarlierCsvAsItWas) {
  files.earlier(kCsvPath, "0,,4/01/2002,9:00,\"earlier\"\r\n");
  files.failWritesAfter = 0;
  EXPECT_EQ(exportRecords({journalRecord("9:00: x")}), ExportOutcome::kCannotWrite);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Cannot write " + kCsvPath +
                                                    ": No space left on device; the earlier " +
                                                    kCsvPath + " was left as it was"});
  EXPECT_EQ(csv(), "0,,4/01/2002,9:00,\"earlier\"\r\n");
}

// Asked to (the window, --all), a run that finds no entry makes no CSV and leaves an earlier
// one as it was; the final message gives the hint where it would name the CSV. Without, an
// empty CSV is made, as the console does.
TEST_F(ExportRunTest, NoEntryLeavesTheEarlierCsvWhenAsked) {
  const std::string hint = "No journal entries were found under \"Daily Journal\"; "
                           "vessory-export --list-journals " + kArchivePath +
                           " lists the descriptions this archive uses.";
  for (bool earlier : {false, true}) {
    SCOPED_TRACE(earlier);
    files = MemoryFiles();
    view.messages.clear();
    if (earlier) files.earlier(kCsvPath, "earlier rows");
    files.archives[kArchivePath] = ArchiveBuilder().archive({journalRecord("x", 1018137600, "Dentist")}).bytes();
    exporting::ExportRun run(files);
    run.keepEarlierWithoutEntries();
    EXPECT_EQ(run.run(view), ExportOutcome::kComplete);
    EXPECT_FALSE(run.csvKept());
    EXPECT_EQ(files.created(kCsvPath), earlier);
    EXPECT_EQ(csv(), earlier ? "earlier rows" : "");
    EXPECT_EQ(view.messages, std::vector<std::string>{"All Done!\r\n\r\n" + hint});
  }
  files = MemoryFiles();
  EXPECT_EQ(exportRecords({journalRecord("x", 1018137600, "Dentist")}), ExportOutcome::kComplete);
  EXPECT_TRUE(files.created(kCsvPath));
  EXPECT_EQ(csv(), "");
}

TEST_F(ExportRunTest, EndRequestedDuringTheRunClosesTheCsvWithTheRowsWrittenSoFar) {
  view.onEvents = [](RecordingView& v) {
    if (v.pendingEventCalls == 4) v.endWanted = true;  // before record 3
  };
  EXPECT_EQ(
      exportRecords({journalRecord("9:00: a"), journalRecord("9:00: b"), journalRecord("9:00: c")}),
      ExportOutcome::kEndRequested);
  EXPECT_EQ(csv(), "0,,4/06/2002,9:00,\"a\"\r\n0,,4/06/2002,9:00,\"b\"\r\n");
  EXPECT_TRUE(files.closed(kCsvPath));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(view.ended);  // the front end is already ending the program
}

}  // namespace
}  // namespace vessory::testing
