// The whole user folder through the window: the box that asks for it, the same files as the
// console tool's --all, its one message and the end of the program, the end part-way; the
// start-up search for a user folder; and counts wider than five digits.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"
#include "support/organiser_builder.h"
#include "window/location_lists.h"
#include "window/message_presenter.h"
#include "window_export_fixture.h"

namespace vessory::window {
namespace {

using namespace fixture;
namespace t = vessory::testing;

// A user folder with each kind in its kind folder, an archive file and a handheld database.
std::map<std::string, std::string> everyKind() {
  t::ContactPlan anna;
  anna.firstName = "Anna";
  anna.lastName = "M\xFCller";
  t::TodoPlan task;
  task.description = "Call Tom";
  task.dueDate = kFirstDay;
  t::MemoPlan memo;
  memo.text = "Shopping\r\nbread";
  return {{"datebook/Datebook.dat", mixedArchive()},
          {"address/Address.dat", t::buildAddressArchive({}, {anna, anna})},
          {"address/Address.aba", t::buildAddressArchive({}, {anna})},
          {"todo/ToDo.dat", t::buildTodoArchive({}, {task})},
          {"memopad/MemoPad.dat", t::buildMemoArchive({}, {memo})},
          {"memopad/MemoDB.pdb", handheldMemos({"Hello\nworld", "Second"})}};
}

class WindowFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    ASSERT_TRUE(elsewhere_.isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));
  }
  void TearDown() override {
    window_.reset();
    qputenv("HOME", savedHome_);
  }

  std::string home(const std::string& name = "") const {
    return home_.path().toStdString() + (name.empty() ? "" : "/" + name);
  }
  void place(const std::string& folder, const std::map<std::string, std::string>& files) {
    for (const auto& [name, bytes] : files) {
      const std::string path = folder + "/" + name;
      ASSERT_TRUE(QDir().mkpath(QFileInfo(QString::fromStdString(path)).path()));
      t::writeFile(path, bytes);
    }
  }
  void open() {
    window_ = std::make_unique<MainWindow>();
    window_->setMessagePresenter([this](const QString& text) { messages_ << text; });
    window_->setQuitAction([this] { ++quits_; });
    window_->setEventThrottle(false);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  QCheckBox* everything() { return control<QCheckBox>(*window_, "Everything"); }
  void goTo(const std::string& folder) {
    ASSERT_TRUE(control<FolderList>(*window_, "Dir1")->setPath(QString::fromStdString(folder)));
  }
  // `--all` of the console tool on a copy of `files` in a user folder "JSmith" elsewhere: its
  // output folder's files (calendars without their stamps) and its standard error.
  std::map<std::string, std::string> consoleAll(const std::map<std::string, std::string>& files,
                                                std::string& err) {
    const std::string user = elsewhere_.path().toStdString() + "/JSmith";
    place(user, files);
    t::CapturedStream captured;
    EXPECT_EQ(console::runConsole({"--all", user, "-q"}, stdout, captured.get(), false), 0);
    err = captured.text();
    return unstamped(folderFiles(user + "-export"));
  }
  static std::map<std::string, std::string> unstamped(std::map<std::string, std::string> files) {
    for (auto& [name, bytes] : files) {
      if (name.size() > 4 && name.substr(name.size() - 4) == ".ics") bytes = withoutStamps(bytes);
    }
    return files;
  }

  QTemporaryDir home_;
  QTemporaryDir elsewhere_;
  QByteArray savedHome_;
  std::unique_ptr<MainWindow> window_;
  QStringList messages_;
  int quits_ = 0;
};

