#include "window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "export/input_kind.h"
#include "export/user_folder.h"
#include "window/location_lists.h"
#include "window/message_presenter.h"
#include "window/start_folder.h"

namespace vessory::window {

namespace {

// Often enough to repaint about a hundred times a second, seldom enough not to slow the run.
constexpr qint64 kEventIntervalMs = 10;

constexpr const char* kJournalNames[] = {
    "English: Daily Journal",      "German: Logbuch", "French: Journal quotidien",
    "Italian: Diario Giornaliero", "Spanish: Diario",
};

constexpr char kSupportAddress[] = "support@vessory.example.com";

// Paths and file names as the run opens them: native separators in the system's file name
// encoding.
std::string systemPath(const QString& path) {
  return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

QString fromSystem(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

std::string latin1(const QString& text) { return text.toLatin1().toStdString(); }

QString fromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int checkValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked:
      return kChecked;
    case Qt::PartiallyChecked:
      return kGreyed;
    default:
      return kUnchecked;
  }
}

// A system colour reference has the high bit set and the colour index in its low byte;
// anything else is a colour 0x00BBGGRR.
QColor colorFor(std::uint32_t color) {
  if (color == kMenuBackgroundColor) return QApplication::palette("QMenu").color(QPalette::Window);
  if (color == kWindowBackgroundColor) return QApplication::palette().color(QPalette::Base);
  if (color & 0x80000000u) return QApplication::palette().color(QPalette::Window);
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

bool holdsOrdinaryFile(const std::string& folder) {
  return !FileList::ordinaryFiles(fromSystem(folder)).isEmpty();
}

// True when Export hands `input` to the address book, to-do list and memo pad export, as the
// console tool does: a desktop archive tagged as one of them (also a to-do list of a later
// desktop version), a file named but not read (a later address book or memo pad, a version-6
// database: that export says what it is), or a handheld database that is not a date book
// (also one of another application, which that export names). Everything else, a file that
// cannot be read included, goes to the date book's exports, which say what is wrong with it.
bool exportsOrganiser(const exporting::InputKind& input) {
  if (input.container == exporting::Container::kHandheld) {
    return input.records != archive::RecordKind::kDatebook;
  }
  switch (input.desktop) {
    case archive::ArchiveKind::kAddress:
    case archive::ArchiveKind::kTodo:
    case archive::ArchiveKind::kLaterTodo:
    case archive::ArchiveKind::kMemo:
      return true;
    default:
      return archive::namedNotRead(input.desktop);
  }
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent),
      presenter_([this](const QString& text) { showMessageBox(this, text); }),
      summaryPresenter_([this](const QString& text) { showScrollingMessageBox(this, text); }),
      quit_([] { QCoreApplication::quit(); }) {
  // An export that finds no entry leaves an earlier CSV as it was; the message says why.
  run_.keepEarlierWithoutEntries();
  createFrame();
  createLocationLists();
  createProgressFields();
  createDetailsFields();
  createOptionFields();
  createCalendarOption();
  createEverythingOption();
  createButtons();
  createTabOrder();
  startUp();
}

MainWindow::~MainWindow() = default;

std::string MainWindow::helpText() {
  return std::string(
             "Navigate to the directory that has the Datebook.dat file (normally "
             "c:\\palm\\{HotSyncName}\\datebook - "
             "where {HotSyncName} is the directory that corresponds to your HotSync User Name) "
             "select it and click on export."
             "The Keyword Delimiters (<>, [], {} etc.) can be used to extract text from journal "
             "note to 2nd column of output "
             "for sorting (delete them to avoid generating a blank column if you do not use this "
             "feature)."
             "\r\n\r\n"
             "The First column is the binary category number (0=Unfiled, 1=first user-defined "
             "category, etc.)."
             "\r\n"
             "The output file is placed in same directory with same filename but a .CSV "
             "extension. "
             "If you are usiing a non-English version of Orbisk3, you will need to select the "
             "right language and name of "
             "the Daily Journals."
             "\r\n"
             "If the times/dates do not match up in the CSV file, adjust the 'TimeZone "
             "HoursBias' value to compensate for what timezone you are in"
             "\r\n"
             "Check 'Also export the whole calendar' to write every event of the date book as "
             "well, journals and appointments alike, to an iCalendar file (.ics) in the same "
             "directory, with the times of your computer's time zone."
             "\r\n"
             "Address books, to-do lists and memo pads are exported too, whatever the file is "
             "called: select Address.dat, ToDo.dat or MemoPad.dat (or an archive file .aba, "
             ".tda or .mpa, or a handheld AddressDB, ToDoDB or MemoDB .pdb, or a later "
             "handheld's ContactsDB-PAdd, TasksDB-PTod or MemosDB-PMem .pdb) and click on export. "
             "The contacts go to a vCard file (.vcf), the to-dos to an iCalendar file (.ics) and "
             "each memo to a text file in a folder of the file's name, all in the same "
             "directory; an archive file's output gets -archive added to its name. The journal "
             "options do not apply to them and are greyed out while such a file is selected. "
             "A handheld DatebookDB.pdb or CalendarDB-PDat.pdb is exported as Datebook.dat is."
             "\r\n"
             "Check 'Export everything in this user folder' to export every archive of the user "
             "folder shown (or of the user folder above a datebook, address, todo or memopad "
             "directory) at once, into the directory of its name with -export beside it, as "
             "vessory-export --all does; the journal options apply to its date books. The "
             "directory also gets 'How to import.txt', which tells how to bring each file into "
             "other programs."
             "\r\n"
             "If you have any questions on this application, "
             "email Tamsford Software at ") +
         kSupportAddress;
}

void MainWindow::startUp() {
  StartPlaces places;
  places.home = QFile::encodeName(QDir::homePath()).toStdString();
  places.programFiles = systemPath(qEnvironmentVariable("ProgramFiles"));
  places.programFilesX86 = systemPath(qEnvironmentVariable("ProgramFiles(x86)"));
  places.documents =
      systemPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  UserFolderQueries queries;
  queries.subfolders = [](const std::string& folder) {
    std::vector<std::string> paths;
    const QDir dir(fromSystem(folder));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
      paths.push_back(systemPath(dir.filePath(name)));
    }
    return paths;
  };
  queries.holdsArchiveInKindFolder = [this](const std::string& folder) {
    return exporting::userFolderArchives(files_, folder).inKindFolder;
  };
  const StartFolder start = chooseStartFolder(buildPlatform(), places, holdsOrdinaryFile, queries);
  const QString folder = fromSystem(start.folder);
  // A start folder that cannot be opened leaves the lists at the root rather than empty.
  if (!folderList_->setPath(folder)) folderList_->setPath(QDir::rootPath());
  fileList_->setFolder(folderList_->path());
  const QString drive = start.drive.empty() ? folderList_->path() : fromSystem(start.drive);
  const QString root = driveList_->driveOf(drive);
  if (!root.isEmpty()) driveList_->setDrive(root);
  enableEverything();
  for (const char* name : kJournalNames) journalNames_->addItem(QString::fromLatin1(name));
  journalNames_->setEditText(QString::fromLatin1(kJournalNames[0]));
}

void MainWindow::onFolderChanged(const QString& path) {
  fileList_->setFolder(path);
  fileList_->refill();
  enableEverything();
  enableJournalOptions();
  const QString drive = driveList_->driveOf(path);
  if (!drive.isEmpty()) driveFolders_[drive] = path;
}

void MainWindow::onDriveChanged(const QString& root) {
  if (folderList_->setPath(driveFolders_.value(root, root))) return;
  if (folderList_->setPath(root)) return;
  // A drive that is not ready: the lists stay where they are, and so does the drive shown.
  driveList_->setDrive(driveList_->driveOf(folderList_->path()));
}

// While a run is under way the options stay as they were when it started: the journal's
// options are live, and the run goes on with the file it started with.
void MainWindow::onSelectionChanged() {
  if (!exportRunning()) enableJournalOptions();
}

void MainWindow::enableJournalOptions() {
  const exporting::InputKind input = selectedInput();
  const bool everything = everythingChosen();
  const bool enabled = everything || !exportsOrganiser(input);
  for (QWidget* option : journalOnly_) option->setEnabled(enabled);
  // The whole folder's export always writes the calendar and the daily notes.
  if (everything) alsoCalendar_->setEnabled(false);
  if (everything) alsoNotes_->setEnabled(false);
  showHandheldBias(input.container == exporting::Container::kHandheld &&
                   input.records == archive::RecordKind::kDatebook);
}

// A handheld date book keeps the times its own clock showed: the bias box shows 0 while one is
// selected, which the user may change, and the box's earlier text comes back afterwards unless
// the user changed the 0.
void MainWindow::showHandheldBias(bool handheld) {
  if (handheld == handheldBias_) return;
  handheldBias_ = handheld;
  if (handheld) {
    biasBeforeHandheld_ = hoursBias_->text();
    hoursBias_->setText(QStringLiteral("0"));
  } else if (hoursBias_->text() == QStringLiteral("0")) {
    hoursBias_->setText(biasBeforeHandheld_);
  }
}

// Decided again at every use: the file may have changed on the disk since it was selected.
exporting::InputKind MainWindow::selectedInput() {
  if (fileList_->selectedFileName().isEmpty()) return {};
  return exporting::identifyInput(files_, inputPath());
}

bool MainWindow::organiserSelected() { return exportsOrganiser(selectedInput()); }

void MainWindow::onExport() {
  if (exportRunning() || finished_) return;
  const bool hadFocus = exportButton_->hasFocus();
  exportButton_->setEnabled(false);
  if (everythingChosen()) {
    exportFolder();
  } else if (organiserSelected()) {
    organiserRunning_ = true;
    organiser_.run(*this);
    organiserRunning_ = false;
  } else if (alsoCalendar_->isChecked()) {
    prepareDailyNotes();
    withCalendar_.run(*this);
  } else {
    prepareDailyNotes();
    run_.run(*this);
  }
  if (finished_) return;
  exportButton_->setEnabled(true);
  enableJournalOptions();
  if (hadFocus) exportButton_->setFocus();
}

void MainWindow::prepareDailyNotes() {
  notes_.reset();
  std::string error;  // the archives' usual character set is always there
  if (alsoNotes_->isChecked()) notes_ = exporting::DailyNotesCollector::open({}, error);
  const std::string folder = journal::dailyNotesFolderBeside(inputPath());
  run_.writeDailyNotes(notes_.get(), folder);
  withCalendar_.writeDailyNotes(notes_.get(), folder);
}

void MainWindow::onHelp() { showMessage(helpText()); }

void MainWindow::onExit() { endProgram(); }

// The selected file's name joined to the folder shown: an empty name gives a path ending in
// the separator, which the run takes for "nothing selected".
std::string MainWindow::inputPath() {
  return exporting::joinPath(currentFolder(), selectedFileName());
}

std::string MainWindow::currentFolder() { return systemPath(fileList_->folder()); }

std::string MainWindow::selectedFileName() {
  return QFile::encodeName(fileList_->selectedFileName()).toStdString();
}

std::string MainWindow::journalNameText() { return latin1(journalNames_->currentText()); }

int MainWindow::showDetailsValue() { return checkValue(showDetails_); }

std::string MainWindow::keywordsText() { return latin1(keywords_->text()); }

int MainWindow::wordWrapValue() { return checkValue(wordWrap_); }

std::string MainWindow::hoursBiasBoxText() { return latin1(hoursBias_->text()); }

void MainWindow::showTotalRecords(const std::string& text) {
  totalRecords_->setText(fromLatin1(text));
}

void MainWindow::showThisRecord(const std::string& text) { thisRecord_->setText(fromLatin1(text)); }

void MainWindow::showJournalsFound(const std::string& text) {
  journalsFound_->setText(fromLatin1(text));
}

void MainWindow::showDateTime(const std::string& text) { dateTime_->setText(fromLatin1(text)); }

void MainWindow::setDescriptionBackColor(std::uint32_t color) {
  QPalette palette = description_->palette();
  palette.setColor(QPalette::Base, colorFor(color));
  description_->setPalette(palette);
}

void MainWindow::showDescription(const std::string& text) {
  description_->setPlainText(fromLatin1(text));
}

void MainWindow::processPendingEvents() {
  if (throttle_ && sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs) return;
  sinceEvents_.start();
  QCoreApplication::processEvents();
}

// Once the user has asked to end, nothing more is shown on the way out.
void MainWindow::showMessage(const std::string& text) {
  if (!endRequested_) presenter_(fromSystem(text));
}

// Files are the run's: when it calls this it has closed them, and when the user ends the
// program during a run, the run sees endRequested() and closes them before control gets back
// to the main loop, which only then stops.
void MainWindow::endProgram() {
  close();
  finish();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  finish();
}

void MainWindow::finish() {
  endRequested_ = true;
  if (finished_) return;
  finished_ = true;
  quit_();
}

}  // namespace vessory::window
