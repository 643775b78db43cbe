// A window for the window model's tests: its controls are maps, its location lists a set of
// folders and the file selected, and everything shown is recorded in order.

#ifndef VESSORY_TESTS_WINDOW_MODEL_FAKE_WINDOW_H_
#define VESSORY_TESTS_WINDOW_MODEL_FAKE_WINDOW_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "export/export_view.h"
#include "window_model/window_controls.h"
#include "window_model/window_model.h"

namespace vessory::window_model {

class FakeWindow : public WindowControls {
 public:
  // The classic defaults.
  std::map<Control, std::string> texts = {{Control::kHoursBias, "-4"}, {Control::kKeywords, "<>"}};
  std::map<Control, int> checks = {{Control::kWordWrap, exporting::kChecked}};
  std::map<Control, bool> disabled;
  std::map<Control, int> textsSet;    // how many times each control's text was set
  std::map<Control, int> valuesRead;  // how many times each control's text or check was read
  std::vector<std::string> listItems;
  std::set<std::string> folders;  // the folders that exist
  std::vector<std::string> drives;
  std::string folder;
  std::string file;
  std::string drive;
  std::vector<std::string> messages;
  std::vector<std::string> summaries;
  std::vector<std::string> shownFolders;  // every folder the lists moved to, in order
  std::uint32_t backColor = 0;
  int quits = 0;
  bool closed = false;
  bool exportFocused = false;
  // Runs inside processPendingEvents: the user acting during a run.
  std::function<void()> onEvents;
  WindowModel* model = nullptr;

  std::string text(Control c) override {
    ++valuesRead[c];
    return texts[c];
  }
  void setText(Control c, const std::string& t) override {
    texts[c] = t;
    ++textsSet[c];
  }
  void setSystemText(Control c, const std::string& t) override {
    texts[c] = "system: " + t;
    ++textsSet[c];
  }
  int checkValue(Control c) override {
    ++valuesRead[c];
    return checks[c];
  }
  bool controlEnabled(Control c) override { return !disabled[c]; }
  void enableControl(Control c, bool on) override { disabled[c] = !on; }
  bool controlHasFocus(Control c) override { return c == Control::kExport && exportFocused; }
  void focusControl(Control c) override { exportFocused = c == Control::kExport; }
  void addListItem(Control, const std::string& t) override { listItems.push_back(t); }
  void setDescriptionBackColor(std::uint32_t color) override { backColor = color; }
  std::string shownFolder() override { return folder; }
  std::string selectedFileName() override { return file; }
  // As the folder list does: a move to another folder tells the model.
  bool showFolder(const std::string& f) override {
    if (folders.count(f) == 0) return false;
    if (f != folder) {
      folder = f;
      shownFolders.push_back(f);
      model->folderChanged(f);
    }
    return true;
  }
  void refillFiles() override {}
  std::set<std::string> files;  // the paths of the files that exist
  bool selectFile(const std::string& name) override {
    if (files.count(exporting::joinPath(folder, name)) == 0) return false;
    file = name;
    return true;
  }
  void showFilesOf(const std::string&) override {}
  std::string driveOf(const std::string& path) override {
    for (const std::string& root : drives) {
      if (path.rfind(root, 0) == 0) return root;
    }
    return {};
  }
  // As the drive list does: another drive tells the model.
  void showDrive(const std::string& root) override {
    if (root == drive) return;
    drive = root;
    model->driveChanged(root);
  }
  std::string rootFolder() override { return drives.front(); }
  StartPlaces startPlaces() override { return {"/home", {}, {}, {}}; }
  bool holdsOrdinaryFile(const std::string& f) override { return folders.count(f + "/file"); }
  std::vector<std::string> subfolders(const std::string&) override { return {}; }
  void showMessage(const std::string& t) override { messages.push_back(t); }
  void showSummary(const std::string& t) override { summaries.push_back(t); }
  void processPendingEvents() override {
    if (onEvents) onEvents();
  }
  void closeWindow() override {
    closed = true;
    model->windowClosed();
  }
  void quit() override { ++quits; }
};

}  // namespace vessory::window_model

#endif  // VESSORY_TESTS_WINDOW_MODEL_FAKE_WINDOW_H_
