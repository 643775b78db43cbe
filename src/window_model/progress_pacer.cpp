#include "window_model/progress_pacer.h"

#include <algorithm>

namespace vessory::window_model {

void ProgressPacer::show(Control control, const std::string& text, bool system) {
  auto held = std::find_if(held_.begin(), held_.end(),
                           [control](const Held& h) { return h.control == control; });
  if (held == held_.end()) held = held_.insert(held_.end(), Held{control, {}, system, false});
  held->text = text;
  held->system = system;
  held->waiting = true;
  if (everyText_) {
    flush();
    return;
  }
  const auto now = clock_();
  if (shownOnce_ && now - lastShown_ < kInterval) return;
  flush();
  lastShown_ = now;
  shownOnce_ = true;
}

void ProgressPacer::flush() {
  for (Held& held : held_) {
    if (!held.waiting) continue;
    held.waiting = false;
    if (held.system) {
      controls_.setSystemText(held.control, held.text);
    } else {
      controls_.setText(held.control, held.text);
    }
  }
}

}  // namespace vessory::window_model
