// Whole exports through the window, compared with what the console tool writes for the same
// archive and options. Needs the console tool's path (VESSORY_EXPORT_PATH) and a POSIX system.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "archive/timestamp.h"
#include "support/archive_builder.h"
#include "window/location_lists.h"
#include "window/main_window.h"
#include "window_export_fixture.h"

namespace vessory::window {
namespace {

using namespace fixture;

TEST_F(WindowExportTest, DefaultExportWritesWhatTheConsoleToolWrites) {
  const std::string archive = mixedArchive();
  openOn(archive);
  clickExport();

  std::string consoleMessages;
  const std::string expected = consoleExport(archive, {}, &consoleMessages);
  EXPECT_EQ(testing::readFile(csvPath()), expected);
  EXPECT_EQ(csvLines(expected).size(), 4u);  // two entries in each English journal
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0].toStdString(), kDoneMessage + csvPath());
  EXPECT_EQ(messages_[0].toStdString() + "\n", consoleMessages);
  EXPECT_EQ(text("TotalRecords"), "4");
  EXPECT_EQ(text("ThisRecord"), "4");
  EXPECT_EQ(text("TXTJournalsFound"), "2");
  // Details were off: neither details field changed.
  EXPECT_EQ(text("DateTime"), "");
  EXPECT_TRUE(
      control<QPlainTextEdit>(*window_, "DescriptionText")->toPlainText().startsWith("(Check"));
  EXPECT_EQ(quits_, 1);
  EXPECT_TRUE(window_->endRequested());
  EXPECT_FALSE(window_->isVisible());
}

// No entry under the journal's name: the earlier CSV stays as it was, none is made, and the
// final message names, after "All Done!", the descriptions the date book keeps notes under
// (where the console tells to list them).
TEST_F(WindowExportTest, ExportWithoutEntriesLeavesTheEarlierCsvAndNamesTheJournalsHeld) {
  openOn(testing::ArchiveBuilder()
             .archive({testing::journalRecord("9:00: x", 1018137600, "dentist")})
             .bytes());
  {
    QFile earlier(QString::fromStdString(csvPath()));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier rows\r\n");
  }
  clickExport();
  EXPECT_EQ(testing::readFile(csvPath()), "earlier rows\r\n");
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0].toStdString(),
            "All Done!\r\n\r\nNo journal entries were found under \"Daily Journal\". This "
            "date book keeps notes under these descriptions, the most used first: \"dentist\" "
            "(1 entry). Type the one your journal was kept under into \"Name of Journals\" and "
            "export again.");
  // The window stays for the name to be corrected.
  EXPECT_EQ(quits_, 0);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowExportTest, OptionsGoToTheRunAsLatin1AndDetailsShowEachRecord) {
  const std::string archive = mixedArchive();
  openOn(archive);
  control<QComboBox>(*window_, "CMBJournalNames")
      ->setEditText(QString::fromUtf8("Fran\xc3\xa7"
                                      "ais: Journ\xc3\xa9"
                                      "e"));
  control<QLineEdit>(*window_, "Keywords")->setText("[]");
  control<QLineEdit>(*window_, "HoursBias")->setText("2");
  control<QCheckBox>(*window_, "WordWrap")->setChecked(false);
  control<QCheckBox>(*window_, "CHK_Description")->setChecked(true);
  clickExport();

  const std::string expected = consoleExport(archive, {"-j",
                                                       "Fran\xe7"
                                                       "ais: Journ\xe9"
                                                       "e",
                                                       "-k", "[]", "-b", "2", "--no-wrap"});
  EXPECT_EQ(testing::readFile(csvPath()), expected);
  EXPECT_EQ(csvLines(expected).size(), 1u);
  EXPECT_EQ(text("TXTJournalsFound"), "1");
  EXPECT_EQ(text("DateTime").toStdString(), archive::formatTimestamp(kFirstDay + 3 * kDay, "2"));
  auto* description = control<QPlainTextEdit>(*window_, "DescriptionText");
  EXPECT_EQ(description->toPlainText(), QString::fromUtf8("R\xc3\xa9union"));
  EXPECT_EQ(description->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(quits_, 1);
}

TEST_F(WindowExportTest, ExportWithoutASelectionAsksForOneAndTheWindowStays) {
  openOn(mixedArchive());
  control<FileList>(*window_, "File1")->clearSelection();
  clickExport();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("Navigate to the directory that contains the Datebook.dat"));
  EXPECT_EQ(quits_, 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(csvPath())));
  EXPECT_TRUE(control<QPushButton>(*window_, "ReadDate")->isEnabled());

  // The next try, with the archive selected, runs normally.
  control<FileList>(*window_, "File1")->setCurrentRow(0);
  clickExport();
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_EQ(messages_[1].toStdString(), kDoneMessage + csvPath());
  EXPECT_EQ(quits_, 1);
}