TEST_F(WindowFolderTest, EveryKindOfAUserFolderAsTheConsoleWritesItThenOneMessageAndTheEnd) {
  const std::map<std::string, std::string> files = everyKind();
  place(home("Palm/JSmith"), files);
  open();
  // ~/Palm holds no file itself: the window opens in the user folder below it.
  ASSERT_EQ(window_->currentFolder(), home("Palm/JSmith"));
  ASSERT_TRUE(everything()->isEnabled());
  EXPECT_FALSE(everything()->isChecked());
  EXPECT_EQ(everything()->text(), "Export everything in this &user folder");
  QTest::keyClick(window_.get(), Qt::Key_U, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return everything()->isChecked(); }));
  // The journal's options apply to the folder's date books; the calendar is always written.
  EXPECT_TRUE(control<QLineEdit>(*window_, "Keywords")->isEnabled());
  EXPECT_FALSE(control<QCheckBox>(*window_, "AlsoCalendar")->isEnabled());
  QTest::mouseClick(control<QPushButton>(*window_, "ReadDate"), Qt::LeftButton);

  std::string err;
  const std::map<std::string, std::string> expected = consoleAll(files, err);
  // The window's run writes what the console's --all writes, the import guide too.
  std::map<std::string, std::string> written = unstamped(folderFiles(home("Palm/JSmith-export")));
  EXPECT_EQ(written.count("How to import.txt"), 1u);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(quits_, 1);
  ASSERT_EQ(messages_.size(), 1);
  // The console's summary lines, one per archive, and the window's own first line.
  std::string shown = messages_[0].toStdString();
  for (std::size_t at; (at = shown.find("\r\n")) != std::string::npos;) shown.replace(at, 2, "\n");
  EXPECT_EQ(
      shown.rfind("Exported " + home("Palm/JSmith") + " into " + home("Palm/JSmith-export") + ":\n",
                  0),
      0u)
      << shown;
  const std::string guideLine = "How to import.txt: how to bring these files into other programs\n";
  EXPECT_EQ(err.find(guideLine), std::string::npos);
  // The console names the guide on its last line; the window in words of its own.
  std::string archiveLines = err.substr(err.find('\n') + 1);
  archiveLines.erase(archiveLines.rfind('\n', archiveLines.size() - 2) + 1);
  EXPECT_EQ(static_cast<std::size_t>(std::count(archiveLines.begin(), archiveLines.end(), '\n')),
            files.size());
  EXPECT_EQ(shown.substr(shown.find('\n') + 1, archiveLines.size()), archiveLines) << shown;
  EXPECT_NE(shown.find("How to import.txt in that folder tells"), std::string::npos);
}

// Under the daily notes' box, in the row the window grew by; Tab goes from that box to it and
// on to the keyword delimiters.
TEST_F(WindowFolderTest, TheBoxSitsUnderTheCalendarBoxAndTabsAfterIt) {
  place(home("Palm/JSmith"), {{"datebook/Datebook.dat", fiveJournalDays()}});
  open();
  ASSERT_TRUE(everything()->isEnabled());
  const QRect box = everything()->geometry();
  const QRect calendar = control<QCheckBox>(*window_, "AlsoNotes")->geometry();
  EXPECT_EQ(box.left(), calendar.left());
  EXPECT_EQ(box.top(), calendar.bottom() + 1);
  EXPECT_TRUE(window_->rect().contains(box));
  EXPECT_GE(box.width(), everything()->sizeHint().width());
  for (QWidget* other : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (other == everything() || !other->isVisible()) continue;
    EXPECT_FALSE(box.intersects(other->geometry())) << other->objectName().toStdString();
  }
  control<QCheckBox>(*window_, "AlsoNotes")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), everything());
  QTest::keyClick(everything(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "Keywords");
}

TEST_F(WindowFolderTest, TheBoxIsEnabledOnlyWhereTheUserFolderHoldsAnArchive) {
  place(home("Palm"), {{"notes.txt", "x"}, {"Datebook.dat", "not an archive"}});
  place(home("Palm/JSmith"), {{"datebook/Datebook.dat", fiveJournalDays()}, {"readme.txt", "x"}});
  open();
  ASSERT_EQ(window_->currentFolder(), home("Palm"));
  EXPECT_FALSE(everything()->isEnabled());
  const std::pair<const char*, bool> folders[] = {
      {"Palm/JSmith", true}, {"Palm/JSmith/datebook", true}, {"Palm", false}, {"", false}};
  for (const auto& [folder, enabled] : folders) {
    goTo(home(folder));
    EXPECT_EQ(everything()->isEnabled(), enabled) << folder;
  }
  // A disabled box leaves Export to the selected file.
  everything()->setChecked(true);
  EXPECT_FALSE(everything()->isEnabled());
}

