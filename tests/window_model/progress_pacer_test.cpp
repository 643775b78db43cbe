// The pacing of a run's counters, driven by a clock the test moves.

#include "window_model/progress_pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_window.h"

namespace vessory::window_model {
namespace {

using std::chrono::milliseconds;

struct PaceStep {
  int atMs;           // when the text comes (-1: flush instead)
  Control control;    // the control it is for
  const char* text;   // the text, or the text expected shown when flushing
  const char* shown;  // what the control shows after the step
};

// A text goes at once when the interval has passed since texts were last shown, else it waits
// for the next text that finds it passed, or for a flush; the first text goes at once; texts
// held for other controls go along; with every text shown nothing waits.
TEST(ProgressPacer, ShowsTheLatestTextsAtMostOncePerIntervalAndAllOnFlush) {
  const Control kRecord = Control::kThisRecord;
  const Control kFound = Control::kJournalsFound;
  const struct {
    const char* name;
    bool everyText;
    std::vector<PaceStep> steps;
  } cases[] = {
      {"paced",
       false,
       {{0, kRecord, "1", "1"},
        {10, kRecord, "2", "1"},
        {20, kFound, "1", ""},
        {49, kRecord, "3", "1"},
        {50, kRecord, "4", "4"},
        {50, kFound, "1", "1"},  // held at 20, shown along with record 4
        {60, kRecord, "5", "4"},
        {-1, kRecord, "", "5"},
        {70, kRecord, "6", "5"}}},
      {"every text", true, {{0, kRecord, "1", "1"}, {1, kRecord, "2", "2"}, {2, kFound, "1", "1"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow window;
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    const auto start = now;
    ProgressPacer pacer(window, [&now] { return now; });
    pacer.showEveryText(c.everyText);
    for (const PaceStep& step : c.steps) {
      SCOPED_TRACE(step.atMs);
      if (step.atMs < 0) {
        pacer.flush();
      } else {
        now = start + milliseconds(step.atMs);
        pacer.show(step.control, step.text);
      }
      EXPECT_EQ(window.texts[step.control], step.shown);
    }
  }
}

TEST(ProgressPacer, AHeldSystemTextIsShownAsOne) {
  FakeWindow window;
  const std::chrono::steady_clock::time_point now{};
  ProgressPacer pacer(window, [&now] { return now; });
  pacer.show(Control::kDescription, "Exporting a", /*system=*/true);
  pacer.show(Control::kDescription, "Exporting b", /*system=*/true);
  pacer.flush();
  pacer.flush();  // nothing new: nothing set again
  EXPECT_EQ(window.texts[Control::kDescription], "system: Exporting b");
  EXPECT_EQ(window.textsSet[Control::kDescription], 2);
}

}  // namespace
}  // namespace vessory::window_model
