#include "console/console_options.h"

#include <cstddef>

namespace vessory::console {

namespace {

// Which field a value option fills.
std::string* valueTarget(ConsoleOptions& o, const std::string& name) {
  if (name == "-j" || name == "--journal") return &o.journal;
  if (name == "-k" || name == "--keywords") return &o.keywords;
  if (name == "-b" || name == "--bias") return &o.bias;
  if (name == "--time-zone") return &o.timeZone;
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
  } else if (name == "--calendar") {
    o.calendar = true;
  } else if (name == "--include-deleted") {
    o.includeDeleted = true;
  } else if (name == "--list-journals") {
    o.listJournals = true;
  } else if (name == "--version") {
    o.version = true;
  } else {
    return false;
  }
  return true;
}

bool isOutput(const std::string& name) { return name == "-o" || name == "--output"; }
bool isEncoding(const std::string& name) { return name == "--encoding"; }
bool isAll(const std::string& name) { return name == "--all"; }

}  // namespace

bool calendarOnly(const std::string& name) {
  return name == "--time-zone" || name == "--include-deleted";
}

bool journalOnly(const std::string& name) {
  return name == "-j" || name == "--journal" || name == "-k" || name == "--keywords" ||
         name == "-b" || name == "--bias" || name == "--no-wrap";
}

namespace {

bool listingRefuses(const std::string& name) {
  return journalOnly(name) || calendarOnly(name) || isOutput(name) || name == "-d" ||
         name == "--details" || name == "--calendar";
}

// The usage error of an option given with an export it does not belong to, if any.
std::string misplacedOption(const ConsoleOptions& o, const std::vector<std::string>& given) {
  for (const std::string& name : given) {
    if (o.listJournals && listingRefuses(name)) {
      return "option " + name + " cannot be used with --list-journals";
    }
    if (o.all && (name == "--calendar" || name == "--list-journals")) {
      return "option " + name + " cannot be used with --all, which writes every export";
    }
    if (o.calendar && journalOnly(name)) {
      return "option " + name + " belongs to the journal export and cannot be used with --calendar";
    }
  }
  return {};
}

}  // namespace

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  ConsoleOptions& o = parsed.options;
  std::vector<std::string> positional;
  std::vector<std::string> given;
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
    given.push_back(arg);
    std::string* target = valueTarget(o, arg);
    if (target != nullptr || isOutput(arg) || isEncoding(arg) || isAll(arg)) {
      if (!inline_value && i + 1 >= args.size()) {
        parsed.error = "option " + arg + " needs a value";
        return parsed;
      }
      std::string value = inline_value ? *inline_value : args[++i];
      if (target == &o.timeZone && value.empty()) {
        parsed.error = "option " + arg + " needs a zone name, such as Europe/Berlin";
        return parsed;
      }
      if (target != nullptr) {
        *target = value;
      } else if (isOutput(arg)) {
        o.output = value;
      } else if (isAll(arg)) {
        o.all = value;
      } else {
        o.encoding = value;
      }
    } else if (inline_value || !setFlag(o, arg)) {
      parsed.error = "unknown option " + args[i];
      return parsed;
    }
  }
  o.given = given;
  if (o.help || o.version) return parsed;
  parsed.error = misplacedOption(o, given);
  if (!parsed.error.empty()) return parsed;
  if (o.all) {
    if (!positional.empty()) parsed.error = "--all takes a folder, not an archive as well";
    if (o.output == "-") parsed.error = "--all writes a folder of files: -o needs a folder, not -";
    return parsed;
  }
  if (positional.size() != 1) {
    parsed.error = positional.empty() ? "no archive given" : "more than one archive given";
    return parsed;
  }
  o.archive = positional[0];
  return parsed;
}

