#ifndef VESSORY_WINDOW_MAIN_WINDOW_H_
#define VESSORY_WINDOW_MAIN_WINDOW_H_

#include <QElapsedTimer>
#include <QHash>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/export_files.h"
#include "export/daily_notes_step.h"
#include "export/export_run.h"
#include "export/export_view.h"
#include "export/folder_export.h"
#include "export/input_kind.h"
#include "export/journal_and_calendar.h"
#include "export/organiser_run.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vessory::window {

// The export's vocabulary, used throughout this front end.
using files::DiskFiles;
using files::ExportFiles;
using exporting::ExportOutcome;
using exporting::ExportRun;
using exporting::ExportView;
using exporting::kChecked;
using exporting::kGreyed;
using exporting::kMenuBackgroundColor;
using exporting::kUnchecked;
using exporting::kWindowBackgroundColor;

class DriveList;
class FileList;
class FolderList;

// The program's only window: drive, folder and file lists to pick an archive, the export
// options, the progress fields, and the Export, Exit and Help buttons. It is the export run's
// view, and the calendar run's when the whole calendar is wanted too; for an address book,
// to-do list or memo pad (told by the selected file's content) it is the view of that export,
// and the options only the journal reads are disabled while such a file is selected. With
// "Export everything in this user folder" ticked, Export runs the export of the whole user folder
// that the folder shown belongs to (see main_window_folder.cpp), the journal's options applying
// to its date books; the box is enabled only while that user folder holds an archive. A run
// executes inside the Export click on the window's thread and lets the window act only through
// processPendingEvents, so Exit, Help, closing and edits to the live options happen between two
// records.
//
// Every control carries its classic name as object name ("ReadDate", "HoursBias", ...). The
// start-up folder is chosen in the constructor. Archive text is shown as Latin-1 and option
// texts go to the run as Latin-1 bytes; paths and messages are shown as the system encodes
// file names. A QApplication must exist for the window's whole life.
class MainWindow : public QWidget, public exporting::JournalView {
  Q_OBJECT

 public:
  using MessagePresenter = std::function<void(const QString& text)>;

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The text of the Help button's message.
  static std::string helpText();

  // Replaces the modal message box and the whole folder's summary box (tests record the texts
  // instead).
  void setMessagePresenter(MessagePresenter presenter) {
    presenter_ = presenter;
    summaryPresenter_ = std::move(presenter);
  }
  // What ending the program does once the window has closed; QCoreApplication::quit by default.
  void setQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
  // On (the default), processPendingEvents returns at once when it processed events less than
  // 10 ms ago; off, it processes them on every call.
  void setEventThrottle(bool on) { throttle_ = on; }
  bool exportRunning() const {
    return run_.running() || withCalendar_.running() || organiserRunning_ || folderRunning_;
  }

  // ExportView.
  std::string inputPath() override;
  // The folder shown and the file selected in it (empty when none), as the run is given them.
  std::string currentFolder();
  std::string selectedFileName();
  std::string journalNameText() override;
  int showDetailsValue() override;
  std::string keywordsText() override;
  int wordWrapValue() override;
  std::string hoursBiasBoxText() override;
  void showTotalRecords(const std::string& text) override;
  void showThisRecord(const std::string& text) override;
  void showJournalsFound(const std::string& text) override;
  void showDateTime(const std::string& text) override;
  void setDescriptionBackColor(std::uint32_t color) override;
  void showDescription(const std::string& text) override;
  void processPendingEvents() override;
  void showMessage(const std::string& text) override;
  void endProgram() override;
  bool endRequested() override { return endRequested_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Control creation, in main_window_controls.cpp.
  void createFrame();
  void createLocationLists();
  void createProgressFields();
  void createDetailsFields();
  void createOptionFields();
  void createCalendarOption();
  void createEverythingOption();
  void createButtons();
  void createTabOrder();
  QLabel* createLabel(const char* name, const char* caption, int left, int top, int width,
                      int height);
  QLineEdit* createTextBox(const char* name, const char* text, int left, int top, int width,
                           int height);

  void startUp();
  void onFolderChanged(const QString& path);
  void onDriveChanged(const QString& root);
  void onSelectionChanged();
  // Enables the journal's options unless the selected file is exported as contacts, to-dos or
  // memos.
  void enableJournalOptions();
  bool organiserSelected();
  exporting::InputKind selectedInput();
  void showHandheldBias(bool handheld);
  void onExport();
  // Hands the journal runs a fresh collector and the folder beside the archive when the daily
  // notes are asked for, and nothing otherwise.
  void prepareDailyNotes();
  // The whole user folder, in main_window_folder.cpp.
  bool everythingChosen() const;
  void enableEverything();
  exporting::FolderSettings folderSettings();
  void exportFolder();
  void showFolderResult(const exporting::FolderResult& result);
  void onHelp();
  void onExit();
  void finish();

  DriveList* driveList_ = nullptr;
  FolderList* folderList_ = nullptr;
  FileList* fileList_ = nullptr;
  QLineEdit* thisRecord_ = nullptr;
  QLineEdit* totalRecords_ = nullptr;
  QLineEdit* journalsFound_ = nullptr;
  QLineEdit* keywords_ = nullptr;
  QLineEdit* hoursBias_ = nullptr;
  bool handheldBias_ = false;       // the bias box shows the handheld's 0
  QString biasBeforeHandheld_;     // what it showed before
  QLineEdit* dateTime_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QCheckBox* showDetails_ = nullptr;
  QCheckBox* wordWrap_ = nullptr;
  QCheckBox* alsoCalendar_ = nullptr;
  QCheckBox* alsoNotes_ = nullptr;
  // The daily notes of the press under way, when asked for.
  std::unique_ptr<exporting::DailyNotesCollector> notes_;
  QCheckBox* everything_ = nullptr;
  // The user folder of the folder shown holds an archive, as found when the folder was shown.
  bool userFolderHeld_ = false;
  QComboBox* journalNames_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  // The options only the journal export reads, with their captions.
  std::vector<QWidget*> journalOnly_;

  // The folder last shown on each drive, where choosing that drive again returns.
  QHash<QString, QString> driveFolders_;

  files::DiskFiles files_;
  ExportRun run_{files_};
  exporting::JournalAndCalendarRun withCalendar_{files_};
  // System zone, the archives' usual character set, deleted records left out.
  exporting::OrganiserRun organiser_{files_, exporting::OrganiserSettings{}};
  MessagePresenter presenter_;
  MessagePresenter summaryPresenter_;
  std::function<void()> quit_;
  QElapsedTimer sinceEvents_;
  bool throttle_ = true;
  bool endRequested_ = false;
  bool organiserRunning_ = false;
  bool folderRunning_ = false;
  bool finished_ = false;
};

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_MAIN_WINDOW_H_
