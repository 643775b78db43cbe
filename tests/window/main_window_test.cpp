// The window's controls, start-up folder, navigation and help. Runs on the offscreen platform;
// main() at the end creates the application the window tests need.

#include "window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "window/location_lists.h"

// Readable failure output for Qt strings.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vessory::window {
namespace {

template <typename Control>
Control* control(QWidget& window, const char* name) {
  auto* found = window.findChild<Control*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no control ") + name);
  return found;
}

QStringList itemTexts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

// A user's double click: Qt's test double click alone is not always taken for one.
void openItem(QTreeWidget* tree, QTreeWidgetItem* item) {
  const QPoint at = tree->visualItemRect(item).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

QStringList childTexts(const QTreeWidgetItem* item) {
  QStringList texts;
  for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
  return texts;
}

// Each test gets a fresh home folder, since the window starts in or below it.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));
  }
  void TearDown() override { qputenv("HOME", savedHome_); }

  QString homePath(const QString& relative = {}) const {
    return relative.isEmpty() ? home_.path() : home_.filePath(relative);
  }
  void makeFolder(const QString& relative) { ASSERT_TRUE(QDir(home_.path()).mkpath(relative)); }
  void makeFile(const QString& relative, const QByteArray& bytes = "x") {
    QDir(home_.path()).mkpath(QFileInfo(homePath(relative)).path());
    QFile file(homePath(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  std::unique_ptr<MainWindow> openWindow() {
    auto window = std::make_unique<MainWindow>();
    window->setMessagePresenter([this](const QString& text) { messages_ << text; });
    window->setQuitAction([this] { ++quits_; });
    return window;
  }

  static void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QTemporaryDir home_;
  QByteArray savedHome_;
  QStringList messages_;
  int quits_ = 0;
};

TEST_F(WindowTest, ControlsStartWithTheirDefaults) {
  auto window = openWindow();
  EXPECT_EQ(window->windowTitle(), "Logvane, V-1.0j");
  EXPECT_EQ(window->size(), QSize(549, 561));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  for (const char* name : {"ThisRecord", "TotalRecords", "TXTJournalsFound"}) {
    EXPECT_EQ(control<QLineEdit>(*window, name)->text(), "0") << name;
  }
  EXPECT_EQ(control<QLineEdit>(*window, "Keywords")->text(), "<>");
  EXPECT_EQ(control<QLineEdit>(*window, "HoursBias")->text(), "-4");
  EXPECT_EQ(control<QLineEdit>(*window, "DateTime")->text(), "");
  EXPECT_EQ(window->wordWrapValue(), kChecked);
  EXPECT_EQ(window->showDetailsValue(), kUnchecked);
  EXPECT_EQ(control<QCheckBox>(*window, "WordWrap")->text(), "Wordwrap Journal Entries");
  EXPECT_EQ(control<QCheckBox>(*window, "CHK_Description")->text(), "Display Description/Date");
  EXPECT_EQ(control<QLabel>(*window, "Label2")->text(), "of ");
  EXPECT_EQ(control<QLabel>(*window, "Label6")->text(), "TimeZone Hours Bias: ");
  EXPECT_EQ(control<QPushButton>(*window, "ReadDate")->text(), "&Export");
  EXPECT_EQ(control<QPushButton>(*window, "Exit")->text(), "E&xit");
  EXPECT_EQ(control<QPushButton>(*window, "Help")->text(), "&Help");

  auto* description = control<QPlainTextEdit>(*window, "DescriptionText");
  EXPECT_EQ(description->toPlainText(),
            "(Check box to left to display descriptions and dates as \n"
            "records are processed - slower, but useful for error analysis)\n");
  EXPECT_FALSE(description->isReadOnly());
  EXPECT_EQ(description->palette().color(QPalette::Base),
            QApplication::palette("QMenu").color(QPalette::Window));
  EXPECT_EQ(window->selectedFileName(), "");
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->windowIcon().availableSizes(),
            (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
}

TEST_F(WindowTest, ControlsSitAtTheirTwipPositionsInTheirFonts) {
  struct Expected {
    const char* name;
    QRect pixels;
    double points;
    bool bold;
  };
  // Twips from the layout table divided by 15, rounded.
  const Expected table[] = {
      {"ReadDate", {32, 464, 129, 41}, 9.75, true},
      {"ThisRecord", {128, 280, 74, 25}, 9.75, false},
      {"Label1", {8, 285, 113, 17}, 9.75, true},
      {"Label2", {204, 285, 22, 17}, 9.75, true},
      {"TotalRecords", {228, 280, 74, 25}, 9.75, false},
      {"Drive1", {312, 264, 225, 21}, 8.25, false},
      {"Dir1", {304, 8, 233, 246}, 8.25, false},
      {"File1", {8, 8, 281, 266}, 8.25, false},
      {"WordWrap", {24, 432, 225, 25}, 9.75, true},
      {"Keywords", {464, 296, 49, 33}, 18, true},
      {"DescriptionText", {272, 344, 273, 65}, 8.25, false},
      {"CMBJournalNames", {392, 424, 153, 21}, 8.25, false},
      {"Label4", {272, 429, 105, 21}, 8.25, false},
      {"Label5", {8, 317, 113, 17}, 9.75, true},
      {"TXTJournalsFound", {128, 312, 74, 25}, 8.25, false},
      {"AlsoCalendar", {32, 505, 465, 18}, 8.25, true},
      {"AlsoNotes", {32, 523, 465, 18}, 8.25, true},
      {"Everything", {32, 541, 465, 18}, 8.25, true},
      {"Label6", {16, 412, 137, 25}, 8.25, true},
      {"HoursBias", {168, 405, 33, 22}, 8.25, true},
  };
  auto window = openWindow();
  for (const Expected& expected : table) {
    QWidget* widget = control<QWidget>(*window, expected.name);
    EXPECT_EQ(widget->geometry(), expected.pixels) << expected.name;
    EXPECT_EQ(widget->font().pointSizeF(), expected.points) << expected.name;
    EXPECT_EQ(widget->font().bold(), expected.bold) << expected.name;
    // The classic face comes first; where it is missing the desktop's sans font stands in.
    EXPECT_EQ(widget->font().families().value(0), "MS Sans Serif") << expected.name;
    EXPECT_EQ(widget->font().families().size(), 2) << expected.name;
  }
}

TEST_F(WindowTest, JournalListHoldsFiveLanguagesInOrder) {
  auto window = openWindow();
  auto* names = control<QComboBox>(*window, "CMBJournalNames");
  ASSERT_EQ(names->count(), 5);
  QStringList entries;
  for (int i = 0; i < names->count(); ++i) entries << names->itemText(i);
  EXPECT_EQ(entries,
            (QStringList{"English: Daily Journal", "German: Logbuch", "French: Journal quotidien",
                         "Italian: Diario Giornaliero", "Spanish: Diario"}));
  EXPECT_EQ(names->currentText(), "English: Daily Journal");
  EXPECT_TRUE(names->isEditable());
  // A typed name goes to the run as typed, one Latin-1 byte per character.
  names->setEditText(
      QString::fromUtf8("Fran\xc3\xa7"
                        "ais: Journ\xc3\xa9"
                        "e"));
  EXPECT_EQ(window->journalNameText(),
            "Fran\xe7"
            "ais: Journ\xe9"
            "e");
  EXPECT_EQ(names->count(), 5);
}

TEST_F(WindowTest, FocusStartsOnExportAndTabFollowsTheTabIndexes) {
  auto window = openWindow();
  showActive(*window);
  ASSERT_EQ(QApplication::focusWidget(), control<QWidget>(*window, "ReadDate"));
  QStringList visited;
  for (int i = 0; i < 18; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  EXPECT_EQ(visited, (QStringList{"ThisRecord", "TotalRecords", "Drive1", "Dir1", "File1", "Exit",
                                  "WordWrap", "AlsoCalendar", "AlsoNotes", "Keywords", "Help", "DescriptionText",
                                  "CHK_Description", "DateTime", "CMBJournalNames",
                                  "TXTJournalsFound", "HoursBias", "ReadDate"}));
}

TEST_F(WindowTest, AltWithTheMarkedLetterPressesTheButton) {
  auto window = openWindow();
  showActive(*window);
  // A pressed access key animates the button and clicks it a moment later.
  QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !messages_.isEmpty(); }));
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_EQ(quits_, 0);
  QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return quits_ > 0; }));
  EXPECT_EQ(quits_, 1);
  EXPECT_TRUE(window->endRequested());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, HelpShowsTheWholeTextInOneMessage) {
  auto window = openWindow();
  QTest::mouseClick(control<QPushButton>(*window, "Help"), Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1);
  const QString expected = QStringLiteral(
      "Navigate to the directory that has the Datebook.dat file (normally "
      "c:\\palm\\{HotSyncName}\\datebook - where {HotSyncName} is the directory that corresponds "
      "to your HotSync User Name) select it and click on export.The Keyword Delimiters (<>, [], "
      "{} etc.) can be used to extract text from journal note to 2nd column of output for "
      "sorting (delete them to avoid generating a blank column if you do not use this feature)."
      "\r\n\r\nThe First column is the binary category number (0=Unfiled, 1=first user-defined "
      "category, etc.).\r\nThe output file is placed in same directory with same filename but "
      "a .CSV extension. If you are usiing a non-English version of Orbisk3, you will need to "
      "select the right language and name of the Daily Journals.\r\nIf the times/dates do not "
      "match up in the CSV file, adjust the 'TimeZone HoursBias' value to compensate for what "
      "timezone you are in\r\nIf you have any "
      "questions on this application, email Tamsford Software at support@vessory.example.com");
  // The classic text whole, then a paragraph on what the window does beyond it.
  EXPECT_EQ(messages_[0].left(expected.size() + 4), expected + "\r\n\r\n");
  EXPECT_EQ(messages_[0].toStdString(), MainWindow::helpText());
  EXPECT_EQ(messages_[0].count("\r\n"), 7);
  EXPECT_EQ(quits_, 0);
  EXPECT_FALSE(window->endRequested());
}