// Exit while the first archive is read, by the journal or then by the calendar: the rows and
// events written so far stay, whole, in closed files; a calendar not yet begun is not begun,
// no later archive is started and nothing more is shown.
TEST_F(WindowFolderTest, ExitDuringTheRunKeepsWholeRecordsAndClosedFiles) {
  const std::map<std::string, std::string> files = {
      {"datebook/Datebook.dat", fiveJournalDays()},
      {"todo/ToDo.dat", t::buildTodoArchive({}, {t::TodoPlan{}})}};
  std::string err;
  const std::map<std::string, std::string> whole = consoleAll(files, err);
  for (const int reading : {1, 2}) {
    SCOPED_TRACE(reading == 1 ? "during the journal" : "during the calendar");
    QDir(home_.path()).removeRecursively();
    place(home("Palm/JSmith"), files);
    quits_ = 0;
    open();
    // From the kind folder with the archive selected: the user folder is the one above.
    goTo(home("Palm/JSmith/datebook"));
    control<FileList>(*window_, "File1")->setCurrentRow(0);
    ASSERT_EQ(window_->selectedFileName(), "Datebook.dat");
    everything()->setChecked(true);
    // Exit at the journal's third record, or at the calendar's (the description box counts
    // those; the count of records read stays where the journal left it).
    bool asked = false;
    const auto exitSoon = [&] {
      if (asked) return;
      asked = true;
      QMetaObject::invokeMethod(
          window_.get(),
          [this] { QTest::mouseClick(control<QPushButton>(*window_, "Exit"), Qt::LeftButton); },
          Qt::QueuedConnection);
    };
    auto* description = control<QPlainTextEdit>(*window_, "DescriptionText");
    if (reading == 1) {
      QObject::connect(control<QLineEdit>(*window_, "ThisRecord"), &QLineEdit::textChanged,
                       window_.get(), [&](const QString& text) {
                         if (text == "3") exitSoon();
                       });
    } else {
      QObject::connect(description, &QPlainTextEdit::textChanged, window_.get(), [&] {
        if (description->toPlainText().endsWith("its calendar, record 3")) exitSoon();
      });
    }
    QTest::mouseClick(control<QPushButton>(*window_, "ReadDate"), Qt::LeftButton);
    ASSERT_TRUE(asked);
    EXPECT_EQ(quits_, 1);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("|").toStdString();
    std::map<std::string, std::string> written = unstamped(folderFiles(home("Palm/JSmith-export")));
    written.erase("How to import.txt");
    std::set<std::string> names;
    // The daily notes go with the journal's rows, whose whole records are checked below.
    for (const auto& [name, bytes] : written) {
      if (name.rfind("journal/", 0) != 0) names.insert(name);
    }
    const std::set<std::string> expectedNames =
        reading == 1 ? std::set<std::string>{"journal.csv"}
                     : std::set<std::string>{"journal.csv", "calendar.ics"};
    EXPECT_EQ(names, expectedNames);
    const std::vector<std::string> rows = csvLines(written["journal.csv"]);
    const std::vector<std::string> all = csvLines(whole.at("journal.csv"));
    ASSERT_LE(rows.size(), all.size());
    EXPECT_EQ(rows, std::vector<std::string>(all.begin(), all.begin() + rows.size()));
    EXPECT_EQ(rows.size() < all.size(), reading == 1);
    if (reading == 2) {
      const CalendarParts parts = calendarParts(written["calendar.ics"]);
      const CalendarParts wholeCalendar = calendarParts(whole.at("calendar.ics"));
      EXPECT_EQ(parts.tail, wholeCalendar.tail);
      EXPECT_LT(parts.events.size(), wholeCalendar.events.size());
      EXPECT_EQ(parts.events,
                std::vector<std::string>(wholeCalendar.events.begin(),
                                         wholeCalendar.events.begin() + parts.events.size()));
    }
    window_.reset();
    messages_.clear();
  }
}

