#include "console/console_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstddef>
#include <iterator>

namespace vessory::console {

namespace {

// Each spelling of an option is an option of its own for the parser, so that the order the
// options came in and the name each was typed under are known (messages name the option as
// typed). A value option fills `value`; a flag sets `flag`.
struct Spelling {
  const char* name;
  std::string ConsoleOptions::*value;
  bool ConsoleOptions::*flag;
};

constexpr Spelling kValueOptions[] = {
    {"-j", &ConsoleOptions::journal, nullptr},
    {"--journal", &ConsoleOptions::journal, nullptr},
    {"-k", &ConsoleOptions::keywords, nullptr},
    {"--keywords", &ConsoleOptions::keywords, nullptr},
    {"-b", &ConsoleOptions::bias, nullptr},
    {"--bias", &ConsoleOptions::bias, nullptr},
    {"--time-zone", &ConsoleOptions::timeZone, nullptr},
    {"-o", nullptr, nullptr},
    {"--output", nullptr, nullptr},
    {"--encoding", nullptr, nullptr},
    {"--all", nullptr, nullptr},
};

constexpr Spelling kFlags[] = {
    {"--no-wrap", nullptr, &ConsoleOptions::wordWrap},
    {"-d", nullptr, &ConsoleOptions::details},
    {"--details", nullptr, &ConsoleOptions::details},
    {"-q", nullptr, &ConsoleOptions::quiet},
    {"--quiet", nullptr, &ConsoleOptions::quiet},
    {"-h", nullptr, &ConsoleOptions::help},
    {"--help", nullptr, &ConsoleOptions::help},
    {"--calendar", nullptr, &ConsoleOptions::calendar},
    {"--include-deleted", nullptr, &ConsoleOptions::includeDeleted},
    {"--list-journals", nullptr, &ConsoleOptions::listJournals},
    {"--version", nullptr, &ConsoleOptions::version},
};

// The parser reads "--name=" as "--name" and takes the next argument as the value; an empty
// value typed that way must stay empty. Such an argument gets this mark after the "=" before
// parsing (and one more when it already ends in marks, so that the change can be undone
// exactly) and loses one mark in every text the parser hands back.
constexpr char kEmptyMark = '\x1f';
// A flag's own value: the parser lets "--flag=VALUE" through only for this VALUE, which nobody
// types, so that a flag given a value is an unknown option, as before.
constexpr char kFlagValue[] = "{\x1e}";
// The one option whose value is optional ("--daily-notes" or "--daily-notes=FOLDER"): a flag
// that takes a value only after "="; given bare, the parser hands back this value.
constexpr char kDailyNotes[] = "--daily-notes";
constexpr char kNoFolderGiven[] = "\x1d";

bool endsInEqualsAndMarks(const std::string& arg) {
  if (arg.rfind("--", 0) != 0) return false;
  std::size_t end = arg.find_last_not_of(kEmptyMark);
  return end != std::string::npos && arg[end] == '=';
}

std::string marked(std::string arg) {
  if (endsInEqualsAndMarks(arg)) arg += kEmptyMark;
  return arg;
}

// Undoes marked(), for a whole argument or for the value the parser took from after its "=".
std::string unmarked(std::string text) {
  if (!text.empty() && text.back() == kEmptyMark &&
      (endsInEqualsAndMarks(text) || text.find_first_not_of(kEmptyMark) == std::string::npos)) {
    text.pop_back();
  }
  return text;
}

void setValue(ConsoleOptions& o, const std::string& name, const std::string& value) {
  for (const Spelling& s : kValueOptions) {
    if (name == s.name && s.value != nullptr) o.*s.value = value;
  }
  if (name == "-o" || name == "--output") o.output = value;
  if (name == "--encoding") o.encoding = value;
  if (name == "--all") o.all = value;
}

void setFlag(ConsoleOptions& o, const std::string& name) {
  for (const Spelling& s : kFlags) {
    if (name == s.name) o.*s.flag = name != "--no-wrap";
  }
}

// What the parser leaves: arguments that are no option's (positional ones, and after "--"
// every one) and options it does not know, each where it stood.
struct Leftovers {
  std::vector<std::string> positional;
  std::string unknown;  // the first unknown option, as typed
};

Leftovers sortLeftovers(const std::vector<std::string>& remaining) {
  Leftovers left;
  bool optionsDone = false;
  for (const std::string& text : remaining) {
    std::string arg = unmarked(text);
    if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg.size() >= 2 && arg[0] == '-') {
      if (left.unknown.empty()) left.unknown = arg;
    } else {
      left.positional.push_back(arg);
    }
  }
  return left;
}

// The usage error of a parser's complaint about `name` ("-b: 1 required TEXT missing": no
// value after it; "quiet was given a disallowed flag override": a flag given a value).
std::string complaint(const std::string& what, const std::vector<std::string>& args) {
  std::string name = what.substr(0, what.find_first_of(": "));
  if (what.find("flag override") != std::string::npos) {
    for (const std::string& arg : args) {
      if (arg.rfind("--" + name + "=", 0) == 0) return "unknown option " + arg;
    }
    return "unknown option --" + name;
  }
  return "option " + name + " needs a value";
}

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
  return journalOnly(name) || calendarOnly(name) || name == "-o" || name == "--output" ||
         name == "-d" || name == "--details" || name == "--calendar" || name == kDailyNotes;
}

