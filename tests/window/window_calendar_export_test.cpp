// Exports through the window with "Also export the whole calendar" checked, compared with what
// the console tool writes for the same archive: its journal CSV, and its calendar in the zone
// the system is set to (TZ, set here for the window and the tool alike).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "export/run_steps.h"
#include "support/archive_builder.h"
#include "window/location_lists.h"
#include "window_export_fixture.h"

namespace vessory::window {
namespace {

using namespace fixture;
using vessory::testing::ArchiveBuilder;
using vessory::testing::journalRecord;
using vessory::testing::readFile;
using vessory::testing::RecordPlan;

// Not the machine's own zone, so that a calendar in any zone but the system's shows.
constexpr char kZone[] = "America/New_York";
constexpr char kEndedEarlyWarning[] =
    "Datebook file ended early - it may be damaged or incomplete.\r\n\r\n";
constexpr char kJournalsPlaced[] = "Extracted journals have been placed in:\r\n";

class CalendarExportTest : public WindowExportTest {
 protected:
  void SetUp() override {
    WindowExportTest::SetUp();
    savedZone_ = qgetenv("TZ");
    hadZone_ = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", kZone);
  }
  void TearDown() override {
    if (hadZone_) {
      qputenv("TZ", savedZone_);
    } else {
      qunsetenv("TZ");
    }
    WindowExportTest::TearDown();
  }

  std::string icsPath() const { return palmPath("Datebook.ics"); }
  bool icsExists() const { return QFile::exists(QString::fromStdString(icsPath())); }

  void openWithTheBoxOn(const std::string& archive) {
    openOn(archive);
    control<QCheckBox>(*window_, "AlsoCalendar")->setChecked(true);
  }

  // The console tool's calendar of `archive` and its messages.
  std::string consoleCalendar(const std::string& archive, std::vector<std::string>* messages) {
    std::string err;
    runConsole(archive, {"--calendar", "--time-zone", kZone}, &err);
    if (messages) *messages = messageLines(err);
    return consoleFile("Datebook.ics");
  }

