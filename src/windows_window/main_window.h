#ifndef VESSORY_WINDOWS_WINDOW_MAIN_WINDOW_H_
#define VESSORY_WINDOWS_WINDOW_MAIN_WINDOW_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "files/export_files.h"
#include "window_model/window_controls.h"
#include "window_model/window_layout.h"
#include "window_model/window_model.h"
#include "windows_window/dpi_scale.h"
#include "windows_window/win_handles.h"

namespace vessory::windows_window {

using window_model::Control;

// The command identifier of the layout table's first control; the others follow in its order.
inline constexpr int kFirstControlId = 1000;

// The program's window on Windows, made of the system's own controls: it creates the classic
// controls of the layout table (window_model/window_layout.h) at the monitor's density, fills
// the drive, folder and file lists from the disk, and forwards every event to the window model,
// which does everything else and sets the controls through this window. One window procedure
// handles every message.
//
// Lifetime: create() makes the window and runs the model's start-up; the object must outlive
// the window, which is destroyed by the model's end (Exit, the final message, closing) or by the
// destructor. Single-threaded: every call on the thread that created it, which runs a message
// loop passing each message through isDialogMessage (for Tab and the access keys).
class MainWindow : private window_model::WindowControls {
 public:
  // Shows a message (false) or the whole folder's summary (true), and returns once it is
  // closed.
  using MessagePresenter = std::function<void(const std::wstring& text, bool summary)>;

  MainWindow();
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the window class once per process and creates the window, hidden; false when
  // the system refuses.
  bool create(HINSTANCE instance);
  HWND handle() const { return window_; }
  // The control of that classic name (nullptr when none).
  HWND control(const char* name) const;

  // Replaces the message boxes (tests record the texts instead).
  void setMessagePresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }
  // What ending the program does; posting WM_QUIT by default.
  void setQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
  void setEventThrottle(bool on) { model_.setEventThrottle(on); }
  bool exportRunning() const { return model_.exportRunning(); }
  // A folder or file named on the command line or dropped on the window.
  void openPath(const std::wstring& path);
  // Tab, Shift+Tab, Enter and the access keys (Alt+E, Alt+X, Alt+H...) for this window.
  bool isDialogMessage(MSG& message);

 private:
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(UINT message, WPARAM w, LPARAM l);
  void onCommand(int id, int code);
  void onDrawFolder(const DRAWITEMSTRUCT& item);
  void onDpiChanged(int dpi, const RECT& suggested);

  // Control creation and placement, in main_window_controls.cpp.
  void createControls();
  HWND createControl(const window_model::ControlLayout& layout, int id);
  void placeControls();
  HFONT fontFor(const window_model::ControlLayout& layout);
  int labelWidth(const window_model::ControlLayout& label, HWND control);
  void fillDrives();
  void fillFolders();
  void fillFiles();
  void openFolderEntry();

  // WindowControls: the location lists, in main_window_lists.cpp.
  std::string driveOf(const std::string& path) override;
  void showDrive(const std::string& root) override;
  std::string shownFolder() override;
  bool showFolder(const std::string& folder) override;
  void showFilesOf(const std::string& folder) override;
  void refillFiles() override;
  std::string selectedFileName() override;
  bool selectFile(const std::string& name) override;
  // What the start folder's search asks of the machine.
  window_model::StartPlaces startPlaces() override;
  std::vector<std::string> subfolders(const std::string& folder) override;
  bool holdsOrdinaryFile(const std::string& folder) override;
  std::string rootFolder() override;
  // The boxes, in main_window.cpp.
  std::string text(Control control) override;
  void setText(Control control, const std::string& text) override;
  void setSystemText(Control control, const std::string& text) override;
  void addListItem(Control control, const std::string& text) override;
  void setDescriptionBackColor(std::uint32_t color) override;
  int checkValue(Control control) override;
  // Enabled and focused controls.
  bool controlEnabled(Control control) override;
  void enableControl(Control control, bool on) override;
  bool controlHasFocus(Control control) override;
  void focusControl(Control control) override;
  // Messages, events and the end, in main_window_lists.cpp.
  void showMessage(const std::string& text) override { present(text, false); }
  void showSummary(const std::string& text) override { present(text, true); }
  void present(const std::string& text, bool summary);
  void processPendingEvents() override;
  void closeWindow() override;
  void quit() override;
  HWND controlFor(Control control) const;

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  DpiScale scale_{96};
  // The controls in the layout table's order, and the fonts they use by size and weight.
  std::vector<HWND> controls_;
  std::map<std::pair<double, bool>, Font> fonts_;
  Brush descriptionBrush_;
  COLORREF descriptionColor_ = 0;
  std::wstring folder_;       // the folder the folder list shows
  std::wstring filesFolder_;  // the folder the file list lists
  std::wstring drive_;        // the drive the drive list shows
  std::vector<std::wstring> folderPaths_;  // what each line of the folder list opens
  std::vector<int> folderDepths_;
  bool closing_ = false;      // the window is going: messages are not shown any more

  files::DiskFiles files_;
  window_model::WindowModel model_{*this, files_};
  MessagePresenter presenter_;
  std::function<void()> quit_ = [] { PostQuitMessage(0); };
};

}  // namespace vessory::windows_window

#endif  // VESSORY_WINDOWS_WINDOW_MAIN_WINDOW_H_
