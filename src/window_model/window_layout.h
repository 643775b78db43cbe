#ifndef VESSORY_WINDOW_MODEL_WINDOW_LAYOUT_H_
#define VESSORY_WINDOW_MODEL_WINDOW_LAYOUT_H_

#include <optional>
#include <string_view>
#include <vector>

#include "window_model/window_controls.h"

// The window's controls as both windows make them: the classic layout in twips (a twip is
// 1/1440 inch, so 15 twips make a pixel at 96 dots per inch), with the classic names, captions,
// fonts and tab order, and the rows the window grew by below the buttons.

namespace vessory::window_model {

enum class ControlKind {
  kButton,
  kTextBox,
  kMultiLineTextBox,
  kLabel,
  kCheckBox,
  kDriveList,
  kFolderList,
  kFileList,
  kEditableList,  // a drop-down list whose text can be typed
};

struct ControlLayout {
  const char* name;     // the classic name ("ReadDate", "HoursBias", ...)
  ControlKind kind;
  const char* caption;  // caption or initial text; "&" marks a button's or box's access key
  int left;             // twips from the client area's top left corner
  int top;
  int width;
  int height;
  double points;        // 0: the window's default font
  bool bold;
  std::optional<Control> control;  // what the window model calls it, when it reads or sets it
  bool journalOnly;     // one of the options only the journal export reads (with its caption)
};

inline constexpr char kWindowTitle[] = "Logvane, V-1.0j";
inline constexpr char kMessageTitle[] = "Vessory";
inline constexpr char kFontFace[] = "MS Sans Serif";
inline constexpr double kDefaultPoints = 8.25;
inline constexpr int kTwipsPerPixel = 15;
// The classic 7845 twips, a row of 270 for the daily notes' box and one of 300 for the whole
// user folder's.
inline constexpr int kClientWidthTwips = 8235;
inline constexpr int kClientHeightTwips = 7845 + 270 + 300;

// Every control, in tab order. Labels keep their classic place in it but never take the focus.
const std::vector<ControlLayout>& windowLayout();

// The control of that classic name; the program has no control of another name.
const ControlLayout& layoutOf(std::string_view name);

// How wide `label` may grow, in twips, when its caption is wider than the classic width in the
// font the system gives for the classic face: up to the nearest control right of it whose rows
// it shares, or the window's edge; never narrower than its classic width.
int labelRoom(const ControlLayout& label);

// Twips as pixels at `dotsPerInch`, rounded to the nearest.
int twipsToPixels(int twips, int dotsPerInch = 96);

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_WINDOW_LAYOUT_H_
