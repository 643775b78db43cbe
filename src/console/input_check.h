#ifndef VESSORY_CONSOLE_INPUT_CHECK_H_
#define VESSORY_CONSOLE_INPUT_CHECK_H_

#include <optional>
#include <string>

namespace vessory::console {

// Why the console cannot read `path` as an input file, in the system's words where it has
// them: no such file, no permission, a loop of links, a folder (with the --all hint), a named
// pipe or a device (never opened: reading one could wait forever). Nothing when `path` is an
// ordinary file that opens for reading. Asks the file system each time.
std::optional<std::string> inputProblem(const std::string& path);

// Whether `path` names an ordinary file, or a folder (following links); false for anything
// else and for what cannot be looked at.
bool isOrdinaryFile(const std::string& path);
bool isFolder(const std::string& path);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_INPUT_CHECK_H_
