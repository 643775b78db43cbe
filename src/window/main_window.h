#ifndef VESSORY_WINDOW_MAIN_WINDOW_H_
#define VESSORY_WINDOW_MAIN_WINDOW_H_

#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "export/export_view.h"
#include "files/export_files.h"
#include "window_model/window_controls.h"
#include "window_model/window_layout.h"
#include "window_model/window_model.h"

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
  // A folder or file named on the command line: see WindowModel::openPath.
  void openPath(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Control creation, in main_window_controls.cpp.
  void createFrame();
  void createControls();
  QWidget* createControl(const window_model::ControlLayout& layout);
  void forwardEvents();

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
  bool selectFile(const std::string& name) override;
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
  // The controls the model reads and sets, and the buttons by their classic names.
  std::map<Control, QWidget*> controls_;
  std::map<std::string, QPushButton*> buttons_;
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
