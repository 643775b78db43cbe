#include "window_model/window_layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vessory::window_model {

namespace {

constexpr double kButtonPoints = 9.75;
constexpr double kKeywordsPoints = 18;
// Seven digits of the desktop's sans font with the frame: the classic 735 twips fit five only.
// The "of" caption and the total move right with them, still clear of the drive list.
constexpr int kCountWidth = 1110;

constexpr char kDescriptionHint[] =
    "(Check box to left to display descriptions and dates as \r\n"
    "records are processed - slower, but useful for error analysis)\r\n";

using K = ControlKind;
using C = Control;

std::vector<ControlLayout> makeLayout() {
  const double b = kButtonPoints;
  const double d = kDefaultPoints;
  return {
      {"ReadDate", K::kButton, "&Export", 480, 6960, 1935, 615, b, true, C::kExport, false},
      {"ThisRecord", K::kTextBox, "0", 1920, 4200, kCountWidth, 375, b, false, C::kThisRecord,
       false},
      {"Label1", K::kLabel, "Records read:", 120, 4275, 1695, 255, b, true, {}, false},
      {"Label2", K::kLabel, "of ", 3060, 4275, 330, 255, b, true, {}, false},
      {"TotalRecords", K::kTextBox, "0", 3420, 4200, kCountWidth, 375, b, false,
       C::kTotalRecords, false},
      {"Drive1", K::kDriveList, "", 4680, 3960, 3375, 315, 0, false, {}, false},
      {"Dir1", K::kFolderList, "", 4560, 120, 3495, 3690, 0, false, {}, false},
      {"File1", K::kFileList, "", 120, 120, 4215, 3990, 0, false, {}, false},
      {"Exit", K::kButton, "E&xit", 3000, 6960, 1935, 615, b, true, {}, false},
      {"WordWrap", K::kCheckBox, "Wordwrap Journal Entries", 360, 6480, 3375, 375, b, true,
       C::kWordWrap, true},
      // The options the classic layout has no place for sit under the buttons, so that no
      // classic control moves.
      {"AlsoCalendar", K::kCheckBox, "&Also export the whole calendar (Datebook.ics)", 480, 7575,
       6975, 270, d, true, C::kAlsoCalendar, true},
      {"AlsoNotes", K::kCheckBox, "Also write the journal as daily &notes", 480, 7845, 6975, 270,
       d, true, C::kAlsoNotes, true},
      {"Everything", K::kCheckBox, "Export everything in this &user folder", 480, 8115, 6975,
       270, d, true, C::kEverything, false},
      {"Label3", K::kLabel, "Keyword Delimiters:", 4680, 4560, 2175, 255, b, true, {}, true},
      {"Keywords", K::kTextBox, "<>", 6960, 4440, 735, 495, kKeywordsPoints, true, C::kKeywords,
       true},
      {"Help", K::kButton, "&Help", 5520, 6960, 1935, 615, b, true, {}, false},
      {"DescriptionText", K::kMultiLineTextBox, kDescriptionHint, 4080, 5160, 4095, 975, 0,
       false, C::kDescription, false},
      {"CHK_Description", K::kCheckBox, "Display Description/Date", 240, 5040, 3135, 495, b, true,
       C::kShowDetails, false},
      {"DateTime", K::kTextBox, "", 480, 5640, 1815, 375, 0, false, C::kDateTime, false},
      {"CMBJournalNames", K::kEditableList, "English: Daily Journal", 5880, 6360, 2295, 315, 0,
       false, C::kJournalNames, true},
      {"Label4", K::kLabel, "Name of Journals:", 4080, 6435, 1575, 315, 0, false, {}, true},
      {"Label5", K::kLabel, "Journals Found:", 120, 4760, 1695, 255, b, true, {}, false},
      {"TXTJournalsFound", K::kTextBox, "0", 1920, 4680, kCountWidth, 375, 0, false,
       C::kJournalsFound, false},
      {"Label6", K::kLabel, "TimeZone Hours Bias: ", 240, 6180, 2055, 375, d, true, {}, true},
      {"HoursBias", K::kTextBox, "-4", 2520, 6080, 495, 325, d, true, C::kHoursBias, true},
  };
}

}  // namespace

const std::vector<ControlLayout>& windowLayout() {
  static const std::vector<ControlLayout> layout = makeLayout();
  return layout;
}

const ControlLayout& layoutOf(std::string_view name) {
  for (const ControlLayout& control : windowLayout()) {
    if (name == control.name) return control;
  }
  throw std::logic_error("no control named " + std::string(name));
}

int labelRoom(const ControlLayout& label) {
  int right = kClientWidthTwips;
  for (const ControlLayout& other : windowLayout()) {
    const bool sharesRows =
        other.top < label.top + label.height && label.top < other.top + other.height;
    if (&other != &label && sharesRows && other.left >= label.left + label.width) {
      right = std::min(right, other.left);
    }
  }
  return std::max(label.width, right - label.left);
}

int twipsToPixels(int twips, int dotsPerInch) {
  const int scaled = twips * dotsPerInch;
  const int per = kTwipsPerPixel * 96;
  return (scaled + per / 2) / per;
}

}  // namespace vessory::window_model
