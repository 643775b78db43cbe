// vessory-export: the console front end of the export.

#include <cstdio>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "console/stop_signals.h"
#include "console/windows_launch.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// The narrow argv holds the ANSI code page, where a name outside it arrives as "?". The wide
// command line holds every name; as UTF-8 it goes through the run unchanged, so the messages
// show the path as given and the file layer opens it through the wide API.
std::vector<std::string> arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    int needed = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(needed > 0 ? needed - 1 : 0, '\0');
    if (needed > 1)
      WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), needed, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  LocalFree(wide);
  return args;
}

// Messages hold UTF-8 paths; a console shows them right only in the UTF-8 code page. The
// console belongs to the user's shell too, so its code page is put back before the tool ends.
class ConsoleCodePage {
 public:
  explicit ConsoleCodePage(bool terminal) : saved_(terminal ? GetConsoleOutputCP() : 0) {
    if (saved_ != 0) SetConsoleOutputCP(CP_UTF8);
  }
  ~ConsoleCodePage() {
    if (saved_ != 0) SetConsoleOutputCP(saved_);
  }
  ConsoleCodePage(const ConsoleCodePage&) = delete;
  ConsoleCodePage& operator=(const ConsoleCodePage&) = delete;

 private:
  UINT saved_;
};
#else
std::vector<std::string> arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args = arguments(argc, argv);
  // Details lines can come once per record; let them leave in large writes.
  static char err_buffer[64 * 1024];
  bool terminal = isatty(fileno(stderr)) != 0;
#ifdef _WIN32
  ConsoleCodePage codePage(terminal);
  // Messages carry their own CR LF pairs; text mode would turn each "\n" into another pair.
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  std::setvbuf(stderr, err_buffer, _IOFBF, sizeof err_buffer);
  vessory::console::installStopSignals();
  // Started from Explorer (a folder dropped on the program, a double click), see windows_launch.h.
  int status = vessory::console::launch(args, stderr, [&](const std::vector<std::string>& a) {
    return vessory::console::runConsole(a, stdout, stderr, terminal);
  });
  std::fflush(stderr);
  return status;
}
