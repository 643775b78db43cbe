// The export of a whole user folder from the window: which folder, with which options, its
// progress in the window's fields and its summary in a box of its own.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "export/import_guide.h"
#include "export/user_folder.h"
#include "window/location_lists.h"
#include "window/main_window.h"

namespace vessory::window {

namespace {

QString fromSystem(const std::string& text) {
  return QFile::decodeName(QByteArray::fromStdString(text));
}

// Progress of each archive in the window's fields. The runs' records come one by one; the
// archive's name shows in the description box until details replace it. A date book is read
// twice (its journal, then its calendar): the count of records read stays where the journal
// left it rather than going back to 1, and the description box counts the calendar's records.
class WindowFolderView : public exporting::FolderView {
 public:
  WindowFolderView(MainWindow& window, QPlainTextEdit& description)
      : window_(window), description_(description) {}

  void archiveStarted(const std::string& name) override {
    name_ = fromSystem(name);
    highest_ = 0;
    secondReading_ = false;
    window_.showThisRecord("0");
    window_.showTotalRecords("0");
    window_.showJournalsFound("0");
    description_.setPlainText(QStringLiteral("Exporting ") + name_);
  }
  void showJournalsFound(const std::string& text) override { window_.showJournalsFound(text); }
  void archiveRead(const std::string&, std::int64_t) override {}
  void showDetail(const std::string& label, const std::string& description) override {
    window_.showDateTime(label);
    window_.showDescription(description);
  }
  void showTotalRecords(const std::string& text) override { window_.showTotalRecords(text); }
  void showThisRecord(const std::string& text) override {
    const std::int64_t read = std::stoll(text);
    if (read < highest_ || secondReading_) {
      secondReading_ = true;
      description_.setPlainText(QStringLiteral("Exporting %1: its calendar, record %2")
                                    .arg(name_, QString::fromStdString(text)));
      return;
    }
    highest_ = read;
    window_.showThisRecord(text);
  }
  void processPendingEvents() override { window_.processPendingEvents(); }
  bool endRequested() override { return window_.endRequested(); }

 private:
  MainWindow& window_;
  QPlainTextEdit& description_;
  QString name_;               // the archive under way
  std::int64_t highest_ = 0;   // its records read
  bool secondReading_ = false;  // its calendar is under way
};

}  // namespace

bool MainWindow::everythingChosen() const {
  return everything_->isEnabled() && everything_->isChecked();
}

// Looked up when a folder is shown, not at every click: the file list is as old as that too.
void MainWindow::enableEverything() {
  userFolderHeld_ =
      exporting::userFolderArchives(files_, exporting::userFolderOf(currentFolder())).any();
  everything_->setEnabled(userFolderHeld_);
}

// The window's journal options, fixed for the whole run. The bias box applies to the desktop's
// date books; a handheld date book keeps its own clock's times unless the user typed a bias
// while one was selected (the box then showed the handheld's 0, and what it showed before is the
// desktop's bias).
exporting::FolderSettings MainWindow::folderSettings() {
  exporting::FolderSettings settings;
  settings.importGuide = true;
  settings.folder = exporting::userFolderOf(currentFolder());
  settings.journalText = journalNameText();
  settings.keywords = keywordsText();
  const QString bias = hoursBias_->text();
  settings.bias = bias.toLatin1().toStdString();
  if (handheldBias_ && bias == QStringLiteral("0")) {
    settings.bias = biasBeforeHandheld_.toLatin1().toStdString();
  } else if (handheldBias_) {
    settings.biasGiven = true;
  }
  settings.wordWrap = wordWrap_->isChecked();
  settings.details = showDetails_->isChecked();
  return settings;
}

void MainWindow::exportFolder() {
  folderRunning_ = true;
  WindowFolderView view(*this, *description_);
  if (showDetails_->isChecked()) setDescriptionBackColor(exporting::kWindowBackgroundColor);
  const exporting::FolderResult result =
      exporting::FolderExport(files_, folderSettings()).run(view);
  setDescriptionBackColor(exporting::kMenuBackgroundColor);
  folderRunning_ = false;
  if (endRequested_) return;
  showFolderResult(result);
}

// The summary as the console tool prints it; then the program ends, as after every export that
// wrote something. A folder that could not be exported leaves the window open.
void MainWindow::showFolderResult(const exporting::FolderResult& result) {
  if (result.status != exporting::FolderStatus::kExported) {
    showMessage(result.problem);
    fileList_->refill();
    return;
  }
  std::string text = "Exported " + exporting::userFolderOf(currentFolder()) + " into " +
                     result.outputFolder + ":\r\n";
  for (const exporting::ArchiveReport& report : result.archives) {
    text += exporting::summaryLine(report) + "\r\n";
  }
  if (!result.guidePath.empty()) {
    text += std::string("\r\n") + exporting::kImportGuideName +
            " in that folder tells how to bring these files into other programs.";
  } else if (!result.guideError.empty()) {
    text += "\r\n" + result.guideError;
  }
  summaryPresenter_(fromSystem(text));
  endProgram();
}

}  // namespace vessory::window
