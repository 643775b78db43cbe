#ifndef VESSORY_WINDOWS_WINDOW_DPI_SCALE_H_
#define VESSORY_WINDOWS_WINDOW_DPI_SCALE_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "window_model/window_layout.h"

namespace vessory::windows_window {

// The one place where the window's twips and points become pixels: at the density of the
// monitor the window is on (96 dots per inch is 100 %). Asked again when the window moves to a
// monitor of another density.
class DpiScale {
 public:
  explicit DpiScale(int dotsPerInch) : dpi_(dotsPerInch > 0 ? dotsPerInch : 96) {}
  // The density of the monitor `window` is on, or the system's when the system cannot tell
  // monitors apart.
  static DpiScale of(HWND window);

  int dotsPerInch() const { return dpi_; }
  int pixels(int twips) const { return window_model::twipsToPixels(twips, dpi_); }
  // A font's height as CreateFontW takes it: negative, the character height without leading.
  int fontHeight(double points) const;

 private:
  int dpi_;
};

}  // namespace vessory::windows_window

#endif  // VESSORY_WINDOWS_WINDOW_DPI_SCALE_H_