std::string consoleUsage() {
  return "Usage: vessory-export [OPTIONS] ARCHIVE\n"
         "       vessory-export --calendar [--time-zone ZONE] [--encoding NAME]\n"
         "                      [--include-deleted] [-o PATH|-] [-q] [-d] ARCHIVE\n"
         "       vessory-export --list-journals [--encoding NAME] ARCHIVE\n"
         "       vessory-export --all FOLDER [-o OUTDIR] [OPTIONS]\n"
         "Writes the journal entries of a date-book archive (Datebook.dat) as CSV rows,\n"
         "one per entry, into a file beside the archive (Datebook.csv); with --calendar,\n"
         "every event of the date book as an iCalendar file (Datebook.ics) that calendar\n"
         "programs import.\n"
         "The archive's content decides what is written: an address book (Address.dat)\n"
         "becomes contacts (Address.vcf, vCard 3.0), a to-do list (ToDo.dat) to-dos\n"
         "(ToDo.ics), a memo pad (MemoPad.dat) a folder of text files (MemoPad/), with\n"
         "--encoding, --time-zone (due dates), --include-deleted, -o, -q and -d. An archive\n"
         "file of removed records (.dba .aba .tda .mpa) adds -archive to the name. The\n"
         "handheld's own databases (DatebookDB.pdb, AddressDB.pdb, ToDoDB.pdb, MemoDB.pdb)\n"
         "are read the same way; their times are the handheld's own clock.\n"
         "\n"
         "Journal options:\n"
         "  -j, --journal TEXT   journal to export, as the window's list names it; the text\n"
         "                       after the first colon is the journal's name\n"
         "                       (default \"English: Daily Journal\")\n"
         "  -k, --keywords TEXT  keyword delimiters: the text between the first and the\n"
         "                       second character goes into a second column (default \"<>\";\n"
         "                       \"\" leaves the keyword column out)\n"
         "  -b, --bias TEXT      hours added to every archive time (default \"-4\"); given,\n"
         "                       it wins over --time-zone\n"
         "      --no-wrap        keep line breaks inside entries instead of joining the\n"
         "                       lines with blanks\n"
         "      --encoding NAME  the archive's character set (e.g. windows-1252): write the\n"
         "                       CSV in UTF-8, starting with a byte-order mark (without it\n"
         "                       the CSV holds the archive's bytes as they are)\n"
         "\n"
         "Calendar options:\n"
         "      --calendar       write the whole date book as an iCalendar file instead\n"
         "      --time-zone ZONE the zone whose clock the events are shown on, as an IANA\n"
         "                       name such as America/New_York (default: the system's zone);\n"
         "                       without -b, the journal's times follow it too\n"
         "      --encoding NAME  the archive's character set (default windows-1252)\n"
         "      --include-deleted  also write records deleted on the desktop\n"
         "\n"
         "Common options:\n"
         "  -d, --details        for each record, print its start time, a TAB and its\n"
         "                       description on standard error\n"
         "  -o, --output PATH    write the CSV, calendar, contacts or to-dos to PATH (the\n"
         "                       memos into the folder PATH) instead of beside the\n"
         "                       archive; \"-\" writes it to standard output\n"
         "  -q, --quiet          no progress display\n"
         "      --all FOLDER     export every archive of a desktop user folder (its\n"
         "                       datebook, address, todo and memopad folders, or the\n"
         "                       folder itself; or each user's folder in it) into the\n"
         "                       folder -o names (default FOLDER-export): calendar.ics,\n"
         "                       journal.csv, contacts.vcf, todos.ics, memos/; archive\n"
         "                       files add -archive, handheld databases -handheld\n"
         "      --list-journals  print COUNT, a TAB and the description of every\n"
         "                       description used by non-repeating events with a note, most\n"
         "                       frequent first: the names to give --journal\n"
         "  -h, --help           show this help and exit\n"
         "      --version        show the version and exit\n"
         "\n"
         "Messages go to standard error. Exit status: 0 all done; 1 finished, but the\n"
         "archive is suspect (data after the last record, or it ended early); 2 usage\n"
         "error (also an unknown time zone or character set); 3 nothing exported (no such\n"
         "archive, not a date-book archive, output file not created); 4 stopped part-way\n"
         "(a corrupt string marker, a field or record that cannot be read, a read or\n"
         "write failure). With --all, the worst of every export's status, and 3 when the\n"
         "folder holds no archive.\n";
}

std::string consoleVersion() { return "vessory-export 1.0\n"; }

}  // namespace vessory::console
