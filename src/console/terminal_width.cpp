#include "console/terminal_width.h"

#include <cstdlib>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <io.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace vessory::console {

namespace {

int columnsVariable() {
  const char* value = std::getenv("COLUMNS");
  if (value == nullptr) return 0;
  char* end = nullptr;
  const long columns = std::strtol(value, &end, 10);
  if (end == value || *end != '\0' || columns <= 0 || columns > 100000) return 0;
  return static_cast<int>(columns);
}

}  // namespace

int terminalColumns(std::FILE* stream) {
#ifdef _WIN32
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(handle, &info)) {
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    if (columns > 0) return columns;
  }
#else
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  return columnsVariable();
}

}  // namespace vessory::console
