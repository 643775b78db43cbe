#ifndef VESSORY_WINDOW_MAIN_WINDOW_H_
#define VESSORY_WINDOW_MAIN_WINDOW_H_

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/export_view.h"
#include "files/export_files.h"
#include "window_model/window_controls.h"
#include "window_model/window_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vessory::window {

using window_model::Control;
using exporting::kChecked;
using exporting::kGreyed;
using exporting::kUnchecked;

class DriveList;
class FileList;
class FolderList;

// The program's only window on Qt: it makes the classic controls (drive, folder and file lists,
// the export options, the progress fields, the Export, Exit and Help buttons, and the rows it
// grew by) and forwards their events to the window model, which does everything else and sets
// the controls through this window (window_model/window_model.h).
//
// Every control carries its classic name as object name ("ReadDate", "HoursBias", ...). The
// start-up folder is chosen in the constructor. Archive text is shown as Latin-1 and option
// texts go to the model as Latin-1 bytes; paths and messages are shown as the system encodes
// file names. A QApplication must exist for the window's whole life.
class MainWindow : public QWidget, private window_model::WindowControls {
  Q_OBJECT

 public:
  using MessagePresenter = std::function<void(const QString& text)>;

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The text of the Help button's message.
  static std::string helpText() { return window_model::WindowModel::helpText(); }

  // Replaces the modal message box and the whole folder's summary box (tests record the texts
  // instead).
  void setMessagePresenter(MessagePresenter presenter) {
    presenter_ = presenter;
    summaryPresenter_ = std::move(presenter);
  }
  // What ending the program does once the window has closed; QCoreApplication::quit by default.
  void setQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
  // See WindowModel::setEventThrottle.
  void setEventThrottle(bool on) { model_.setEventThrottle(on); }
  bool exportRunning() const { return model_.exportRunning(); }

  // What the model reads and shows, for the window's tests.
  std::string inputPath() { return model_.inputPath(); }
  std::string currentFolder() { return model_.currentFolder(); }
  // The file selected in the folder shown, as the run is given it (empty when none).
  std::string selectedFileName() override;
  std::string journalNameText() { return model_.journalNameText(); }
  int showDetailsValue() { return model_.showDetailsValue(); }
  int wordWrapValue() { return model_.wordWrapValue(); }
  void showTotalRecords(const std::string& text) { model_.showTotalRecords(text); }
  bool endRequested() { return model_.endRequested(); }

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
  void forwardEvents();
  QLabel* createLabel(const char* name, const char* caption, int left, int top, int width,
                      int height);
  QLineEdit* createTextBox(const char* name, const char* text, int left, int top, int width,
                           int height);

  // WindowControls, in main_window.cpp.
  std::string text(Control control) override;
  void setText(Control control, const std::string& text) override;
  void setSystemText(Control control, const std::string& text) override;
  int checkValue(Control control) override;
  bool controlEnabled(Control control) override;
  void enableControl(Control control, bool on) override;
  bool controlHasFocus(Control control) override;
  void focusControl(Control control) override;
  void addListItem(Control control, const std::string& text) override;
  void setDescriptionBackColor(std::uint32_t color) override;
  std::string shownFolder() override;
  bool showFolder(const std::string& folder) override;
  void refillFiles() override;
  void showFilesOf(const std::string& folder) override;
  std::string driveOf(const std::string& path) override;
  void showDrive(const std::string& root) override;
  std::string rootFolder() override;
  window_model::StartPlaces startPlaces() override;
  bool holdsOrdinaryFile(const std::string& folder) override;
  std::vector<std::string> subfolders(const std::string& folder) override;
  void showMessage(const std::string& text) override;
  void showSummary(const std::string& text) override;
  void processPendingEvents() override;
  void closeWindow() override;
  void quit() override;
  QWidget* widget(Control control) const;

  DriveList* driveList_ = nullptr;
  FolderList* folderList_ = nullptr;
  FileList* fileList_ = nullptr;
  QLineEdit* thisRecord_ = nullptr;
  QLineEdit* totalRecords_ = nullptr;
  QLineEdit* journalsFound_ = nullptr;
  QLineEdit* keywords_ = nullptr;
  QLineEdit* hoursBias_ = nullptr;
  QLineEdit* dateTime_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QCheckBox* showDetails_ = nullptr;
  QCheckBox* wordWrap_ = nullptr;
  QCheckBox* alsoCalendar_ = nullptr;
  QCheckBox* alsoNotes_ = nullptr;
  QCheckBox* everything_ = nullptr;
  QComboBox* journalNames_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  // The options only the journal export reads, with their captions.
  std::vector<QWidget*> journalOnly_;

  files::DiskFiles files_;
  window_model::WindowModel model_{*this, files_};
  MessagePresenter presenter_;
  MessagePresenter summaryPresenter_;
  std::function<void()> quit_;
};

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_MAIN_WINDOW_H_
