#ifndef VESSORY_WINDOW_MODEL_WINDOW_MODEL_H_
#define VESSORY_WINDOW_MODEL_WINDOW_MODEL_H_

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/daily_notes_step.h"
#include "export/export_run.h"
#include "export/export_view.h"
#include "export/folder_export.h"
#include "export/input_kind.h"
#include "export/journal_and_calendar.h"
#include "export/organiser_run.h"
#include "files/export_files.h"
#include "window_model/progress_pacer.h"
#include "window_model/record_messages.h"
#include "window_model/window_controls.h"

namespace vessory::window_model {

// Everything the program's window does, whatever draws it: the reactions to start-up, a folder
// or drive chosen, the selection, Export, Help, Exit and closing; which export Export starts for
// the selected file (the journal, the journal and the calendar, contacts, to-dos or memos, or
// with "Export everything in this user folder" the whole user folder the folder shown belongs
// to) and which options are enabled for it; the handheld's bias; the folder last shown on each
// drive; the messages and the summary; and the end of the program after the final message. It
// is the view of every run it starts, through the window's controls.
//
// A run executes inside exportPressed on the window's thread and lets the window act only
// through processPendingEvents, so that Exit, Help, closing and edits to the live options happen
// between two records. Borrows `controls` and `files` (the disk, or memory in tests), which must
// outlive it; the window creates its controls before the model and calls startUp once they
// exist.
class WindowModel : public exporting::JournalView {
 public:
  WindowModel(WindowControls& controls, files::ExportFiles& files);
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  // The text of the Help button's message: the classic text, then what the window does beyond
  // it.
  static std::string helpText();
  static std::string classicHelpText();
  // The journal names the list offers, the first shown at start.
  static const std::vector<std::string>& journalNames();

  // On (the default), processPendingEvents returns at once when it let the user act less than
  // 40 ms ago, and the counters are paced (ProgressPacer); off, it lets the user act on every
  // call and every counter is shown as it comes.
  void setEventThrottle(bool on) { throttle_ = on; }
  // The clock that paces the events and the counters (ProgressPacer); the system's steady
  // clock unless a test gives another.
  void setClock(ProgressPacer::Clock clock) {
    clock_ = clock;
    pacer_.setClock(std::move(clock));
  }
  bool exportRunning() const {
    return run_.running() || withCalendar_.running() || organiserRunning_ || folderRunning_;
  }

  // The window's events.
  void startUp();
  void folderChanged(const std::string& folder);
  void driveChanged(const std::string& root);
  void selectionChanged();
  void everythingToggled();
  void exportPressed();
  void helpPressed();
  void exitPressed();
  void windowClosed();
  // A folder or file given on the command line or dropped on the window: the lists move to the
  // folder (the file's folder, with the file selected); anything else is named in a message.
  void openPath(const std::string& path);

  // The folder shown and the file selected in it (empty when none), as a run is given them.
  std::string currentFolder();
  std::string selectedFileName();

  // JournalView.
  std::string inputPath() override;
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

 private:
  // Enables the journal's options unless the selected file is exported as contacts, to-dos or
  // memos.
  void enableJournalOptions();
  exporting::InputKind selectedInput();
  void showHandheldBias(bool handheld);
  void prepareDailyNotes();
  // The whole user folder, in window_model_folder.cpp.
  bool everythingChosen();
  void enableEverything();
  exporting::FolderSettings folderSettings();
  void exportFolder();
  void showFolderResult(const exporting::FolderResult& result);
  void finish();
  // Ends the program whatever the run's last message said.
  void endNow();
  void readLiveOptions();

  WindowControls& controls_;
  files::ExportFiles& files_;
  ProgressPacer::Clock clock_ = [] { return std::chrono::steady_clock::now(); };
  ProgressPacer pacer_{controls_, clock_};
  exporting::ExportRun run_{files_};
  exporting::JournalAndCalendarRun withCalendar_{files_};
  // The daily notes of the press under way, when asked for.
  std::unique_ptr<exporting::DailyNotesCollector> notes_;
  // System zone, the archives' usual character set, deleted records left out.
  exporting::OrganiserRun organiser_{files_, exporting::OrganiserSettings{}};

  bool handheldBias_ = false;       // the bias box shows the handheld's 0
  std::string biasBeforeHandheld_;  // what it showed before
  // The folder last shown on each drive, where choosing that drive again returns.
  std::map<std::string, std::string> driveFolders_;
  // During an organiser or handheld run: its messages on single records, shown in one box.
  bool gathering_ = false;
  RecordMessages recordMessages_;
  // The journal export alone found no entry under the name and said so: the window stays open
  // for the name to be corrected rather than ending when the run asks it to.
  bool noEntryShown_ = false;
  // The classic notice of a short read, shown below the message that explains it.
  std::string pastEndNotice_;
  // While a run is under way: the options it reads at every record (readLiveOptions).
  struct LiveOptions {
    std::string keywords;
    int wordWrap = 0;
    std::string bias;
    int details = 0;
  };
  std::optional<LiveOptions> live_;

  std::chrono::steady_clock::time_point lastEvents_{};
  bool throttle_ = true;
  bool endRequested_ = false;
  bool organiserRunning_ = false;
  bool folderRunning_ = false;
  bool finished_ = false;
};

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_WINDOW_MODEL_H_
