// The control table both windows build from, and the folder list's lines.

#include "window_model/window_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "window_model/folder_entries.h"

namespace vessory::window_model {
namespace {

TEST(WindowLayout, EveryControlLiesInsideTheWindowOnceAndTheModelsControlsAreThere) {
  std::set<std::string> names;
  std::set<Control> modelled;
  for (const ControlLayout& control : windowLayout()) {
    SCOPED_TRACE(control.name);
    EXPECT_TRUE(names.insert(control.name).second);
    EXPECT_GE(control.left, 0);
    EXPECT_LE(control.left + control.width, kClientWidthTwips);
    EXPECT_LE(control.top + control.height, kClientHeightTwips);
    if (control.control) EXPECT_TRUE(modelled.insert(*control.control).second);
  }
  // Every control the model names but the journal's options as one.
  EXPECT_EQ(modelled.size(), static_cast<std::size_t>(Control::kExport));
  EXPECT_EQ(std::string(windowLayout().front().name), "ReadDate");  // the focus at start
  EXPECT_EQ(layoutOf("Label6").caption, std::string("TimeZone Hours Bias: "));
  EXPECT_THROW(layoutOf("Nothing"), std::logic_error);
}

TEST(WindowLayout, TwipsArePixelsAtTheScreensDensity) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {{8235, 96, 549}, {7845, 96, 523}, {8, 96, 1}, {7, 96, 0}, {8235, 144, 824},
               {615, 192, 82}};
  for (const auto& c : cases) EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
}

// A label grows up to the next control on its rows, or the window's edge.
TEST(WindowLayout, ALabelMayGrowUpToItsRightNeighbour) {
  const struct {
    const char* label;
    int room;
  } cases[] = {{"Label1", 1920 - 120}, {"Label5", 1920 - 120}, {"Label3", 6960 - 4680},
               {"Label6", 2520 - 240}, {"Label4", 5880 - 4080}, {"Label2", 3420 - 3060}};
  for (const auto& c : cases) EXPECT_EQ(labelRoom(layoutOf(c.label)), c.room) << c.label;
}

std::string lines(const std::vector<FolderEntry>& entries) {
  std::string out;
  for (const FolderEntry& e : entries) {
    out += std::string(static_cast<std::size_t>(e.depth), ' ') + e.name + (e.open ? "+" : "") +
           "=" + e.path + "|";
  }
  return out;
}

TEST(FolderEntries, ThePathOpenFromItsRootThenTheSubfolders) {
  const struct {
    Platform platform;
    const char* folder;
    std::vector<std::string> subfolders;
    const char* expected;
  } cases[] = {
      {Platform::kWindows, "C:\\Palm\\JSmith", {"C:\\Palm\\JSmith\\datebook"},
       "C:\\+=C:\\| Palm+=C:\\Palm|  JSmith+=C:\\Palm\\JSmith|   datebook=C:\\Palm\\JSmith\\datebook|"},
      {Platform::kWindows, "c:\\palm\\", {}, "c:\\+=c:\\| palm+=c:\\palm|"},
      {Platform::kWindows, "D:\\", {"D:\\a", "D:\\b"}, "D:\\+=D:\\| a=D:\\a| b=D:\\b|"},
      {Platform::kWindows, "\\\\srv\\share\\x", {},
       "\\\\srv\\share\\+=\\\\srv\\share\\| x+=\\\\srv\\share\\x|"},
      {Platform::kWindows, "E:/M\xC3\xBCller", {}, "E:/+=E:/| M\xC3\xBCller+=E:/M\xC3\xBCller|"},
      {Platform::kOther, "/home/a\\b", {"/home/a\\b/c"},
       "/+=/| home+=/home|  a\\b+=/home/a\\b|   c=/home/a\\b/c|"},
      {Platform::kOther, "/", {"/etc"}, "/+=/| etc=/etc|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lines(folderEntries(c.platform, c.folder, c.subfolders)), c.expected) << c.folder;
  }
}

TEST(FolderEntries, ThePathsDriveIsTheLongestRootItStartsWith) {
  const std::vector<std::string> windows = {"C:\\", "D:\\", "\\\\srv\\share\\"};
  const std::vector<std::string> other = {"/", "/media/usb", "/media/usb2"};
  const struct {
    Platform platform;
    const char* path;
    const char* drive;
  } cases[] = {{Platform::kWindows, "c:\\palm", "C:\\"}, {Platform::kWindows, "c:", "C:\\"},
               {Platform::kWindows, "D:\\", "D:\\"}, {Platform::kWindows, "E:\\x", ""},
               {Platform::kWindows, "\\\\SRV\\share\\a", "\\\\srv\\share\\"},
               {Platform::kOther, "/media/usb2/a", "/media/usb2"},
               {Platform::kOther, "/media/usbx", "/"}, {Platform::kOther, "/home", "/"}};
  for (const auto& c : cases) {
    EXPECT_EQ(driveHolding(c.platform, c.path, c.platform == Platform::kWindows ? windows : other),
              c.drive)
        << c.path;
  }
}

}  // namespace
}  // namespace vessory::window_model