  QByteArray savedZone_;
  bool hadZone_ = false;
};

TEST_F(CalendarExportTest, CalendarBesideTheArchiveIsTheConsoleToolsAndOneMessageNamesBoth) {
  const std::string archive = mixedArchive();
  openWithTheBoxOn(archive);
  clickExport();

  EXPECT_EQ(readFile(csvPath()), consoleExport(archive, {}));
  std::vector<std::string> consoleMessages;
  const std::string expected = consoleCalendar(archive, &consoleMessages);
  const std::string written = readFile(icsPath()).value_or("<no calendar>");
  EXPECT_EQ(withoutStamps(written), withoutStamps(expected));
  EXPECT_EQ(calendarParts(written).events.size(), 4u);
  ASSERT_EQ(consoleMessages.size(), 1u);
  const std::string summary = consoleMessages[0].substr(std::string("All Done!\r\n\r\n").size());
  EXPECT_NE(summary.find(std::string("4 events written")), std::string::npos) << summary;
  EXPECT_NE(summary.find(kZone), std::string::npos) << summary;
  EXPECT_EQ(messages_,
            QStringList{QString::fromStdString(kDoneMessage + csvPath() + "\r\n\r\n" + summary)});
  EXPECT_EQ(text("TotalRecords"), "4");
  EXPECT_EQ(text("ThisRecord"), "4");
  EXPECT_EQ(text("TXTJournalsFound"), "2");
  EXPECT_EQ(quits_, 1);
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(CalendarExportTest, TheBoxIsReadAtEachPress) {
  const std::string archive = fiveJournalDays();
  openWithTheBoxOn(archive);
  control<FileList>(*window_, "File1")->clearSelection();
  clickExport();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_FALSE(icsExists());
  EXPECT_EQ(quits_, 0);

  // Unchecked before the next press: the journal export alone, as without the box.
  control<QCheckBox>(*window_, "AlsoCalendar")->setChecked(false);
  control<FileList>(*window_, "File1")->setCurrentRow(0);
  clickExport();
  EXPECT_FALSE(icsExists());
  EXPECT_EQ(readFile(csvPath()), consoleExport(archive, {}));
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_EQ(messages_[1].toStdString(), kDoneMessage + csvPath());
  EXPECT_EQ(quits_, 1);
}

// An archive read to its end but not whole: the journal part's warning as the journal export
// alone shows it, then the calendar, whose message leaves out the warning just given.
struct DamagedArchive {
  const char* name;
  std::string bytes;
  std::string calendarWarning;  // what the console's calendar message opens with
};

void PrintTo(const DamagedArchive& archive, std::ostream* out) { *out << archive.name; }

constexpr char kPastEnd[] = "Just read char past EOF on byte ";

class DamagedArchiveTest : public CalendarExportTest,
                           public ::testing::WithParamInterface<DamagedArchive> {};

TEST_P(DamagedArchiveTest, WarningIsShownOnceAndTheCalendarStillFollows) {
  const std::string& archive = GetParam().bytes;
  openWithTheBoxOn(archive);
  clickExport();

  std::string journalErr;
  EXPECT_EQ(runConsole(archive, {}, &journalErr), 1);
  EXPECT_EQ(readFile(csvPath()), consoleFile("Datebook.csv"));
  std::vector<std::string> calendarMessages;
  EXPECT_EQ(withoutStamps(readFile(icsPath()).value_or("<no calendar>")),
            withoutStamps(consoleCalendar(archive, &calendarMessages)));
  // The calendar part's notice is the journal part's, shown once.
  while (!calendarMessages.empty() && calendarMessages.back().rfind(kPastEnd, 0) == 0) {
    calendarMessages.pop_back();
  }
  ASSERT_FALSE(calendarMessages.empty());
  std::string calendarPart = calendarMessages.back();
  const std::string& warning = GetParam().calendarWarning;
  ASSERT_EQ(calendarPart.substr(0, warning.size()), warning);
  calendarPart.erase(0, warning.size());

  // The console prints the classic notice of a short read on a line of its own after the
  // message that explains it; the window shows it in that message's box, below it.
  std::vector<std::string> journalLines = messageLines(journalErr);
  for (std::size_t i = 1; i < journalLines.size(); ++i) {
    if (journalLines[i].rfind(kPastEnd, 0) != 0) continue;
    journalLines[i - 1] += "\r\n\r\n" + journalLines[i];
    journalLines.erase(journalLines.begin() + static_cast<std::ptrdiff_t>(i));
  }
  QStringList expected = asQt(journalLines);
  expected << QString::fromStdString(kJournalsPlaced + csvPath() + "\r\n\r\n" + calendarPart);
  EXPECT_EQ(messages_, expected);
  EXPECT_EQ(quits_, 1);
}

std::string endedEarly() {
  ArchiveBuilder builder;
  builder.archive({journalRecord("9:15 am: First", kFirstDay),
                   journalRecord("9:15 am: Second", kFirstDay + kDay),
                   journalRecord("9:15 am: Third", kFirstDay + 2 * kDay)});
  return builder.truncated(builder.size() - 20);
}

INSTANTIATE_TEST_SUITE_P(
    EndedEarlyOrDataAfterTheEnd, DamagedArchiveTest,
    ::testing::Values(DamagedArchive{"EndedEarly", endedEarly(), kEndedEarlyWarning},
                      DamagedArchive{"DataAfterTheEnd", fiveJournalDays() + "trailing bytes", ""}),
    [](const ::testing::TestParamInfo<DamagedArchive>& info) { return info.param.name; });

TEST_F(CalendarExportTest, SequencingErrorInTheJournalPartStartsNoCalendar) {
  std::vector<RecordPlan> records;
  for (std::uint32_t day = 0; day < 4; ++day) {
    records.push_back(journalRecord("9:15 am: Day", kFirstDay + day * kDay));
  }
  records[2].rawNote = ArchiveBuilder().sequencingError().bytes();
  const std::string archive = ArchiveBuilder().archive(records).bytes();
  openWithTheBoxOn(archive);
  clickExport();

  std::string journalErr;
  EXPECT_EQ(runConsole(archive, {}, &journalErr), 4);
  EXPECT_EQ(readFile(csvPath()), consoleFile("Datebook.csv"));
  EXPECT_EQ(messages_, asQt(messageLines(journalErr)));
  EXPECT_FALSE(icsExists());
  EXPECT_EQ(quits_, 1);
}

TEST_F(CalendarExportTest, CsvThatCannotBeCreatedStopsBeforeTheCalendar) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(csvPath())));
  openWithTheBoxOn(mixedArchive());
  clickExport();

  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith(QString::fromStdString("Cannot create " + csvPath())))
      << messages_[0].toStdString();
  EXPECT_FALSE(icsExists());
  // As after the journal export alone: the window stays for another try.
  EXPECT_EQ(quits_, 0);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(control<QPushButton>(*window_, "ReadDate")->isEnabled());
}

