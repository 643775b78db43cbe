// Whole exports through the window, compared with what the console tool writes for the same
// archive and options. Needs the console tool's path (VESSORY_EXPORT_PATH) and a POSIX system.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/location_lists.h"
#include "window/main_window.h"
#include "archive/timestamp.h"
#include "support/archive_builder.h"

namespace vessory::window {
namespace {

using testing::ArchiveBuilder;
using testing::journalRecord;
using testing::RecordSpec;

constexpr std::uint32_t kDay = 24 * 3600;
constexpr std::uint32_t kFirstDay = 1018145000;  // 2002-04-07, a little after 2 am

const char kDoneMessage[] = "All Done!\r\n\r\nExtracted journals have been placed in:\r\n";

template <typename Control>
Control* control(QWidget& window, const char* name) {
  auto* found = window.findChild<Control*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no control ") + name);
  return found;
}

// The CSV file's lines, each with its CR LF.
std::vector<std::string> csvLines(const std::string& csv) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < csv.size();) {
    std::size_t end = csv.find("\r\n", start);
    end = end == std::string::npos ? csv.size() : end + 2;
    lines.push_back(csv.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < lines.size(); ++i) text += lines[i];
  return text;
}

// Five journal days, one entry each, so that every record gives one row.
std::string fiveJournalDays() {
  std::vector<RecordSpec> records;
  for (std::uint32_t day = 0; day < 5; ++day) {
    records.push_back(journalRecord("9:15 am: Day " + std::to_string(day + 1) + " <walk>",
                                    kFirstDay + day * kDay));
  }
  return ArchiveBuilder().archive(records).bytes();
}

// Journals in two names (one with a Latin-1 letter), an appointment, CR LF notes, keywords.
std::string mixedArchive() {
  RecordSpec appointment = journalRecord("bring the card", kFirstDay + 3 * kDay, "R\xe9union");
  return ArchiveBuilder()
      .archive({
          journalRecord("7:05 am: Woke up <home> early\r\n9:15 am: Said \"hello\" at the "
                        "caf\xe9 [caf\xe9] with a long line that wraps nowhere\r\nand goes on",
                        kFirstDay),
          journalRecord("##3\r\n8:00 pm: [Notes] Lorem <ipsum>", kFirstDay + kDay,
                        "  Journ\xe9"
                        "e  "),
          journalRecord("10:30: Fr\xfchst\xfc"
                        "ck <Bahn>\r\n11:00 Weiter",
                        kFirstDay + 2 * kDay),
          appointment,
      })
      .bytes();
}

class WindowExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    ASSERT_TRUE(elsewhere_.isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));
    ASSERT_TRUE(QDir(home_.path()).mkpath("Palm"));
  }
  void TearDown() override { qputenv("HOME", savedHome_); }

  std::string archivePath() const { return (home_.path() + "/Palm/Datebook.dat").toStdString(); }
  std::string csvPath() const { return (home_.path() + "/Palm/Datebook.csv").toStdString(); }

  // Writes the archive, opens the window on it and selects it, as a user would.
  void openOn(const std::string& archive) {
    testing::writeFile(archivePath(), archive);
    window_ = std::make_unique<MainWindow>();
    window_->setMessagePresenter([this](const QString& text) { messages_ << text; });
    window_->setQuitAction([this] { ++quits_; });
    window_->setEventThrottle(false);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* files = control<FileList>(*window_, "File1");
    QList<QListWidgetItem*> found = files->findItems("Datebook.dat", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(found[0]).center());
    ASSERT_EQ(window_->selectedFileName(), "Datebook.dat");
  }

  void clickExport() {
    QTest::mouseClick(control<QPushButton>(*window_, "ReadDate"), Qt::LeftButton);
  }

  // Runs `action` from inside the run, while it processes events after showing `record`.
  void whileAtRecord(const QString& record, std::function<void()> action) {
    QObject::connect(control<QLineEdit>(*window_, "ThisRecord"), &QLineEdit::textChanged,
                     window_.get(), [this, record, action](const QString& text) {
                       if (text == record)
                         QMetaObject::invokeMethod(window_.get(), action, Qt::QueuedConnection);
                     });
  }

  QString text(const char* name) { return control<QLineEdit>(*window_, name)->text(); }

  // Exports a copy of `archive` with the console tool; returns its CSV, and its standard error
  // in `messages` with the copy's folder replaced by the window's.
  std::string consoleExport(const std::string& archive, std::vector<std::string> options,
                            std::string* messages = nullptr);

  QTemporaryDir home_;
  QTemporaryDir elsewhere_;
  QByteArray savedHome_;
  std::unique_ptr<MainWindow> window_;
  QStringList messages_;
  int quits_ = 0;
};

std::string WindowExportTest::consoleExport(const std::string& archive,
                                            std::vector<std::string> options,
                                            std::string* messages) {
  const std::string folder = elsewhere_.path().toStdString();
  const std::string copy = folder + "/Datebook.dat";
  const std::string errPath = folder + "/stderr.txt";
  testing::writeFile(copy, archive);
  options.insert(options.begin(), VESSORY_EXPORT_PATH);
  options.push_back(copy);
  // Arguments go to the tool as raw bytes: some are Latin-1, which no text conversion keeps.
  std::vector<char*> argv;
  for (std::string& option : options) argv.push_back(option.data());
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child == 0) {
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "console tool status " << status;
  if (messages) {
    *messages = testing::readFile(errPath).value_or("");
    for (std::size_t at; (at = messages->find(folder)) != std::string::npos;) {
      messages->replace(at, folder.size(), home_.path().toStdString() + "/Palm");
    }
  }
  return testing::readFile(folder + "/Datebook.csv").value_or("<no csv>");
}

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
