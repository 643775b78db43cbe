#include "windows_window/main_window.h"

#include <shellapi.h>

#include "windows_window/disk_lists.h"
#include "windows_window/resource_ids.h"
#include "windows_window/wide_text.h"

namespace vessory::windows_window {

namespace {

constexpr wchar_t kClassName[] = L"VessoryMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// A system colour reference has the high bit set and the colour index in its low byte;
// anything else is a colour 0x00BBGGRR, which is what COLORREF holds.
COLORREF colorFor(std::uint32_t color) {
  if ((color & 0x80000000u) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

std::wstring windowText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  closing_ = true;
  if (window_ != nullptr) DestroyWindow(window_);
}

bool MainWindow::create(HINSTANCE instance) {
  instance_ = instance;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, kClassName, &windowClass) == FALSE) {
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VESSORY));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(
        instance, MAKEINTRESOURCEW(IDI_VESSORY), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) return false;
  }
  const std::wstring title = fromLatin1(window_model::kWindowTitle);
  window_ = CreateWindowExW(WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT, kClassName, title.c_str(),
                            kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  scale_ = DpiScale::of(window_);
  createControls();
  // The client area at the density; the frame around it as the system draws it.
  RECT frame{0, 0, scale_.pixels(window_model::kClientWidthTwips),
             scale_.pixels(window_model::kClientHeightTwips)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  model_.startUp();
  SetFocus(controlFor(Control::kExport));
  return true;
}

HWND MainWindow::control(const char* name) const {
  const auto& layout = window_model::windowLayout();
  for (std::size_t i = 0; i < layout.size() && i < controls_.size(); ++i) {
    if (std::string_view(layout[i].name) == name) return controls_[i];
  }
  return nullptr;
}

HWND MainWindow::controlFor(Control control) const {
  const auto& layout = window_model::windowLayout();
  for (std::size_t i = 0; i < layout.size() && i < controls_.size(); ++i) {
    if (layout[i].control == control) return controls_[i];
  }
  return nullptr;
}

void MainWindow::openPath(const std::wstring& path) { model_.openPath(toSystem(fullPath(path))); }

bool MainWindow::isDialogMessage(MSG& message) {
  return window_ != nullptr && IsDialogMessageW(window_, &message) != FALSE;
}

LRESULT CALLBACK MainWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    auto* self = static_cast<MainWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  return self->handle(message, w, l);
}

LRESULT MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(w), HIWORD(w));
      return 0;
    case WM_DRAWITEM:
      onDrawFolder(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
      return TRUE;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(l) == controlFor(Control::kDescription)) {
        SetBkColor(reinterpret_cast<HDC>(w), descriptionColor_);
        return reinterpret_cast<LRESULT>(descriptionBrush_.get());
      }
      break;
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(w);
      std::wstring path(MAX_PATH * 8, L'\0');
      const UINT length = DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size()));
      DragFinish(drop);
      path.resize(length);
      if (!path.empty()) openPath(path);
      return 0;
    }
    case WM_DPICHANGED:
      onDpiChanged(HIWORD(w), *reinterpret_cast<const RECT*>(l));
      return 0;
    case WM_CLOSE:
      closeWindow();
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      closing_ = true;
      model_.windowClosed();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

void MainWindow::onCommand(int id, int code) {
  const auto& layout = window_model::windowLayout();
  if (id == IDOK) {  // Enter: opens the folder list's line when it has the focus
    if (GetFocus() == control("Dir1")) openFolderEntry();
    return;
  }
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(layout.size())) return;
  const std::string_view name = layout[static_cast<std::size_t>(index)].name;
  if (code == BN_CLICKED && name == "ReadDate") model_.exportPressed();
  if (code == BN_CLICKED && name == "Exit") model_.exitPressed();
  if (code == BN_CLICKED && name == "Help") model_.helpPressed();
  if (code == BN_CLICKED && name == "Everything") model_.everythingToggled();
  if (code == LBN_SELCHANGE && name == "File1") model_.selectionChanged();
  if (code == LBN_DBLCLK && name == "Dir1") openFolderEntry();
  if (code == CBN_SELCHANGE && name == "Drive1") {
    const HWND list = control("Drive1");
    const auto at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return;
    std::wstring root(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, at, 0)), L'\0');
    SendMessageW(list, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(root.data()));
    if (root == drive_) return;
    drive_ = root;
    model_.driveChanged(toSystem(root));
  }
}

void MainWindow::openFolderEntry() {
  const auto at = SendMessageW(control("Dir1"), LB_GETCURSEL, 0, 0);
  if (at == LB_ERR || static_cast<std::size_t>(at) >= folderPaths_.size()) return;
  showFolder(toSystem(folderPaths_[static_cast<std::size_t>(at)]));
}

void MainWindow::onDpiChanged(int dpi, const RECT& suggested) {
  scale_ = DpiScale(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  placeControls();
}

std::string MainWindow::text(Control control) { return toLatin1(windowText(controlFor(control))); }

void MainWindow::setText(Control control, const std::string& text) {
  const HWND box = controlFor(control);
  SetWindowTextW(box, (control == Control::kDescription ? withCrLf(fromLatin1(text))
                                                         : fromLatin1(text)).c_str());
  UpdateWindow(box);  // the run shows counts between records, when no paint message comes
}

void MainWindow::setSystemText(Control control, const std::string& text) {
  SetWindowTextW(controlFor(control), withCrLf(fromSystem(text)).c_str());
}

int MainWindow::checkValue(Control control) {
  switch (SendMessageW(controlFor(control), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return exporting::kChecked;
    case BST_INDETERMINATE: return exporting::kGreyed;
    default: return exporting::kUnchecked;
  }
}

bool MainWindow::controlEnabled(Control control) {
  return IsWindowEnabled(controlFor(control)) != FALSE;
}

void MainWindow::enableControl(Control control, bool on) {
  const auto& layout = window_model::windowLayout();
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const bool match = control == Control::kJournalOnly ? layout[i].journalOnly
                                                         : layout[i].control == control;
    if (match) EnableWindow(controls_[i], on ? TRUE : FALSE);
  }
}

bool MainWindow::controlHasFocus(Control control) { return GetFocus() == controlFor(control); }

void MainWindow::focusControl(Control control) { SetFocus(controlFor(control)); }

void MainWindow::addListItem(Control control, const std::string& text) {
  const std::wstring item = fromLatin1(text);
  SendMessageW(controlFor(control), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void MainWindow::setDescriptionBackColor(std::uint32_t color) {
  descriptionColor_ = colorFor(color);
  descriptionBrush_.reset(CreateSolidBrush(descriptionColor_));
  InvalidateRect(controlFor(Control::kDescription), nullptr, TRUE);
}

}  // namespace vessory::windows_window
