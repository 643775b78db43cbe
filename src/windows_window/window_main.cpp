// vessory.exe: the window front end of the export on Windows.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "windows_window/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  vessory::windows_window::MainWindow window;
  if (!window.create(instance)) {
    MessageBoxW(nullptr, L"The window could not be created.", L"Vessory", MB_OK);
    return 1;
  }
  ShowWindow(window.handle(), show);
  // A folder or file named on the command line (a shortcut, "Open with").
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments != nullptr && count > 1) window.openPath(arguments[1]);
  LocalFree(arguments);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.isDialogMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
