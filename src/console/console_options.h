#ifndef VESSORY_CONSOLE_CONSOLE_OPTIONS_H_
#define VESSORY_CONSOLE_CONSOLE_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

namespace vessory::console {

// The console tool's command line, with the window's defaults.
struct ConsoleOptions {
  std::string journal = "English: Daily Journal";
  std::string keywords = "<>";
  std::string bias = "-4";
  bool wordWrap = true;
  bool details = false;
  std::optional<std::string> output;  // "-" is standard output
  bool quiet = false;
  // Character set of the archive's text: the calendar's source, or the journal's when its CSV
  // is to be UTF-8.
  std::optional<std::string> encoding;
  bool calendar = false;
  // --daily-notes[=FOLDER]: the journal as daily notes too, into FOLDER (empty: beside the
  // archive).
  bool dailyNotes = false;
  std::string dailyNotesFolder;
  std::string timeZone;  // empty: the system's zone
  bool includeDeleted = false;
  bool listJournals = false;
  // --all FOLDER: every archive of a desktop user folder; no ARCHIVE is given then.
  std::optional<std::string> all;
  bool help = false;
  bool version = false;
  std::string archive;
  // The option names given, as typed (short or long), in order.
  std::vector<std::string> given;
};

struct ParsedOptions {
  ConsoleOptions options;
  std::string error;  // not empty for a usage error
};

// Parses the arguments after the program name and checks that the options go together as far
// as the arguments alone tell (the journal's layout options have no meaning for the calendar);
// what depends on the archive's kind is checked by chooseRun(). Values are
// taken as they stand, even when they begin with "-" ("-b -4"); "--name=value" works for the long
// options, and "--" ends options.
ParsedOptions parseConsoleOptions(const std::vector<std::string>& args);

// Options of one export only, by the names they were given under.
bool journalOnly(const std::string& name);
bool calendarOnly(const std::string& name);

std::string consoleUsage();
std::string consoleVersion();

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONSOLE_OPTIONS_H_
