#include "console/console_options.h"

#include <cstddef>

namespace vessory::console {

namespace {

// Which field a value option fills.
std::string* valueTarget(ConsoleOptions& o, const std::string& name) {
  if (name == "-j" || name == "--journal") return &o.journal;
  if (name == "-k" || name == "--keywords") return &o.keywords;
  if (name == "-b" || name == "--bias") return &o.bias;
  return nullptr;
}

bool setFlag(ConsoleOptions& o, const std::string& name) {
  if (name == "--no-wrap") {
    o.wordWrap = false;
  } else if (name == "-d" || name == "--details") {
    o.details = true;
  } else if (name == "-q" || name == "--quiet") {
    o.quiet = true;
  } else if (name == "-h" || name == "--help") {
    o.help = true;
  } else if (name == "--version") {
    o.version = true;
  } else {
    return false;
  }
  return true;
}

bool isOutput(const std::string& name) { return name == "-o" || name == "--output"; }

}  // namespace

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  ConsoleOptions& o = parsed.options;
  std::vector<std::string> positional;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (options_done || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    std::optional<std::string> inline_value;
    if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      inline_value = arg.substr(eq + 1);
      arg.resize(eq);
    }
    std::string* target = valueTarget(o, arg);
    if (target != nullptr || isOutput(arg)) {
      if (!inline_value && i + 1 >= args.size()) {
        parsed.error = "option " + arg + " needs a value";
        return parsed;
      }
      std::string value = inline_value ? *inline_value : args[++i];
      if (target != nullptr) {
        *target = value;
      } else {
        o.output = value;
      }
    } else if (inline_value || !setFlag(o, arg)) {
      parsed.error = "unknown option " + args[i];
      return parsed;
    }
  }
  if (o.help || o.version) return parsed;
  if (positional.size() != 1) {
    parsed.error = positional.empty() ? "no archive given" : "more than one archive given";
    return parsed;
  }
  o.archive = positional[0];
  return parsed;
}

std::string consoleUsage() {
  return "Usage: vessory-export [OPTIONS] ARCHIVE\n"
         "Writes the journal entries of a date-book archive (Datebook.dat) as CSV rows,\n"
         "one per entry, into a file beside the archive (Datebook.csv).\n"
         "\n"
         "Options:\n"
         "  -j, --journal TEXT   journal to export, as the window's list names it; the text\n"
         "                       after the first colon is the journal's name\n"
         "                       (default \"English: Daily Journal\")\n"
         "  -k, --keywords TEXT  keyword delimiters: the text between the first and the\n"
         "                       second character goes into a second column (default \"<>\";\n"
         "                       \"\" leaves the keyword column out)\n"
         "  -b, --bias TEXT      hours added to every archive time (default \"-4\")\n"
         "      --no-wrap        keep line breaks inside entries instead of joining the\n"
         "                       lines with blanks\n"
         "  -d, --details        for each record, print its start time, a TAB and its\n"
         "                       description on standard error\n"
         "  -o, --output PATH    write the CSV to PATH instead of beside the archive;\n"
         "                       \"-\" writes it to standard output\n"
         "  -q, --quiet          no progress display\n"
         "  -h, --help           show this help and exit\n"
         "      --version        show the version and exit\n"
         "\n"
         "Messages go to standard error. Exit status: 0 all done; 1 finished, but the\n"
         "archive is suspect (data after the last record, or it ended early); 2 usage\n"
         "error; 3 nothing exported (no such archive, not a date-book archive, CSV file not\n"
         "created); 4 stopped part-way (a corrupt string marker, a write failure).\n";
}

std::string consoleVersion() { return "vessory-export 1.0\n"; }

}  // namespace vessory::console
