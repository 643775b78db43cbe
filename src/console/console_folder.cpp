#include "console/console_folder.h"

#include <algorithm>
#include <string>

#include "calendar/system_zone.h"
#include "console/console_view.h"
#include "console/stop_signals.h"
#include "export/export_view.h"
#include "export/folder_export.h"
#include "export/folder_summary.h"
#include "export/organiser_run.h"

namespace vessory::console {

namespace {

void put(std::FILE* f, const std::string& text) { std::fwrite(text.data(), 1, text.size(), f); }

// Progress as one line per archive, not a line redrawn per record: many archives go by.
class ConsoleFolderView : public exporting::FolderView {
 public:
  ConsoleFolderView(std::FILE* err, bool showProgress, exporting::FolderView* watcher)
      : err_(err), showProgress_(showProgress), watcher_(watcher) {}

  void archiveRead(const std::string& name, std::int64_t records) override {
    if (!showProgress_) return;
    put(err_, name + ": " + std::to_string(records) + " records read\n");
    std::fflush(err_);
  }
  void showDetail(const std::string& label, const std::string& description) override {
    put(err_, label + "\t" + description + "\n");
  }
  bool endRequested() override { return stopSignal() != 0; }

  // What the watcher is told; the console itself draws no progress of records.
  void archiveStarted(const std::string& name) override {
    if (watcher_) watcher_->archiveStarted(name);
  }
  void showTotalRecords(const std::string& text) override {
    if (watcher_) watcher_->showTotalRecords(text);
  }
  void showThisRecord(const std::string& text) override {
    if (watcher_) watcher_->showThisRecord(text);
  }
  void processPendingEvents() override {
    if (watcher_) watcher_->processPendingEvents();
  }

 private:
  std::FILE* err_;
  bool showProgress_;
  exporting::FolderView* watcher_;
};

bool given(const ConsoleOptions& options, const char* name, const char* longName) {
  return std::any_of(options.given.begin(), options.given.end(),
                     [&](const std::string& o) { return o == name || o == longName; });
}

exporting::FolderSettings folderSettings(const ConsoleOptions& options) {
  exporting::FolderSettings settings;
  settings.folder = *options.all;
  settings.outputFolder = options.output;
  settings.journalText = options.journal;
  settings.keywords = options.keywords;
  settings.bias = options.bias;
  settings.biasGiven = given(options, "-b", "--bias");
  settings.wordWrap = options.wordWrap;
  settings.encoding = options.encoding;
  settings.zoneName = options.timeZone;
  settings.includeDeleted = options.includeDeleted;
  settings.details = options.details;
  settings.importGuide = true;
  return settings;
}

// The zone the folder's times are shown on, as single exports name it.
std::string zoneText(const ConsoleOptions& options) {
  std::string zone = options.timeZone.empty() ? calendar::systemZoneName() : options.timeZone;
  if (zone.empty()) return "UTC, since the system's time zone could not be told";
  return zone;
}

int usageError(std::FILE* err, const std::string& text) {
  put(err, "vessory-export: " + text + "\nTry 'vessory-export --help'.\n");
  return 2;
}

}  // namespace

int exportFolder(const ConsoleOptions& options, files::ExportFiles& files, std::FILE* err,
                 bool showProgress, const FolderHooks& hooks) {
  exporting::OrganiserSettings check;
  check.zoneName = options.timeZone;
  if (options.encoding) check.charset = *options.encoding;
  if (std::optional<std::string> unknown = exporting::checkOrganiserSettings(check)) {
    return usageError(err, *unknown);
  }
  ConsoleFolderView view(err, showProgress, hooks.watcher);
  exporting::FolderSettings settings = folderSettings(options);
  settings.dailyNotes = hooks.dailyNotes;
  exporting::FolderExport run(files, settings);
  const exporting::FolderResult result = run.run(view);
  switch (result.status) {
    case exporting::FolderStatus::kOutputRefused:
      return usageError(err, result.problem);
    case exporting::FolderStatus::kNothingFound:
    case exporting::FolderStatus::kCannotMakeOutput:
      put(err, "vessory-export: " + result.problem + "\n");
      return 3;
    default:
      break;
  }
  const std::string outputFolder = files.absolutePath(result.outputFolder);
  put(err, exporting::folderHeading(result, files.absolutePath(*options.all), outputFolder,
                                    zoneText(options)) +
               "\n");
  int status = 0;
  for (const exporting::ArchiveReport& report : result.archives) {
    put(err, exporting::summaryLine(report) + "\n");
    for (const exporting::PartReport& part : report.parts) {
      status = std::max(status, exitStatus(part.outcome));
    }
  }
  // A folder that could not be read may have held archives: nothing of it was exported.
  for (const std::string& unreadable : result.unreadable) {
    put(err, unreadable + "\n");
    status = std::max(status, 3);
  }
  // Nothing exported is no success, whatever each archive's run said.
  if (!exporting::wroteAny(result)) status = std::max(status, 3);
  if (!result.guidePath.empty()) {
    put(err, files.absolutePath(result.guidePath) +
                 " tells how to bring these files into other programs.\n");
  } else if (!result.guideError.empty()) {
    put(err, result.guideError + "\n");
  }
  if (result.stopped && stopSignal() != 0) {
    put(err, exporting::stopSummary(result, outputFolder) + "\n");
    return 128 + stopSignal();
  }
  return status;
}

}  // namespace vessory::console