// The three start-up cases, and what the window does with the chosen folder.
TEST_F(WindowTest, StartsInPalmWhenItHoldsAFile) {
  makeFile("Palm/Datebook.dat");
  makeFile("Pilot/Datebook.dat");
  auto window = openWindow();
  EXPECT_EQ(control<FolderList>(*window, "Dir1")->path(), homePath("Palm"));
  EXPECT_EQ(control<FileList>(*window, "File1")->folder(), homePath("Palm"));
  EXPECT_EQ(itemTexts(control<FileList>(*window, "File1")), QStringList{"Datebook.dat"});
  EXPECT_EQ(window->currentFolder(), QFile::encodeName(homePath("Palm")).toStdString());
  auto* drives = control<DriveList>(*window, "Drive1");
  EXPECT_FALSE(drives->drive().isEmpty());
  EXPECT_EQ(drives->drive(), drives->driveOf(homePath()));
}

TEST_F(WindowTest, StartsInPilotWhenPalmHoldsOnlyFolders) {
  makeFile("Palm/Ann/Datebook.dat");
  makeFile("Pilot/Datebook.dat");
  auto window = openWindow();
  EXPECT_EQ(control<FolderList>(*window, "Dir1")->path(), homePath("Pilot"));
  EXPECT_EQ(itemTexts(control<FileList>(*window, "File1")), QStringList{"Datebook.dat"});
}