// The usage error of an option given with an export it does not belong to, if any.
std::string misplacedOption(const ConsoleOptions& o, const std::vector<std::string>& given) {
  for (const std::string& name : given) {
    if (o.listJournals && listingRefuses(name)) {
      return "option " + name + " cannot be used with --list-journals";
    }
    if (o.all && (name == "--calendar" || name == "--list-journals" || name == kDailyNotes)) {
      return "option " + name + " cannot be used with --all, which writes every export";
    }
    if (o.calendar && journalOnly(name)) {
      return "option " + name + " belongs to the journal export and cannot be used with --calendar";
    }
  }
  return {};
}

// Runs the parser over `args`: fills `o` and `given` in the order the options came, and
// returns the leftovers, or the usage error in `error`.
Leftovers parseArguments(const std::vector<std::string>& args, ConsoleOptions& o,
                         std::vector<std::string>& given, std::string& error) {
  CLI::App app;
  app.set_help_flag();  // -h and --help are ordinary flags here: the help text is our own
  app.allow_extras();
  std::vector<std::vector<std::string>> values(std::size(kValueOptions));
  std::vector<std::size_t> taken(std::size(kValueOptions), 0);
  for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
    // One value per occurrence; an option given again takes its value again (the last wins).
    app.add_option(kValueOptions[i].name, values[i])
        ->type_size(1)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
  for (const Spelling& flag : kFlags) {
    app.add_flag(std::string(flag.name) + kFlagValue)->disable_flag_override();
  }
  std::vector<std::string> notesFolders;
  std::size_t notesTaken = 0;
  app.add_flag(std::string(kDailyNotes) + "{" + kNoFolderGiven + "}", notesFolders)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  std::vector<std::string> reversed;  // the parser takes its arguments from the back
  reversed.reserve(args.size());
  for (const std::string& arg : args) reversed.push_back(marked(arg));
  std::reverse(reversed.begin(), reversed.end());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    Leftovers before = sortLeftovers(app.remaining());
    error = before.unknown.empty() ? complaint(e.what(), args) : "unknown option " + before.unknown;
    return {};
  }
  Leftovers left = sortLeftovers(app.remaining());
  if (!left.unknown.empty()) {
    error = "unknown option " + left.unknown;
    return left;
  }
  for (const CLI::Option* option : app.parse_order()) {
    const std::string name = option->get_name();
    given.push_back(name);
    for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
      if (name == kValueOptions[i].name) setValue(o, name, unmarked(values[i][taken[i]++]));
    }
    setFlag(o, name);
    if (name == kDailyNotes && notesTaken < notesFolders.size()) {
      const std::string& folder = notesFolders[notesTaken++];
      o.dailyNotes = true;
      o.dailyNotesFolder = folder == kNoFolderGiven ? std::string() : unmarked(folder);
      if (folder != kNoFolderGiven && o.dailyNotesFolder.empty()) {
        error = "option --daily-notes= needs a folder";
      }
    }
  }
  return left;
}