// The progress fields during the run: the journals found as the journal finds them, and the
// records read counted once, the calendar's second reading of the date book named instead.
TEST_F(WindowFolderTest, ProgressCountsJournalsAndNeverGoesBack) {
  place(home("Palm/JSmith"), {{"datebook/Datebook.dat", fiveJournalDays()}});
  open();
  goTo(home("Palm/JSmith"));
  everything()->setChecked(true);
  QStringList records;
  QStringList descriptions;
  auto* description = control<QPlainTextEdit>(*window_, "DescriptionText");
  QObject::connect(control<QLineEdit>(*window_, "ThisRecord"), &QLineEdit::textChanged,
                   window_.get(), [&](const QString& text) { records << text; });
  QObject::connect(description, &QPlainTextEdit::textChanged, window_.get(),
                   [&] { descriptions << description->toPlainText(); });
  QTest::mouseClick(control<QPushButton>(*window_, "ReadDate"), Qt::LeftButton);
  EXPECT_EQ(records, QStringList({"1", "2", "3", "4", "5"}));
  EXPECT_EQ(control<QLineEdit>(*window_, "TXTJournalsFound")->text(), "5");
  QStringList expected = {"Exporting datebook/Datebook.dat"};
  for (int record = 1; record <= 5; ++record) {
    expected << QStringLiteral("Exporting datebook/Datebook.dat: its calendar, record %1").arg(record);
  }
  EXPECT_EQ(descriptions, expected);
  EXPECT_EQ(quits_, 1);
}

// The user folders are made in a temporary home; ~/Pilot and the home folder come as before.
TEST_F(WindowFolderTest, StartsInTheFirstUserFolderUnderPalmWhenPalmHoldsNoFile) {
  const std::string archive = fiveJournalDays();
  struct Case {
    const char* name;
    std::map<std::string, std::string> files;
    std::string opens;
  };
  const std::vector<Case> cases = {
      {"the first subfolder with an archive in a kind folder",
       {{"Palm/Aa/datebook/notes.txt", "x"},
        {"Palm/Bob/Todo/ToDo.dat", t::buildTodoArchive({}, {t::TodoPlan{}})},
        {"Palm/Cy/datebook/Datebook.dat", archive}},
       "Palm/Bob"},
      {"a file in Palm wins as before",
       {{"Palm/x.txt", "x"}, {"Palm/Bob/datebook/Datebook.dat", archive}},
       "Palm"},
      {"an archive outside a kind folder does not make a user folder",
       {{"Palm/Bob/Datebook.dat", archive}},
       ""},
      {"nor does a file of that name that is no archive",
       {{"Palm/Bob/datebook/Datebook.dat", "not an archive"}},
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(home_.path()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(home_.path()));
    place(home(), c.files);
    open();
    EXPECT_EQ(window_->currentFolder(), home(c.opens));
    window_.reset();
  }
}

TEST_F(WindowFolderTest, CountFieldsShowSevenDigitsWhole) {
  open();
  for (const char* name : {"ThisRecord", "TotalRecords", "TXTJournalsFound"}) {
    SCOPED_TRACE(name);
    auto* box = control<QLineEdit>(*window_, name);
    box->setText(QStringLiteral("9999999"));
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    // The line edit keeps two pixels on each side of its text.
    EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()) + 4, room.width());
  }
  window_->showTotalRecords("300000");
  EXPECT_EQ(control<QLineEdit>(*window_, "TotalRecords")->text(), "300000");
}

TEST_F(WindowFolderTest, TheSummaryBoxScrollsWhenLongAndCannotBeEdited) {
  QString text;
  for (int i = 0; i < 200; ++i) text += QStringLiteral("archive %1: all done\r\n").arg(i);
  std::unique_ptr<QDialog> box(scrollingMessageBox(nullptr, text));
  box->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
  auto* shown = box->findChild<QPlainTextEdit*>(QStringLiteral("MessageText"));
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isReadOnly());
  EXPECT_EQ(shown->toPlainText(), QString(text).replace(QStringLiteral("\r\n"), "\n"));
  EXPECT_GT(shown->verticalScrollBar()->maximum(), 0);
  // A line wider than the box folds at its edge rather than hiding its end.
  std::unique_ptr<QDialog> wide(scrollingMessageBox(nullptr, QString(400, QChar('x')) + " end"));
  wide->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(wide.get()));
  auto* wideText = wide->findChild<QPlainTextEdit*>(QStringLiteral("MessageText"));
  EXPECT_EQ(wideText->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(wideText->document()->lineCount(), 1);
}

}  // namespace
}  // namespace vessory::window