TEST_F(WindowTest, StartsAtHomeWhenNeitherHoldsAnOrdinaryFile) {
  makeFile("Palm/.hidden");
  makeFolder("Pilot/Ann");
  makeFile("notes.txt");
  auto window = openWindow();
  EXPECT_EQ(control<FolderList>(*window, "Dir1")->path(), homePath());
  EXPECT_EQ(itemTexts(control<FileList>(*window, "File1")), QStringList{"notes.txt"});
}

TEST_F(WindowTest, OpeningAFolderRefillsTheFileList) {
  makeFile("Alpha/b.dat");
  makeFile("Alpha/A.txt");
  makeFile("Alpha/.dot");
  makeFolder("Alpha/Deeper");
  makeFolder("beta");
  makeFile("top.txt");
  auto window = openWindow();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  auto* folders = control<FolderList>(*window, "Dir1");
  auto* files = control<FileList>(*window, "File1");
  QTreeWidgetItem* home = folders->currentItem();
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(childTexts(home), (QStringList{"Alpha", "beta"}));
  EXPECT_EQ(folders->topLevelItem(0)->text(0), QDir::toNativeSeparators(QDir::rootPath()));

  openItem(folders, home->child(0));
  EXPECT_EQ(folders->path(), homePath("Alpha"));
  EXPECT_EQ(files->folder(), homePath("Alpha"));
  EXPECT_EQ(itemTexts(files), (QStringList{"A.txt", "b.dat"}));
  EXPECT_EQ(childTexts(folders->currentItem()), QStringList{"Deeper"});
  EXPECT_EQ(folders->currentItem()->parent()->text(0), QFileInfo(homePath()).fileName());

  // Back up through the ancestor shown above the current folder.
  openItem(folders, folders->currentItem()->parent());
  EXPECT_EQ(folders->path(), homePath());
  EXPECT_EQ(itemTexts(files), QStringList{"top.txt"});

  QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                    files->visualItemRect(files->item(0)).center());
  EXPECT_EQ(window->selectedFileName(), "top.txt");
  folders->setPath(homePath("beta"));
  EXPECT_EQ(itemTexts(files), QStringList{});
  EXPECT_EQ(window->selectedFileName(), "");
}

