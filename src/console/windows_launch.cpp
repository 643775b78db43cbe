#include "console/windows_launch.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace vessory::console {

namespace {

void put(std::FILE* f, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), f);
  std::fflush(f);
}

#ifdef _WIN32
// The path as the wide API spells it: arguments arrive as UTF-8.
std::wstring wide(const std::string& text) {
  const int needed =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(needed > 0 ? needed : 0, L'\0');
  if (needed > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), needed);
  }
  return out;
}

class SystemHost : public LaunchHost {
 public:
  // A console that lists this process alone was made for it: a shell would be listed too.
  bool ownConsole() override {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
  }
  bool inputIsConsole() override {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
  }
  bool isFolder(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  void waitForEnter() override {
    int c;
    do {
      c = std::getchar();
    } while (c != '\n' && c != EOF);
  }
};
#endif

}  // namespace

std::vector<std::string> launchArguments(const std::vector<std::string>& args, LaunchHost& host) {
  if (args.size() == 1 && !args[0].empty() && args[0][0] != '-' && host.isFolder(args[0])) {
    return {"--all", args[0]};
  }
  return args;
}

std::string launchHelpText() {
  // Wine's console breaks words at the 80th column: every line keeps to 79.
  return "vessory-export turns the files of an organiser's desktop software into files\n"
         "that today's calendars, address books, task lists and note apps import.\n"
         "\n"
         "To export everything of one user: close this window, then\n"
         "drag the user's folder (C:\\Palm\\YourName, say: the folder that holds datebook,\n"
         "address, todo and memopad) onto vessory-export.exe in Explorer. The files go\n"
         "into a folder of the same name with -export beside it, with \"How to import.txt\"\n"
         "on bringing them into other programs.\n"
         "\n"
         "From a Command Prompt, \"vessory-export --help\" lists everything else it can do.\n";
}

int runLaunched(const std::vector<std::string>& args, LaunchHost& host, std::FILE* err,
                const std::function<int(const std::vector<std::string>&)>& run) {
  const bool own = host.ownConsole();
  int status = 0;
  if (args.empty() && own) {
    put(err, launchHelpText());
  } else {
    status = run(launchArguments(args, host));
  }
  if (own && host.inputIsConsole()) {
    put(err, std::string("\n") + kPressEnter + "\n");
    host.waitForEnter();
  }
  return status;
}

int launch(const std::vector<std::string>& args, std::FILE* err,
           const std::function<int(const std::vector<std::string>&)>& run) {
#ifdef _WIN32
  SystemHost host;
  return runLaunched(args, host, err, run);
#else
  (void)err;
  return run(args);
#endif
}

}  // namespace vessory::console