TEST_F(CalendarExportTest, CalendarThatCannotBeCreatedStillNamesTheCsv) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(icsPath())));
  const std::string archive = mixedArchive();
  openWithTheBoxOn(archive);
  clickExport();

  EXPECT_EQ(readFile(csvPath()), consoleExport(archive, {}));
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_TRUE(messages_[0].startsWith(QString::fromStdString("Cannot create " + icsPath())))
      << messages_[0].toStdString();
  EXPECT_EQ(messages_[1].toStdString(), kJournalsPlaced + csvPath());
  EXPECT_EQ(quits_, 1);
}

TEST_F(CalendarExportTest, ExitDuringTheCalendarKeepsWholeEvents) {
  const std::string archive = fiveJournalDays();
  openWithTheBoxOn(archive);
  // The second time record 3 shows is in the calendar part, before that record is read.
  whileAtRecord(
      "3", [this] { QTest::mouseClick(control<QPushButton>(*window_, "Exit"), Qt::LeftButton); },
      2);
  clickExport();

  EXPECT_EQ(readFile(csvPath()), consoleExport(archive, {}));
  const CalendarParts all = calendarParts(consoleCalendar(archive, nullptr));
  ASSERT_EQ(all.events.size(), 5u);
  const std::string written = readFile(icsPath()).value_or("<no calendar>");
  EXPECT_EQ(withoutStamps(written), all.head + all.events[0] + all.events[1] + all.tail);
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(quits_, 1);
  EXPECT_FALSE(window_->exportRunning());
  EXPECT_FALSE(window_->isVisible());
}

// With the details shown, the calendar part shows a record's description as the journal part
// has just shown it, accented letters and all.
TEST_F(CalendarExportTest, BothPartsShowTheSameDescription) {
  const std::string archive = ArchiveBuilder()
                                  .archive({journalRecord("9:15 am: Up", kFirstDay),
                                            journalRecord("9:15 am: Up", kFirstDay + kDay,
                                                          "Logb\xfc"
                                                          "ch")})
                                  .bytes();
  openWithTheBoxOn(archive);
  control<QCheckBox>(*window_, "CHK_Description")->setChecked(true);
  auto* description = control<QPlainTextEdit>(*window_, "DescriptionText");
  QString journalShown;
  // When the calendar part starts, the box still shows the journal part's last record.
  whileAtRecord(
      "1", [&] { journalShown = description->toPlainText(); }, 2);
  clickExport();

  EXPECT_EQ(journalShown, QStringLiteral("Logb\u00FCch"));
  EXPECT_EQ(description->toPlainText(), journalShown);
  EXPECT_EQ(quits_, 1);
}

TEST_F(CalendarExportTest, ExitDuringTheJournalPartStartsNoCalendar) {
  const std::string archive = fiveJournalDays();
  openWithTheBoxOn(archive);
  whileAtRecord(
      "3", [this] { QTest::mouseClick(control<QPushButton>(*window_, "Exit"), Qt::LeftButton); });
  clickExport();

  EXPECT_EQ(readFile(csvPath()), joined(csvLines(consoleExport(archive, {})), 0, 2));
  EXPECT_FALSE(icsExists());
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(quits_, 1);
}

}  // namespace
}  // namespace vessory::window
