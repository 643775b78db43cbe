// The export of a whole user folder from the window: which folder, with which options, its
// progress in the window's fields and its summary in a box of its own.

#include <string>

#include "export/import_guide.h"
#include "export/user_folder.h"
#include "window_model/window_model.h"

namespace vessory::window_model {

namespace {

// Progress of each archive in the window's fields. The runs' records come one by one; the
// archive's name shows in the description box until details replace it. A date book is read
// twice (its journal, then its calendar): the count of records read stays where the journal
// left it rather than going back to 1, and the description box counts the calendar's records.
class FolderProgress : public exporting::FolderView {
 public:
  FolderProgress(WindowModel& model, ProgressPacer& pacer) : model_(model), pacer_(pacer) {}

  void archiveStarted(const std::string& name) override {
    name_ = name;
    highest_ = 0;
    secondReading_ = false;
    model_.showThisRecord("0");
    model_.showTotalRecords("0");
    model_.showJournalsFound("0");
    pacer_.show(Control::kDescription, "Exporting " + name_, /*system=*/true);
  }
  void archiveRead(const std::string&, std::int64_t) override {}
  void showDetail(const std::string& label, const std::string& description) override {
    model_.showDateTime(label);
    model_.showDescription(description);
  }
  void showTotalRecords(const std::string& text) override { model_.showTotalRecords(text); }
  void showThisRecord(const std::string& text) override {
    const std::int64_t read = std::stoll(text);
    if (read < highest_ || secondReading_) {
      secondReading_ = true;
      pacer_.show(Control::kDescription, "Exporting " + name_ + ": its calendar, record " + text,
                  /*system=*/true);
      return;
    }
    highest_ = read;
    model_.showThisRecord(text);
  }
  void showJournalsFound(const std::string& text) override { model_.showJournalsFound(text); }
  void processPendingEvents() override { model_.processPendingEvents(); }
  bool endRequested() override { return model_.endRequested(); }

 private:
  WindowModel& model_;
  ProgressPacer& pacer_;
  std::string name_;            // the archive under way
  std::int64_t highest_ = 0;    // its records read
  bool secondReading_ = false;  // its calendar is under way
};

}  // namespace

bool WindowModel::everythingChosen() {
  return controls_.controlEnabled(Control::kEverything) &&
         controls_.checkValue(Control::kEverything) == exporting::kChecked;
}

// Looked up when a folder is shown, not at every click: the file list is as old as that too.
void WindowModel::enableEverything() {
  controls_.enableControl(
      Control::kEverything,
      exporting::userFolderArchives(files_, exporting::userFolderOf(currentFolder())).any());
}

// The window's journal options, fixed for the whole run. The bias box applies to the desktop's
// date books; a handheld date book keeps its own clock's times unless the user typed a bias
// while one was selected (the box then showed the handheld's 0, and what it showed before is the
// desktop's bias).
exporting::FolderSettings WindowModel::folderSettings() {
  exporting::FolderSettings settings;
  settings.importGuide = true;
  settings.folder = exporting::userFolderOf(currentFolder());
  settings.journalText = journalNameText();
  settings.keywords = keywordsText();
  settings.bias = hoursBiasBoxText();
  if (handheldBias_ && settings.bias == "0") {
    settings.bias = biasBeforeHandheld_;
  } else if (handheldBias_) {
    settings.biasGiven = true;
  }
  settings.wordWrap = wordWrapValue() == exporting::kChecked;
  settings.details = showDetailsValue() == exporting::kChecked;
  return settings;
}

void WindowModel::exportFolder() {
  folderRunning_ = true;
  FolderProgress view(*this, pacer_);
  if (showDetailsValue() == exporting::kChecked)
    setDescriptionBackColor(exporting::kWindowBackgroundColor);
  const exporting::FolderResult result =
      exporting::FolderExport(files_, folderSettings()).run(view);
  setDescriptionBackColor(exporting::kMenuBackgroundColor);
  folderRunning_ = false;
  if (endRequested_) return;
  showFolderResult(result);
}

// The summary as the console tool prints it; then the program ends, as after every export that
// wrote something. A folder that could not be exported leaves the window open.
void WindowModel::showFolderResult(const exporting::FolderResult& result) {
  if (result.status != exporting::FolderStatus::kExported) {
    showMessage(result.problem);
    controls_.refillFiles();
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
  pacer_.flush();
  if (!endRequested_) controls_.showSummary(text);
  endProgram();
}

}  // namespace vessory::window_model
