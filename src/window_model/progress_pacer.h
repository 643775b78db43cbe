#ifndef VESSORY_WINDOW_MODEL_PROGRESS_PACER_H_
#define VESSORY_WINDOW_MODEL_PROGRESS_PACER_H_

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "window_model/window_controls.h"

namespace vessory::window_model {

// Paces a run's counters (the record read, the records announced, the journals found) to the
// window. Drawing a control costs far more than reading a record (a native box under Wine
// repaints at once), so a counter's text is held as its latest value and the held texts go to
// their controls together at most once an interval by the clock, and all of them whenever
// flush() is called: before a message and at the end of a run, so that the window never shows
// a count behind what the message says. With every text shown (the details box checked, for
// slow, close reading) each text goes at once.
//
// Borrows `controls`, which must outlive it; the clock is injected so that tests can drive it.
class ProgressPacer {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // About twenty times a second: smooth to the eye, cheap against the run.
  static constexpr std::chrono::milliseconds kInterval{50};

  ProgressPacer(WindowControls& controls, Clock clock)
      : controls_(controls), clock_(std::move(clock)) {}

  void setClock(Clock clock) { clock_ = std::move(clock); }
  void showEveryText(bool on) { everyText_ = on; }
  // `text` for `control`, in the archives' character set, or with `system` in the system's
  // encoding (setSystemText).
  void show(Control control, const std::string& text, bool system = false);
  // Shows every text held back.
  void flush();

 private:
  struct Held {
    Control control;
    std::string text;
    bool system = false;
    bool waiting = false;  // not shown yet
  };

  WindowControls& controls_;
  Clock clock_;
  std::vector<Held> held_;
  std::chrono::steady_clock::time_point lastShown_{};
  bool shownOnce_ = false;
  bool everyText_ = false;
};

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_PROGRESS_PACER_H_
