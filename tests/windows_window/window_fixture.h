// The Windows window created for real in the test's own process, driven with window messages
// as the user's clicks and keys send them, its messages recorded instead of shown. Needs a
// display (Wine under Xvfb).

#ifndef VESSORY_TESTS_WINDOWS_WINDOW_WINDOW_FIXTURE_H_
#define VESSORY_TESTS_WINDOWS_WINDOW_WINDOW_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "windows_window/main_window.h"

namespace vessory::windows_window {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh window, started on its own; `path` (a folder or file) opened as from outside.
  void open(const std::wstring& path);
  HWND control(const char* name) const { return window_->control(name); }
  // The user's actions.
  void click(const char* name);
  void type(const char* name, const std::wstring& text);
  void selectFile(const std::wstring& name) { choose("File1", name, false); }
  void chooseDrive(const std::wstring& root) { choose("Drive1", root, true); }
  void choose(const char* name, const std::wstring& text, bool dropDown);
  // `path` dropped on the window from Explorer.
  void drop(const std::wstring& path);
  // Alt with `key` through the dialog manager, as the message loop passes it.
  void pressAlt(wchar_t key);
  std::vector<std::wstring> listLines(const char* name) const;
  std::wstring textOf(const char* name) const;
  // Pumps what waits, as the main loop would.
  void pump();

  // A folder of the test's own under the system's temporary folder, removed afterwards.
  std::wstring work_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::wstring> messages_;
  std::vector<std::wstring> summaries_;
  int quits_ = 0;
};

// Files.
void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path);
// Every file below `folder`, as paths relative to it with "/" between folders, sorted.
std::vector<std::wstring> filesBelow(const std::wstring& folder);
void copyTree(const std::wstring& from, const std::wstring& to);
void removeTree(const std::wstring& folder);
std::wstring casesFolder();  // VESSORY_WINDOW_CASES, the reference outputs

}  // namespace vessory::windows_window

#endif  // VESSORY_TESTS_WINDOWS_WINDOW_WINDOW_FIXTURE_H_