TEST_F(WindowTest, ChoosingADriveMovesToTheFolderLastShownOnIt) {
  makeFile("DriveA/Sub/a.txt");
  makeFile("DriveB/b.txt");
  auto window = openWindow();
  auto* drives = control<DriveList>(*window, "Drive1");
  auto* folders = control<FolderList>(*window, "Dir1");
  drives->setDrives({homePath("DriveA"), homePath("DriveB")});
  folders->setPath(homePath("DriveA/Sub"));

  drives->setCurrentIndex(1);
  EXPECT_EQ(folders->path(), homePath("DriveB"));
  EXPECT_EQ(itemTexts(control<FileList>(*window, "File1")), QStringList{"b.txt"});
  drives->setCurrentIndex(0);
  EXPECT_EQ(folders->path(), homePath("DriveA/Sub"));
  EXPECT_EQ(itemTexts(control<FileList>(*window, "File1")), QStringList{"a.txt"});
}

// A path on the command line ("Open with"): the lists go to its folder, the file selected.
TEST_F(WindowTest, APathOnTheCommandLineOpensItsFolderWithTheFileSelected) {
  makeFile("Palm/JSmith/datebook/Datebook.dat");
  makeFile("Palm/JSmith/datebook/Address.dat");
  auto window = openWindow();
  window->openPath(homePath("Palm/JSmith/datebook/Datebook.dat"));
  EXPECT_EQ(control<FolderList>(*window, "Dir1")->path(), homePath("Palm/JSmith/datebook"));
  EXPECT_EQ(window->selectedFileName(), "Datebook.dat");
}

TEST_F(WindowTest, ADriveThatIsNotReadyLeavesEverythingWhereItWas) {
  makeFile("DriveA/a.txt");
  auto window = openWindow();
  auto* drives = control<DriveList>(*window, "Drive1");
  auto* folders = control<FolderList>(*window, "Dir1");
  drives->setDrives({homePath("DriveA"), homePath("Gone")});
  folders->setPath(homePath("DriveA"));
  drives->setCurrentIndex(0);

  drives->setCurrentIndex(1);
  EXPECT_EQ(folders->path(), homePath("DriveA"));
  EXPECT_EQ(drives->drive(), homePath("DriveA"));
  EXPECT_EQ(drives->currentIndex(), 0);
}

TEST_F(WindowTest, ScreenshotShowsTheWholeWindow) {
  makeFile("Palm/Datebook.dat");
  makeFile("Palm/Address.dat");
  makeFile("Palm/ToDo.dat");
  makeFolder("Palm/Backup");
  auto window = openWindow();
  showActive(*window);
  auto* files = control<FileList>(*window, "File1");
  files->setCurrentRow(1);
  ASSERT_EQ(window->selectedFileName(), "Datebook.dat");
  QPixmap shot = window->grab();
  EXPECT_EQ(shot.size(), QSize(549, 561));
  const QString path = QStringLiteral(VESSORY_BUILD_DIR "/main-window.png");
  EXPECT_TRUE(shot.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace vessory::window

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