// A value that cannot be meant: an empty zone, output path or folder.
std::string emptyValue(const ConsoleOptions& o, const std::vector<std::string>& given) {
  for (const std::string& name : given) {
    if (name == "--time-zone" && o.timeZone.empty()) {
      return "option " + name + " needs a zone name, such as Europe/Berlin";
    }
    if ((name == "-o" || name == "--output") && o.output && o.output->empty()) {
      return "option " + name + " needs a path";
    }
    if (name == "--all" && o.all && o.all->empty()) return "option --all needs a folder";
  }
  return {};
}

}  // namespace

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  ConsoleOptions& o = parsed.options;
  std::vector<std::string> given;
  Leftovers left = parseArguments(args, o, given, parsed.error);
  if (!parsed.error.empty()) return parsed;
  o.given = given;
  if (o.help || o.version) return parsed;
  parsed.error = emptyValue(o, given);
  if (parsed.error.empty()) parsed.error = misplacedOption(o, given);
  if (!parsed.error.empty()) return parsed;
  if (o.all) {
    if (!left.positional.empty()) parsed.error = "--all takes a folder, not an archive as well";
    if (o.output == "-") parsed.error = "--all writes a folder of files: -o needs a folder, not -";
    return parsed;
  }
  if (left.positional.size() != 1) {
    parsed.error = left.positional.empty() ? "no archive given" : "more than one archive given";
    return parsed;
  }
  o.archive = left.positional[0];
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
         "                       it wins over --time-zone; the number TEXT starts with is\n"
         "                       taken (\"-13x\" is -13, \"EST\" 0), and a message says so\n"
         "      --no-wrap        keep line breaks inside entries instead of joining the\n"
         "                       lines with blanks\n"
         "      --encoding NAME  the archive's character set (e.g. windows-1252): write the\n"
         "                       CSV in UTF-8, starting with a byte-order mark (without it\n"
         "                       the CSV holds the archive's bytes as they are)\n"
         "      --daily-notes[=FOLDER]  also write the journal as daily notes: one\n"
         "                       Markdown file per day, YEAR/YYYY-MM-DD.md, in FOLDER\n"
         "                       (default: beside the archive, Datebook-journal/); also\n"
         "                       with --calendar and for a handheld date book\n"
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
         "  -d, --details        for each record, print its start time (other kinds:\n"
         "                       \"Record\" and its number), a TAB and its description\n"
         "                       (a name, a memo's first line) on standard error\n"
         "  -o, --output PATH    write the CSV, calendar, contacts or to-dos to PATH (the\n"
         "                       memos into the folder PATH) instead of beside the\n"
         "                       archive; \"-\" writes it to standard output\n"
         "  -q, --quiet          no progress display, and the messages as scripts have\n"
         "                       always read them; the journal's CSV then replaces an\n"
         "                       earlier one as it always has, even when empty or cut\n"
         "                       short by damage (a stop still leaves it)\n"
         "      --all FOLDER     export every archive of a desktop user folder (its\n"
         "                       datebook, address, todo and memopad folders, or the\n"
         "                       folder itself; or each user's folder in it) into the\n"
         "                       folder -o names (default FOLDER-export): calendar.ics,\n"
         "                       journal.csv and its daily notes journal/, contacts.vcf,\n"
         "                       todos.ics, memos/; archive\n"
         "                       files add -archive, handheld databases -handheld\n"
         "      --list-journals  print COUNT, a TAB and the description of every\n"
         "                       description used by non-repeating events with a note, most\n"
         "                       frequent first: the names to give --journal\n"
         "  -h, --help           show this help and exit\n"
         "      --version        show the version and exit\n"
         "\n"
         "Messages go to standard error. Exit status: 0 all done; 1 finished, but the\n"
         "archive is suspect (data after the last record, it ended early, or records of\n"
         "a later handheld's database end in bytes that were not read); 2 usage error\n"
         "(also an unknown time zone or character set, or an -o that names another\n"
         "archive); 3 nothing exported (no such archive, not an archive this tool reads,\n"
         "a file named but not read, contacts, to-dos or memos cut inside the header,\n"
         "output not created, a journal export without -q that wrote no row); 4 stopped part-way or records left out (a corrupt string\n"
         "marker, a field or record that cannot be read, a read or write failure). With\n"
         "--all, the worst of every export's status, and 3 when the folder holds no\n"
         "archive.\n"
         "An earlier export of the same name is replaced only by a whole one: a stop\n"
         "leaves it as it was, and a damaged archive's export (status 1 or 4) is written\n"
         "beside it as NAME (damaged archive).EXT, a memo folder as FOLDER (damaged\n"
         "archive); a journal export without -q that writes no row leaves it too.\n"
         "Short options may be grouped (-qd); values may follow \"=\" (--bias=-4).\n";
}

std::string consoleVersion() { return "vessory-export 1.0\n"; }

}  // namespace vessory::console
