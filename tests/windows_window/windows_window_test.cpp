// The Windows window, live: its controls as the layout table gives them, its location lists on
// the disk, its keys, and exports driven through it, compared with the console tool's outputs
// for the same options (made on Linux by scripts/test-windows).

#include <gtest/gtest.h>

#include <cstring>

#include "window_fixture.h"
#include "window_model/window_layout.h"
#include "windows_window/disk_lists.h"
#include "windows_window/summary_dialog.h"
#include "windows_window/wide_text.h"

namespace vessory::windows_window {
namespace {

using window_model::ControlKind;
using window_model::ControlLayout;
using window_model::windowLayout;

RECT clientRect(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Each control at its place and size, with its caption, font, tab stop and order; the window's
// title, client size and icon.
TEST_F(WindowTest, TheControlsAreTheLayoutTablesAtTheScreensDensity) {
  open(work_);
  const DpiScale scale = DpiScale::of(window_->handle());
  RECT client;
  GetClientRect(window_->handle(), &client);
  EXPECT_EQ(client.right, scale.pixels(window_model::kClientWidthTwips));
  EXPECT_EQ(client.bottom, scale.pixels(window_model::kClientHeightTwips));
  wchar_t title[64];
  GetWindowTextW(window_->handle(), title, 64);
  EXPECT_EQ(toLatin1(title), window_model::kWindowTitle);
  EXPECT_NE(GetClassLongPtrW(window_->handle(), GCLP_HICON), 0);
  HWND tab = control("ReadDate");
  EXPECT_EQ(GetFocus(), tab);
  for (const ControlLayout& c : windowLayout()) {
    SCOPED_TRACE(c.name);
    const HWND hwnd = control(c.name);
    const RECT rect = clientRect(hwnd);
    EXPECT_EQ(rect.left, scale.pixels(c.left));
    EXPECT_EQ(rect.top, scale.pixels(c.top));
    if (c.kind != ControlKind::kLabel) {
      EXPECT_EQ(rect.right - rect.left, scale.pixels(c.width));
    }
    if (c.kind != ControlKind::kDriveList && c.kind != ControlKind::kEditableList) {
      EXPECT_EQ(rect.bottom - rect.top, scale.pixels(c.height));
    }
    if (c.kind == ControlKind::kButton || c.kind == ControlKind::kLabel ||
        c.kind == ControlKind::kCheckBox) {
      EXPECT_EQ(toLatin1(textOf(c.name)), c.caption);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(toLatin1(font.lfFaceName), window_model::kFontFace);
    EXPECT_EQ(font.lfHeight, scale.fontHeight(c.points > 0 ? c.points : window_model::kDefaultPoints));
    EXPECT_EQ(font.lfWeight, c.points > 0 && c.bold ? FW_BOLD : FW_NORMAL);
    // The tab order is the table's, labels left out.
    const bool stops = (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
    EXPECT_EQ(stops, c.kind != ControlKind::kLabel);
    // Tab passes over a control that is greyed out (the user folder's box, outside one).
    if (!stops || IsWindowEnabled(hwnd) == FALSE) continue;
    EXPECT_EQ(tab, hwnd);
    tab = GetNextDlgTabItem(window_->handle(), tab, FALSE);
  }
  EXPECT_EQ(tab, control("ReadDate"));  // and round again
  EXPECT_EQ(listLines("CMBJournalNames").size(), 5U);
  EXPECT_EQ(SendMessageW(control("WordWrap"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

// Alt with a caption's underlined letter presses that button: Help shows its text, Exit ends.
TEST_F(WindowTest, TheAccessKeysPressTheirButtons) {
  open(work_);
  pressAlt(L'h');
  ASSERT_EQ(messages_.size(), 1U);
  EXPECT_EQ(toSystem(messages_[0]).rfind("Navigate to the directory", 0), 0U);
  pressAlt(L'u');  // the user folder's box
  EXPECT_EQ(quits_, 0);
  pressAlt(L'x');
  EXPECT_EQ(quits_, 1);
  EXPECT_FALSE(IsWindow(control("ReadDate")));
}

// Names in any script, hidden and system files left out, a folder line opened, the machine's
// drives, and a path that is nothing.
TEST_F(WindowTest, TheListsShowTheDiskInAnyScript) {
  const std::wstring user = joinWide(work_, L"M\u00fcller");
  CreateDirectoryW(user.c_str(), nullptr);
  CreateDirectoryW(joinWide(user, L"\u5c71\u7530").c_str(), nullptr);
  for (const wchar_t* name : {L"Datebook.dat", L"\u65e5\u8a18.dat", L"hidden.dat", L"system.dat"}) {
    writeFile(joinWide(user, name), "x");
  }
  SetFileAttributesW(joinWide(user, L"hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(joinWide(user, L"system.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);
  open(joinWide(user, L"\u65e5\u8a18.dat"));
  EXPECT_EQ(listLines("File1"), (std::vector<std::wstring>{L"Datebook.dat", L"\u65e5\u8a18.dat"}));
  EXPECT_EQ(SendMessageW(control("File1"), LB_GETCURSEL, 0, 0), 1);  // the file opened
  const std::vector<std::wstring> folders = listLines("Dir1");
  ASSERT_GE(folders.size(), 3U);
  EXPECT_EQ(folders[folders.size() - 2], L"M\u00fcller");
  EXPECT_EQ(folders.back(), L"\u5c71\u7530");
  SendMessageW(control("Dir1"), LB_SETCURSEL, folders.size() - 1, 0);
  SendMessageW(window_->handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control("Dir1")), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(control("Dir1")));
  EXPECT_TRUE(listLines("File1").empty());
  EXPECT_EQ(listLines("Dir1").back(), L"\u5c71\u7530");
  EXPECT_EQ(listLines("Drive1"), machineDrives());
  drop(user);  // a folder dropped on the window goes there
  EXPECT_EQ(listLines("Dir1").back(), L"\u5c71\u7530");
  EXPECT_EQ(listLines("File1").size(), 2U);
  // Another drive, then back to the folder last shown on this one.
  const std::wstring here = work_.substr(0, 3);
  for (const std::wstring& root : machineDrives()) {
    if (root == here) continue;
    chooseDrive(root);
    EXPECT_EQ(listLines("Dir1").front(), root);
    chooseDrive(here);
    EXPECT_EQ(listLines("File1").size(), 2U);
    break;
  }
  window_->openPath(joinWide(work_, L"nothing"));
  ASSERT_EQ(messages_.size(), 1U);
  EXPECT_NE(messages_[0].find(L"cannot be opened"), std::wstring::npos);
}

TEST(SummaryDialog, ShowsTheTextReadOnlyInABoxThatScrolls) {
  const std::wstring text = L"calendar.ics (1 event)\r\nM\u00fcller\r\n";
  const HWND dialog = createSummaryDialog(GetModuleHandleW(nullptr), nullptr, text);
  ASSERT_NE(dialog, nullptr);
  const HWND box = GetDlgItem(dialog, 101);
  wchar_t shown[128];
  GetWindowTextW(box, shown, 128);
  EXPECT_EQ(std::wstring(shown), text);
  EXPECT_NE(GetWindowLongW(box, GWL_STYLE) & (ES_READONLY | WS_VSCROLL), 0);
  wchar_t title[32];
  GetWindowTextW(dialog, title, 32);
  EXPECT_EQ(std::wstring(title), L"Vessory");
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace vessory::windows_window
