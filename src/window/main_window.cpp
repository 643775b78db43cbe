#include "window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "window/location_lists.h"
#include "window/message_presenter.h"

namespace vessory::window {

namespace {

using exporting::kMenuBackgroundColor;
using exporting::kWindowBackgroundColor;

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

// A system colour reference has the high bit set and the colour index in its low byte;
// anything else is a colour 0x00BBGGRR.
QColor colorFor(std::uint32_t color) {
  if (color == kMenuBackgroundColor) return QApplication::palette("QMenu").color(QPalette::Window);
  if (color == kWindowBackgroundColor) return QApplication::palette().color(QPalette::Base);
  if (color & 0x80000000u) return QApplication::palette().color(QPalette::Window);
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent),
      presenter_([this](const QString& text) { showMessageBox(this, text); }),
      summaryPresenter_([this](const QString& text) { showScrollingMessageBox(this, text); }),
      quit_([] { QCoreApplication::quit(); }) {
  createFrame();
  createControls();
  forwardEvents();
  model_.startUp();
}

// Paths go to the model as the run opens them.
void MainWindow::forwardEvents() {
  connect(folderList_, &FolderList::pathChanged, this,
          [this](const QString& path) { model_.folderChanged(systemPath(path)); });
  connect(driveList_, &DriveList::driveChanged, this,
          [this](const QString& root) { model_.driveChanged(systemPath(root)); });
  connect(fileList_, &FileList::itemSelectionChanged, this, [this] { model_.selectionChanged(); });
  connect(qobject_cast<QCheckBox*>(widget(Control::kEverything)), &QCheckBox::toggled, this,
          [this] { model_.everythingToggled(); });
  connect(buttons_["ReadDate"], &QPushButton::clicked, this, [this] { model_.exportPressed(); });
  connect(buttons_["Exit"], &QPushButton::clicked, this, [this] { model_.exitPressed(); });
  connect(buttons_["Help"], &QPushButton::clicked, this, [this] { model_.helpPressed(); });
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::widget(Control control) const {
  const auto found = controls_.find(control);
  return found == controls_.end() ? nullptr : found->second;
}

void MainWindow::openPath(const QString& path) {
  model_.openPath(systemPath(QFileInfo(path).absoluteFilePath()));
}

std::string MainWindow::text(Control control) {
  QWidget* shown = widget(control);
  if (auto* box = qobject_cast<QLineEdit*>(shown)) return latin1(box->text());
  if (auto* list = qobject_cast<QComboBox*>(shown)) return latin1(list->currentText());
  if (auto* area = qobject_cast<QPlainTextEdit*>(shown)) return latin1(area->toPlainText());
  return {};
}

void MainWindow::setText(Control control, const std::string& text) {
  QWidget* shown = widget(control);
  if (auto* box = qobject_cast<QLineEdit*>(shown)) box->setText(fromLatin1(text));
  if (auto* list = qobject_cast<QComboBox*>(shown)) list->setEditText(fromLatin1(text));
  if (auto* area = qobject_cast<QPlainTextEdit*>(shown)) area->setPlainText(fromLatin1(text));
}

void MainWindow::setSystemText(Control control, const std::string& text) {
  if (auto* area = qobject_cast<QPlainTextEdit*>(widget(control))) {
    area->setPlainText(fromSystem(text));
  }
}

int MainWindow::checkValue(Control control) {
  const auto* box = qobject_cast<QCheckBox*>(widget(control));
  if (box == nullptr) return kUnchecked;
  switch (box->checkState()) {
    case Qt::Checked:
      return kChecked;
    case Qt::PartiallyChecked:
      return kGreyed;
    default:
      return kUnchecked;
  }
}

bool MainWindow::controlEnabled(Control control) {
  const QWidget* shown = widget(control);
  return shown != nullptr && shown->isEnabled();
}

void MainWindow::enableControl(Control control, bool on) {
  if (control == Control::kJournalOnly) {
    for (QWidget* option : journalOnly_) option->setEnabled(on);
  } else if (QWidget* shown = widget(control)) {
    shown->setEnabled(on);
  }
}

bool MainWindow::controlHasFocus(Control control) {
  const QWidget* shown = widget(control);
  return shown != nullptr && shown->hasFocus();
}

void MainWindow::focusControl(Control control) {
  if (QWidget* shown = widget(control)) shown->setFocus();
}

void MainWindow::addListItem(Control control, const std::string& text) {
  if (auto* list = qobject_cast<QComboBox*>(widget(control))) list->addItem(fromLatin1(text));
}

void MainWindow::setDescriptionBackColor(std::uint32_t color) {
  QWidget* description = widget(Control::kDescription);
  QPalette palette = description->palette();
  palette.setColor(QPalette::Base, colorFor(color));
  description->setPalette(palette);
}

std::string MainWindow::shownFolder() { return systemPath(fileList_->folder()); }

std::string MainWindow::selectedFileName() {
  return QFile::encodeName(fileList_->selectedFileName()).toStdString();
}

bool MainWindow::showFolder(const std::string& folder) {
  return folderList_->setPath(fromSystem(folder));
}

void MainWindow::refillFiles() { fileList_->refill(); }

bool MainWindow::selectFile(const std::string& name) {
  const QList<QListWidgetItem*> found = fileList_->findItems(fromSystem(name), Qt::MatchExactly);
  if (found.isEmpty()) return false;
  fileList_->setCurrentItem(found.front());
  return true;
}

void MainWindow::showFilesOf(const std::string& folder) { fileList_->setFolder(fromSystem(folder)); }

std::string MainWindow::driveOf(const std::string& path) {
  return systemPath(driveList_->driveOf(fromSystem(path)));
}

void MainWindow::showDrive(const std::string& root) { driveList_->setDrive(fromSystem(root)); }

std::string MainWindow::rootFolder() { return systemPath(QDir::rootPath()); }

window_model::StartPlaces MainWindow::startPlaces() {
  window_model::StartPlaces places;
  places.home = QFile::encodeName(QDir::homePath()).toStdString();
  places.programFiles = systemPath(qEnvironmentVariable("ProgramFiles"));
  places.programFilesX86 = systemPath(qEnvironmentVariable("ProgramFiles(x86)"));
  places.documents =
      systemPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  return places;
}

bool MainWindow::holdsOrdinaryFile(const std::string& folder) {
  return !FileList::ordinaryFiles(fromSystem(folder)).isEmpty();
}

std::vector<std::string> MainWindow::subfolders(const std::string& folder) {
  std::vector<std::string> paths;
  const QDir dir(fromSystem(folder));
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    paths.push_back(systemPath(dir.filePath(name)));
  }
  return paths;
}

void MainWindow::showMessage(const std::string& text) { presenter_(fromSystem(text)); }

void MainWindow::showSummary(const std::string& text) { summaryPresenter_(fromSystem(text)); }

void MainWindow::processPendingEvents() { QCoreApplication::processEvents(); }

void MainWindow::closeWindow() { close(); }

void MainWindow::quit() { quit_(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  model_.windowClosed();
}

}  // namespace vessory::window
