// Creation and placement of the Windows window's controls from the layout table, and the
// location lists' contents.

#include "windows_window/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "windows_window/disk_lists.h"
#include "windows_window/wide_text.h"
#include "window_model/folder_entries.h"

namespace vessory::windows_window {

namespace {

using window_model::ControlKind;
using window_model::ControlLayout;

constexpr int kFolderIndentTwips = 180;
constexpr int kFolderLineTwips = 240;
constexpr int kTextMarginTwips = 30;
constexpr int kDropDownLines = 8;  // a drop-down list's open height, in its lines

struct ClassAndStyle {
  const wchar_t* className;
  DWORD style;
};

ClassAndStyle classFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::kTextBox: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP};
    case ControlKind::kMultiLineTextBox:
      return {WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP};
    case ControlKind::kLabel: return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX};
    case ControlKind::kCheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::kDriveList:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::kFolderList:
      return {WC_LISTBOXW, LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                               LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::kFileList:
      return {WC_LISTBOXW,
              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::kEditableList:
      return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
  }
  return {WC_STATICW, 0};
}

bool isDropDown(ControlKind kind) {
  return kind == ControlKind::kDriveList || kind == ControlKind::kEditableList;
}

}  // namespace

void MainWindow::createControls() {
  const auto& layout = window_model::windowLayout();
  for (std::size_t i = 0; i < layout.size(); ++i) {
    controls_.push_back(createControl(layout[i], kFirstControlId + static_cast<int>(i)));
  }
  SendMessageW(control("WordWrap"), BM_SETCHECK, BST_CHECKED, 0);
  placeControls();
  fillDrives();
  setDescriptionBackColor(exporting::kMenuBackgroundColor);
}

// Created in the table's order, which is the tab order; the dialog manager follows it.
HWND MainWindow::createControl(const ControlLayout& layout, int id) {
  const ClassAndStyle kind = classFor(layout.kind);
  const std::wstring caption =
      layout.kind == ControlKind::kMultiLineTextBox ? withCrLf(fromLatin1(layout.caption))
                                                    : fromLatin1(layout.caption);
  const DWORD exStyle = (layout.kind == ControlKind::kTextBox ||
                         layout.kind == ControlKind::kMultiLineTextBox)
                            ? WS_EX_CLIENTEDGE
                            : 0;
  return CreateWindowExW(exStyle, kind.className, caption.c_str(),
                         WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, window_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
}

// Positions, sizes and fonts at the current density; run again when it changes.
void MainWindow::placeControls() {
  fonts_.clear();
  const auto& layout = window_model::windowLayout();
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const ControlLayout& c = layout[i];
    const HWND hwnd = controls_[i];
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(c)), FALSE);
    if (c.kind == ControlKind::kTextBox || c.kind == ControlKind::kMultiLineTextBox) {
      // The margins the system derives from a large font would hide the delimiters' box's text.
      const int margin = scale_.pixels(kTextMarginTwips);
      SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
    }
    // A drop-down list's height is its open list's; the closed box takes the font's height.
    const int height = isDropDown(c.kind) ? scale_.pixels(c.height) * kDropDownLines
                                          : scale_.pixels(c.height);
    const int width = c.kind == ControlKind::kLabel ? labelWidth(c, hwnd) : scale_.pixels(c.width);
    SetWindowPos(hwnd, nullptr, scale_.pixels(c.left), scale_.pixels(c.top), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(control("Dir1"), LB_SETITEMHEIGHT, 0, scale_.pixels(kFolderLineTwips));
  InvalidateRect(window_, nullptr, TRUE);
}

// The classic width, or the caption's in the font the system gave when that is wider (a
// substitute for the classic face may be), as far as the label has room.
int MainWindow::labelWidth(const ControlLayout& label, HWND control) {
  const std::wstring caption = fromLatin1(label.caption);
  const HDC context = GetDC(control);
  const HGDIOBJ before = SelectObject(context, fontFor(label));
  SIZE extent{};
  GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
  SelectObject(context, before);
  ReleaseDC(control, context);
  const int classic = scale_.pixels(label.width);
  return std::min(std::max(classic, static_cast<int>(extent.cx) + 1),
                  scale_.pixels(window_model::labelRoom(label)));
}

HFONT MainWindow::fontFor(const ControlLayout& layout) {
  const double points = layout.points > 0 ? layout.points : window_model::kDefaultPoints;
  const bool bold = layout.points > 0 && layout.bold;
  Font& font = fonts_[{points, bold}];
  if (font.get() == nullptr) {
    const std::wstring face = fromLatin1(window_model::kFontFace);
    font.reset(CreateFontW(scale_.fontHeight(points), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face.c_str()));
  }
  return font.get();
}

void MainWindow::fillDrives() {
  const HWND list = control("Drive1");
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& root : machineDrives()) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root.c_str()));
  }
}

void MainWindow::fillFolders() {
  const HWND list = control("Dir1");
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  folderPaths_.clear();
  folderDepths_.clear();
  std::vector<std::string> below;
  for (const std::wstring& path : windows_window::subfolders(folder_)) below.push_back(toSystem(path));
  int current = 0;
  for (const auto& entry : window_model::folderEntries(window_model::Platform::kWindows,
                                                       toSystem(folder_), below)) {
    const std::wstring name = fromSystem(entry.name);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    folderPaths_.push_back(fromSystem(entry.path));
    folderDepths_.push_back(entry.depth);
    if (entry.open) current = static_cast<int>(folderPaths_.size()) - 1;
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::fillFiles() {
  const HWND list = control("File1");
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& name : ordinaryFiles(filesFolder_)) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// Each line indented by its depth below the root, as the classic folder list shows it.
void MainWindow::onDrawFolder(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= folderPaths_.size()) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  SetBkMode(item.hDC, TRANSPARENT);
  RECT text = item.rcItem;
  text.left += scale_.pixels(60 + kFolderIndentTwips * folderDepths_[item.itemID]);
  const int length = static_cast<int>(SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0));
  std::wstring name(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(name.data()));
  name.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace vessory::windows_window
