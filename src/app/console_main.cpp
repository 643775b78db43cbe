// vessory-export: the console front end of the export.

#include <cstdio>
#include <string>
#include <vector>

#include "app/console_view.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Details lines can come once per record; let them leave in large writes.
  static char err_buffer[64 * 1024];
  bool terminal = isatty(fileno(stderr)) != 0;
  std::setvbuf(stderr, err_buffer, _IOFBF, sizeof err_buffer);
  return vessory::app::runConsole(args, stdout, stderr, terminal);
}
