#ifndef VESSORY_WEB_WEB_CORE_H_
#define VESSORY_WEB_WEB_CORE_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/export_files.h"

namespace vessory::web {

// What the web page asks of the core (src/web/CONTRACT.md), over the console tool's own folder
// export: what a folder holds, as `--all` finds it and `--list-journals` counts its journals;
// the export `--all FOLDER -o OUT` with the page's options, its exit status and the summary
// the console prints; and the files it wrote. No export rule lives here.
//
// Borrows `files`, which must outlive it. One run at a time, on one thread; the stop is the
// console's stop signal (console/stop_signals.h), so that a stop ends the run as Ctrl-C does.
class WebCore {
 public:
  // Told of a run's progress: `done` of `total` (a thousand for each archive found, shared out
  // over its records) and the archive under way; at most once in `interval`.
  using Progress =
      std::function<void(std::int64_t done, std::int64_t total, const std::string& text)>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  WebCore(files::ExportFiles& files, Progress progress,
          Clock clock = std::chrono::steady_clock::now,
          std::chrono::milliseconds interval = std::chrono::milliseconds(50))
      : files_(files),
        progress_(std::move(progress)),
        clock_(std::move(clock)),
        interval_(interval) {}

  // {"found":[{"path","kind","holds","output"}],"leftAlone":[{"path","reason"}],
  //  "journals":[{"name","count"}],"message"}: see CONTRACT.md.
  std::string scan(const std::string& folder);
  // Runs the export and keeps its summary and outputs; returns the console's exit status.
  int exportFolder(const std::string& folder, const std::string& outFolder,
                   std::string_view optionsJson);
  const std::string& summary() const { return summary_; }
  // The files under the last run's output folder, relative to it, as a JSON list of strings.
  std::string outputsJson() const;

  // Asks the run under way to stop at its next record, as the console's Ctrl-C does.
  static void requestStop();

 private:
  std::vector<std::string> filesUnder(const std::string& folder, const std::string& prefix) const;

  files::ExportFiles& files_;
  Progress progress_;
  Clock clock_;
  std::chrono::milliseconds interval_;
  std::string summary_;
  std::vector<std::string> outputs_;
};

// The console's arguments for the page's options (CONTRACT.md), after `--all FOLDER -o OUT`;
// false with the reason in `error` when the options are not a JSON object of known members.
bool consoleArguments(std::string_view optionsJson, std::vector<std::string>& args,
                      bool& dailyNotes, std::string& error);

}  // namespace vessory::web

#endif  // VESSORY_WEB_WEB_CORE_H_
