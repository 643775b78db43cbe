#include "window_fixture.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "windows_window/disk_lists.h"

namespace vessory::windows_window {

namespace fs = std::filesystem;

void WindowTest::SetUp() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  work_ = joinWide(temp, L"vessory-window-" + std::to_wstring(GetCurrentProcessId()));
  removeTree(work_);
  fs::create_directories(fs::path(work_));
}

void WindowTest::TearDown() {
  window_.reset();
  pump();
  removeTree(work_);
}

void WindowTest::open(const std::wstring& path) {
  window_ = std::make_unique<MainWindow>();
  window_->setMessagePresenter([this](const std::wstring& text, bool summary) {
    (summary ? summaries_ : messages_).push_back(text);
  });
  window_->setQuitAction([this] { ++quits_; });
  window_->setEventThrottle(false);
  ASSERT_TRUE(window_->create(GetModuleHandleW(nullptr)));
  ShowWindow(window_->handle(), SW_SHOWNOACTIVATE);
  window_->openPath(path);
  pump();
}

void WindowTest::click(const char* name) { SendMessageW(control(name), BM_CLICK, 0, 0); }

void WindowTest::type(const char* name, const std::wstring& text) {
  SendMessageW(control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Picks the line `text` of a list (a file list or a drop-down list) as a click does, and tells
// the window as the list would.
void WindowTest::choose(const char* name, const std::wstring& text, bool dropDown) {
  const HWND list = control(name);
  const auto at = SendMessageW(list, dropDown ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                               static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_NE(at, dropDown ? CB_ERR : LB_ERR) << "no line of that text";
  SendMessageW(list, dropDown ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  SendMessageW(window_->handle(), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(list), dropDown ? CBN_SELCHANGE : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  pump();
}

void WindowTest::drop(const std::wstring& path) {
  // What Explorer hands over: a DROPFILES header, then the paths, each ended by a 0, and a 0.
  const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path.c_str(),
              path.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(window_->handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  pump();
}

void WindowTest::pressAlt(wchar_t key) {
  MSG message{GetFocus() != nullptr ? GetFocus() : window_->handle(), WM_SYSCHAR,
              static_cast<WPARAM>(key), static_cast<LPARAM>(1u << 29), 0, {}};
  if (!window_->isDialogMessage(message)) DispatchMessageW(&message);
  pump();
}

std::vector<std::wstring> WindowTest::listLines(const char* name) const {
  const HWND list = control(name);
  const bool combo = std::string_view(name) == "Drive1" || std::string_view(name) == "CMBJournalNames";
  const auto count = SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::wstring> lines;
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring line(
        static_cast<std::size_t>(SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)),
        L'\0');
    SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    lines.push_back(line);
  }
  return lines;
}

std::wstring WindowTest::textOf(const char* name) const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control(name))) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control(name), text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

void WindowTest::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

std::string readFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> filesBelow(const std::wstring& folder) {
  std::vector<std::wstring> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder), error)) {
    if (entry.is_regular_file()) {
      files.push_back(fs::relative(entry.path(), fs::path(folder)).generic_wstring());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void copyTree(const std::wstring& from, const std::wstring& to) {
  fs::copy(fs::path(from), fs::path(to), fs::copy_options::recursive);
}

void removeTree(const std::wstring& folder) {
  std::error_code error;
  fs::remove_all(fs::path(folder), error);
}

std::wstring casesFolder() {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"VESSORY_WINDOW_CASES", value, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(value);
}

}  // namespace vessory::windows_window
