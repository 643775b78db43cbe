#include "windows_window/dpi_scale.h"

#include <cmath>

namespace vessory::windows_window {

DpiScale DpiScale::of(HWND window) {
  // GetDpiForWindow came with Windows 10 1607; earlier systems have one density for all.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const HMODULE user = GetModuleHandleW(L"user32.dll");
  const auto forWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
  if (forWindow != nullptr && window != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) return DpiScale(static_cast<int>(dpi));
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return DpiScale(dpi);
}

int DpiScale::fontHeight(double points) const {
  return -static_cast<int>(std::lround(points * dpi_ / 72.0));
}

}  // namespace vessory::windows_window
