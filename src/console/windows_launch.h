#ifndef VESSORY_CONSOLE_WINDOWS_LAUNCH_H_
#define VESSORY_CONSOLE_WINDOWS_LAUNCH_H_

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vessory::console {

// The console tool started without a console of its own: a folder dropped on the program in
// Explorer, a shortcut, a double click. What is decided here is free of the platform; the
// system's part (is the console the program's own, is standard input a console, is a path a
// folder, wait for Enter) comes through LaunchHost.

// What the launch decisions ask of the system.
class LaunchHost {
 public:
  virtual ~LaunchHost() = default;
  // The console window is the program's own (Explorer opened it), not a shell's.
  virtual bool ownConsole() = 0;
  // Standard input is a console, where Enter can be pressed.
  virtual bool inputIsConsole() = 0;
  virtual bool isFolder(const std::string& path) = 0;
  // Returns once a line (or the end) has been read from standard input.
  virtual void waitForEnter() = 0;
};

// The arguments to run: one argument that is a folder (not an option) becomes --all on it;
// anything else stays as it is.
std::vector<std::string> launchArguments(const std::vector<std::string>& args, LaunchHost& host);

// What a double click shows: a few lines on dropping the user folder on the program.
std::string launchHelpText();

inline constexpr char kPressEnter[] = "Press Enter to close this window.";

// Runs the tool as launched: with no argument in a console of its own it prints
// launchHelpText() instead; otherwise `run` gets launchArguments(). When the console is its
// own and standard input is one, it ends by printing kPressEnter and waiting, so that the
// summary can be read before the window closes. Text goes to `err`, flushed before any wait.
// Returns the exit status (0 for the help text).
int runLaunched(const std::vector<std::string>& args, LaunchHost& host, std::FILE* err,
                const std::function<int(const std::vector<std::string>&)>& run);

// On Windows, runLaunched with this system's host; elsewhere `run` on `args` as they are.
int launch(const std::vector<std::string>& args, std::FILE* err,
           const std::function<int(const std::vector<std::string>&)>& run);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_WINDOWS_LAUNCH_H_