TEST_F(WindowExportTest, BiasEditedDuringTheRunChangesOnlyLaterRecords) {
  const std::string archive = fiveJournalDays();
  openOn(archive);
  whileAtRecord("3", [this] {
    auto* bias = control<QLineEdit>(*window_, "HoursBias");
    bias->selectAll();
    QTest::keyClicks(bias, "20");
  });
  clickExport();

  const std::vector<std::string> before = csvLines(consoleExport(archive, {"-b", "-4"}));
  const std::vector<std::string> after = csvLines(consoleExport(archive, {"-b", "20"}));
  ASSERT_EQ(before.size(), 5u);
  ASSERT_NE(before[2], after[2]);
  EXPECT_EQ(testing::readFile(csvPath()), joined(before, 0, 2) + joined(after, 2, 5));
}

TEST_F(WindowExportTest, ExportPressedDuringARunStartsNoSecondRunWhileHelpStillWorks) {
  const std::string archive = fiveJournalDays();
  openOn(archive);
  bool enabledDuringRun = true;
  whileAtRecord("2", [this, &enabledDuringRun] {
    auto* button = control<QPushButton>(*window_, "ReadDate");
    enabledDuringRun = button->isEnabled();
    QTest::mouseClick(button, Qt::LeftButton);
    button->click();
    QTest::mouseClick(control<QPushButton>(*window_, "Help"), Qt::LeftButton);
  });
  clickExport();

  EXPECT_FALSE(enabledDuringRun);
  EXPECT_TRUE(window_->exportRunning() == false);
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_EQ(messages_[0].toStdString(), MainWindow::helpText());
  EXPECT_EQ(messages_[1].toStdString(), kDoneMessage + csvPath());
  EXPECT_EQ(testing::readFile(csvPath()), consoleExport(archive, {}));
  EXPECT_EQ(quits_, 1);
}

// Ending the program part-way, by Exit or by closing the window, keeps every row written.
class WindowEndDuringRunTest : public WindowExportTest,
                               public ::testing::WithParamInterface<bool> {};

TEST_P(WindowEndDuringRunTest, RowsWrittenSoFarStayOnDisk) {
  const std::string archive = fiveJournalDays();
  openOn(archive);
  const bool byExit = GetParam();
  whileAtRecord("3", [this, byExit] {
    if (byExit) {
      QTest::mouseClick(control<QPushButton>(*window_, "Exit"), Qt::LeftButton);
    } else {
      window_->close();
    }
  });
  clickExport();

  const std::vector<std::string> all = csvLines(consoleExport(archive, {}));
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(testing::readFile(csvPath()), joined(all, 0, 2));
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(quits_, 1);
  EXPECT_TRUE(window_->endRequested());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->exportRunning());
  EXPECT_EQ(text("ThisRecord"), "3");
}

INSTANTIATE_TEST_SUITE_P(ExitOrClose, WindowEndDuringRunTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "ByExit" : "ByClosingTheWindow";
                         });

}  // namespace
}  // namespace vessory::window
