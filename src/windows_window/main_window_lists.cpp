// The Windows window's location lists, messages and event pumping, as the window model asks
// for them.

#include "windows_window/main_window.h"

#include <shlobj.h>

#include "windows_window/disk_lists.h"
#include "windows_window/summary_dialog.h"
#include "windows_window/wide_text.h"
#include "window_model/folder_entries.h"

namespace vessory::windows_window {

namespace {

std::string environment(const wchar_t* name) {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : toSystem(value);
}

std::string documentsFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path) == S_OK) folder = toSystem(path);
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::string MainWindow::shownFolder() { return toSystem(filesFolder_); }

std::string MainWindow::selectedFileName() {
  const HWND list = control("File1");
  const auto at = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return {};
  std::wstring name(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, at, 0)), L'\0');
  SendMessageW(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(name.data()));
  return toSystem(name);
}

// A move to another folder refills the folder list and tells the model, which sets the file
// list's folder and refills it.
bool MainWindow::showFolder(const std::string& folder) {
  const std::wstring path = fullPath(fromSystem(folder));
  if (!isReadableFolder(path)) return false;
  if (path == folder_) return true;
  folder_ = path;
  fillFolders();
  model_.folderChanged(toSystem(path));
  return true;
}

void MainWindow::refillFiles() { fillFiles(); }

bool MainWindow::selectFile(const std::string& name) {
  const std::wstring wide = fromSystem(name);
  const HWND list = control("File1");
  const auto at = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(wide.c_str()));
  if (at == LB_ERR) return false;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  return true;
}

void MainWindow::showFilesOf(const std::string& folder) { filesFolder_ = fromSystem(folder); }

std::string MainWindow::driveOf(const std::string& path) {
  std::vector<std::string> roots;
  for (const std::wstring& root : machineDrives()) roots.push_back(toSystem(root));
  return window_model::driveHolding(window_model::Platform::kWindows, path, roots);
}

void MainWindow::showDrive(const std::string& root) {
  const std::wstring wide = fromSystem(root);
  const HWND list = control("Drive1");
  auto at = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(wide.c_str()));
  if (at == CB_ERR) at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  if (wide == drive_) return;
  drive_ = wide;
  model_.driveChanged(root);
}

std::string MainWindow::rootFolder() {
  const std::string system = environment(L"SystemDrive");
  return (system.empty() ? std::string("C:") : system) + "\\";
}

window_model::StartPlaces MainWindow::startPlaces() {
  return {environment(L"USERPROFILE"), environment(L"ProgramFiles"),
          environment(L"ProgramFiles(x86)"), documentsFolder()};
}

bool MainWindow::holdsOrdinaryFile(const std::string& folder) {
  return !ordinaryFiles(fromSystem(folder)).empty();
}

std::vector<std::string> MainWindow::subfolders(const std::string& folder) {
  std::vector<std::string> paths;
  for (const std::wstring& path : windows_window::subfolders(fromSystem(folder))) {
    paths.push_back(toSystem(path));
  }
  return paths;
}

void MainWindow::present(const std::string& text, bool summary) {
  if (closing_) return;
  const std::wstring wide = withCrLf(fromSystem(text));
  if (presenter_) {
    presenter_(wide, summary);
  } else if (summary) {
    showSummaryDialog(instance_, window_, wide);
  } else {
    MessageBoxW(window_, wide.c_str(), fromSystem(window_model::kMessageTitle).c_str(), MB_OK);
  }
}

// Every message waiting, through the dialog manager as the main loop does. A quit request is
// left for the main loop.
void MainWindow::processPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (isDialogMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// During a run the window only hides: the run still reads its options until it sees the end
// and closes its files; the window goes when control is back in the main loop.
void MainWindow::closeWindow() {
  if (window_ == nullptr) return;
  if (model_.exportRunning()) {
    closing_ = true;
    ShowWindow(window_, SW_HIDE);
    model_.windowClosed();
    return;
  }
  DestroyWindow(window_);
}

void MainWindow::quit() { quit_(); }

}  // namespace vessory::windows_window
