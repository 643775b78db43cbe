#ifndef VESSORY_CONSOLE_CONSOLE_VIEW_H_
#define VESSORY_CONSOLE_CONSOLE_VIEW_H_

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "console/console_options.h"
#include "console/run_choice.h"
#include "export/calendar_run.h"
#include "files/export_files.h"
#include "export/export_run.h"
#include "export/export_view.h"

namespace vessory::console {

// The export's vocabulary, used throughout this front end.
using exporting::CalendarRun;
using exporting::CalendarSettings;
using files::DiskFiles;
using files::ExportFiles;
using exporting::ExportOutcome;
using exporting::ExportRun;
using exporting::ExportView;
using exporting::kChecked;
using exporting::kUnchecked;

// The export run's view in a terminal: options come from the command line, messages and
// details lines go to `err`, and progress is redrawn in place on `err` at most ten times a
// second when `showProgress` is set (a terminal, no --quiet).
class ConsoleView : public exporting::JournalView {
 public:
  ConsoleView(const ConsoleOptions& options, std::FILE* err, bool showProgress);
  ConsoleView(const ConsoleView&) = delete;
  ConsoleView& operator=(const ConsoleView&) = delete;
  // Prints a notice still held (showMessage).
  ~ConsoleView() override;

  std::string inputPath() override { return options_.archive; }
  std::string journalNameText() override { return options_.journal; }
  int showDetailsValue() override { return options_.details ? kChecked : kUnchecked; }
  std::string keywordsText() override { return options_.keywords; }
  int wordWrapValue() override { return options_.wordWrap ? kChecked : kUnchecked; }
  std::string hoursBiasBoxText() override { return options_.bias; }

  void showTotalRecords(const std::string& text) override { total_ = text; }
  void showThisRecord(const std::string& text) override { current_ = text; }
  void showJournalsFound(const std::string& text) override { found_ = text; }
  void showEventsWritten(const std::string& text) override { found_ = text; }
  void showDateTime(const std::string& text) override { dateTime_ = text; }
  void setDescriptionBackColor(std::uint32_t) override {}
  void showDescription(const std::string& text) override;

  void processPendingEvents() override;
  void showMessage(const std::string& text) override;
  void endProgram() override { ended_ = true; }
  // A stop signal asks the run to stop at its next record, as the window's Exit does.
  bool endRequested() override;
  // The records read whole before the run stopped at the user's request.
  std::int64_t recordsBeforeStop() const;
  bool programEnded() const { return ended_; }
  // What the progress line counts after the records read ("journals found").
  void setProgressCount(std::string label) { count_ = std::move(label); }
  // Takes the progress line off the terminal, before other text goes there.
  void clearProgress();
  // The terminal's width in columns, for a progress line that must fit on one line; by default
  // asked of the terminal at each redraw. 0: not known, the line is not cut.
  void setTerminalWidth(int columns) { fixedWidth_ = columns; }

 private:
  void drawProgress();

  const ConsoleOptions& options_;
  std::FILE* err_;
  bool showProgress_;
  bool progressShown_ = false;
  std::optional<int> fixedWidth_;
  std::chrono::steady_clock::time_point lastDrawn_{};
  std::string total_ = "0", current_ = "0", found_ = "0", dateTime_;
  std::string count_ = "journals found";
  bool ended_ = false;
  std::string pastEndNotice_;  // held for the message after it
};

// Files as the console tool sees them: "-" as the CSV path is standard output.
class ConsoleFiles : public files::DiskFiles {
 public:
  explicit ConsoleFiles(std::FILE* out) : out_(out) {}

  bool sameFile(const std::string& a, const std::string& b) override;
  std::unique_ptr<files::OutputFile> createCsv(const std::string& path,
                                                std::string& error) override;
  std::string displayName(const std::string& path) override;

 private:
  std::FILE* out_;
};

// The exit status for a run's outcome.
int exitStatus(ExportOutcome outcome);

// The whole console tool: parses `args`, runs the export and returns the exit status.
int runConsole(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
               bool errIsTerminal);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONSOLE_VIEW_H_
