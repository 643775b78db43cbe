#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

// Runs the console tool in-process inside a fresh temporary folder.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    folder_ = fs::temp_directory_path() / ("vessory-console-" + std::to_string(seed()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string archive(const std::string& bytes, const std::string& name = "Datebook.dat") {
    writeFile(path(name), bytes);
    return path(name);
  }
  int run(std::vector<std::string> args, bool terminal = false) {
    status_ = console::runConsole(args, out_.get(), err_.get(), terminal);
    return status_;
  }
  std::string out() { return out_.text(); }
  std::string err() { return err_.text(); }

  fs::path folder_;
  CapturedStream out_, err_;
  int status_ = -1;
};

std::string oneJournal(const std::string& note = "9:15 am: Woke up") {
  return ArchiveBuilder().archive({journalRecord(note)}).bytes();
}

TEST_F(ConsoleTest, ExportsBesideTheArchiveAndReportsTheCsvPath) {
  std::string db = archive(oneJournal());
  EXPECT_EQ(run({"-q", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")), "0,,4/06/2002,9:15 AM,\"Woke up\"\r\n");
  EXPECT_EQ(err(), "All Done!\r\n\r\nExtracted journals have been placed in:\r\n" +
                       path("Datebook.csv") + "\n");
  EXPECT_EQ(readFile(db), oneJournal());
}

TEST_F(ConsoleTest, OptionsReachTheRunInShortLongAndInlineForms) {
  std::string db =
      archive(ArchiveBuilder().archive({journalRecord("9:15 am: [k] a\nb", 0, "Logbuch")}).bytes());
  EXPECT_EQ(run({"-j", "Logbuch", "-k", "[]", "-b", "-10", "--no-wrap", "-q", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")), "0,k,12/31/1969,9:15 AM,\"[k] a\nb\"\r\n");
  EXPECT_EQ(run({"--journal=Logbuch", "--keywords=", "--bias", "0", "--quiet", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")), "0,1/01/1970,9:15 AM,\"[k] a b\"\r\n");
}

TEST_F(ConsoleTest, DetailsPrintStartTimeTabDescriptionPerRecord) {
  RecordPlan other;
  other.description = "Dentist";
  other.startTime = 0;
  std::string db = archive(ArchiveBuilder().archive({other, journalRecord("x")}).bytes());
  EXPECT_EQ(run({"-d", "-q", "-b", "0", "-o", path("out.csv"), db}), 0);
  EXPECT_EQ(err().substr(0, 62),
            "1/01/1970, 00:00:00\tDentist\n4/07/2002, 00:00:00\tDaily Journal\n");
}

// A bias that is not wholly a number keeps the journal's reading (the number it starts with);
// without -q one line says how it was read, once, with --all too.
TEST_F(ConsoleTest, BiasThatIsNotWhollyANumberIsReadAsBeforeAndNotedOnce) {
  const std::string db = archive(oneJournal());
  const std::string note = "vessory-export: the bias ";
  const struct {
    std::vector<std::string> args;
    const char* date;
    std::string said;  // the note, or "" for none
  } cases[] = {
      {{"-b", "-13x"}, "4/06/2002", note + "\"-13x\" was read as -13\n"},
      {{"--bias=abc"}, "4/07/2002", note + "\"abc\" was read as 0\n"},
      {{"-bEST"}, "4/07/2002", note + "\"EST\" was read as 0\n"},
      {{"-b", "-abc"}, "4/07/2002", note + "\"-abc\" was read as 0\n"},
      {{"-b", "5.5h"}, "4/07/2002", note + "\"5.5h\" was read as 5.5\n"},
      {{"--bias="}, "4/07/2002", note + "\"\" was read as 0\n"},
      {{"-b", "-13x", "-q"}, "4/06/2002", ""},
      {{"-b", "5.5"}, "4/07/2002", ""},
      {{"-b", " - 1 0 "}, "4/06/2002", ""},
      {{"-b", "&H10"}, "4/07/2002", ""},
      {{}, "4/06/2002", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    for (const bool all : {false, true}) {
      std::vector<std::string> args = c.args;
      const std::string csv = all ? path("out/journal.csv") : path("Datebook.csv");
      if (all) {
        args.insert(args.end(), {"--all", folder_.string(), "-o", path("out")});
      } else {
        args.push_back(db);
      }
      const std::size_t before = err().size();
      EXPECT_EQ(run(args), 0);
      const std::string said = err().substr(before);
      EXPECT_EQ(said.find(note) == std::string::npos ? "" : said.substr(0, c.said.size()), c.said);
      EXPECT_EQ(said.find(note, 1), std::string::npos) << said;
      EXPECT_EQ(readFile(csv).value_or("").substr(3, 9), c.date);
    }
  }
}

TEST_F(ConsoleTest, StandardOutputTakesTheCsvWhenOutputIsDash) {
  std::string db = archive(oneJournal());
  EXPECT_EQ(run({"-q", "-o", "-", db}), 0);
  EXPECT_EQ(out(), "0,,4/06/2002,9:15 AM,\"Woke up\"\r\n");
  EXPECT_NE(err().find("placed in:\r\nstandard output\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}

TEST_F(ConsoleTest, ExitStatusTellsHowTheArchiveEnded) {
  std::string full = oneJournal();
  EXPECT_EQ(run({"-q", archive(full + "X")}), 1);
  EXPECT_NE(err().find("NOT at End of File"), std::string::npos);
  EXPECT_EQ(run({"-q", archive(full.substr(0, full.size() - 3))}), 1);
  EXPECT_NE(err().find("Datebook file ended early"), std::string::npos);
  RecordPlan broken = journalRecord("x");
  broken.rawDescription = std::string("\xFF\x00\x00\x01\x00", 5);
  EXPECT_EQ(run({"-q", archive(ArchiveBuilder().archive({broken}).bytes())}), 4);
}

// Without -q the classic notice of a short read follows the words that explain it; -q keeps
// the classic order, notice first.
TEST_F(ConsoleTest, TheShortReadNoticeFollowsItsExplanationUnlessQuiet) {
  const std::string full = oneJournal();
  const std::string db = archive(full.substr(0, full.size() - 3));
  for (const bool quiet : {true, false}) {
    SCOPED_TRACE(quiet ? "-q" : "without -q");
    CapturedStream err;
    std::vector<std::string> args = {db};
    if (quiet) args.insert(args.begin(), "-q");
    console::runConsole(args, out_.get(), err.get(), false);
    const std::string text = err.text();
    const std::size_t notice = text.find("Just read char past EOF on byte ");
    const std::size_t explanation = text.find("Datebook file ended early");
    ASSERT_NE(notice, std::string::npos) << text;
    ASSERT_NE(explanation, std::string::npos) << text;
    EXPECT_EQ(notice < explanation, quiet) << text;
  }
}

TEST_F(ConsoleTest, NothingExportedGivesStatusThreeAndNoCsv) {
  EXPECT_EQ(run({"-q", path("missing.dat")}), 3);
  EXPECT_EQ(run({"-q", archive("")}), 3);
  EXPECT_EQ(run({"-q", archive("\x00\x01"
                               "bd....")}),
            3);
  EXPECT_EQ(run({"-q", folder_.string() + "/"}), 3);
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
  EXPECT_NE(err().find(path("Datebook.dat") + " is Not a Datebook DB file\n"), std::string::npos);
}

TEST_F(ConsoleTest, CsvThatCannotBeCreatedNamesThePathAndTheReason) {
  std::string db = archive(oneJournal());
  std::string target = path("no-such-folder/out.csv");
  EXPECT_EQ(run({"-q", "-o", target, db}), 3);
  EXPECT_EQ(err(), "Cannot create " + target + ": No such file or directory\n");
}

TEST_F(ConsoleTest, CsvPathThatIsTheArchiveUnderAnotherNameLeavesTheArchiveAlone) {
  std::string db = archive(oneJournal());
  fs::create_hard_link(db, path("alias.dat"));
  EXPECT_EQ(run({"-q", "-o", path("alias.dat"), db}), 3);
  EXPECT_EQ(err(),
            "Cannot export: the CSV file " + path("alias.dat") + " is the Datebook file itself\n");
  EXPECT_EQ(readFile(db), oneJournal());
}

TEST_F(ConsoleTest, FullDiskStopsWithAWriteErrorInsteadOfSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::string db = archive(oneJournal());
  EXPECT_EQ(run({"-q", "-o", "/dev/full", db}), 4);
  EXPECT_EQ(err().find("All Done"), std::string::npos);
  EXPECT_NE(err().find("Cannot write /dev/full: No space left on device"), std::string::npos);
}

TEST_F(ConsoleTest, ProgressIsDrawnOnlyOnATerminalWithoutQuiet) {
  std::string db = archive(oneJournal());
  run({db}, true);
  EXPECT_NE(err().find("Records read: "), std::string::npos);
  EXPECT_NE(err().find(" of 1, journals found: "), std::string::npos);
  CapturedStream quiet;
  console::runConsole({"-q", db}, out_.get(), quiet.get(), true);
  EXPECT_EQ(quiet.text().find("Records read"), std::string::npos);
  CapturedStream piped;
  console::runConsole({db}, out_.get(), piped.get(), false);
  EXPECT_EQ(piped.text().find("Records read"), std::string::npos);
}

TEST_F(ConsoleTest, UsageErrorsGiveStatusTwo) {
  EXPECT_EQ(run({}), 2);
  EXPECT_EQ(run({"a.dat", "b.dat"}), 2);
  EXPECT_EQ(run({"--bogus", "a.dat"}), 2);
  EXPECT_EQ(run({"a.dat", "-b"}), 2);
  EXPECT_EQ(run({"--quiet=yes", "a.dat"}), 2);
  EXPECT_NE(err().find("Try 'vessory-export --help'"), std::string::npos);
}

TEST_F(ConsoleTest, ValuesMayBeginWithADashAndDoubleDashEndsOptions) {
  console::ParsedOptions parsed =
      console::parseConsoleOptions({"-b", "-4", "-k", "-", "--", "-x.dat"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.bias, "-4");
  EXPECT_EQ(parsed.options.keywords, "-");
  EXPECT_EQ(parsed.options.archive, "-x.dat");
}

TEST_F(ConsoleTest, HelpDocumentsEveryOption) {
  EXPECT_EQ(run({"--help"}), 0);
  for (const char* option : {"--journal", "--keywords", "--bias", "--no-wrap", "--details",
                             "--output", "--quiet", "--help", "--version"}) {
    EXPECT_NE(out().find(option), std::string::npos) << option;
  }
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_NE(out().find("vessory-export 1.0"), std::string::npos);
}

// Options in the GNU manner: grouped short flags, a value joined to its short option or given
// after "=", "--" ending options; a usage error names the option as typed.
TEST_F(ConsoleTest, OptionsParseInTheGnuManner) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
    std::vector<std::string> given;
    std::string bias, keywords, journal, archive;
  };
  const std::vector<Case> cases = {
      {{"-qd", "a.dat"}, "", {"-q", "-d"}, "-4", "<>", "English: Daily Journal", "a.dat"},
      {{"-qdb", "-10", "a.dat"}, "", {"-q", "-d", "-b"}, "-10", "<>", "English: Daily Journal",
       "a.dat"},
      {{"-b-2", "-k[]", "a.dat"}, "", {"-b", "-k"}, "-2", "[]", "English: Daily Journal", "a.dat"},
      {{"--bias=-3", "--keywords=", "--journal=A: B=C", "a.dat"},
       "",
       {"--bias", "--keywords", "--journal"},
       "-3",
       "",
       "A: B=C",
       "a.dat"},
      {{"-k", "--keywords=", "--", "--quiet"}, "", {"-k"}, "-4", "--keywords=", "English: Daily Journal",
       "--quiet"},
      {{"-j", "", "-k", "", "-b", "1", "-b", "2", "a.dat"},
       "",
       {"-j", "-k", "-b", "-b"},
       "2",
       "",
       "",
       "a.dat"},
  };
  // Usage errors, each naming the option as typed.
  const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"-qx", "a.dat"}, "unknown option -x"},
      {{"--quiet=yes", "a.dat"}, "unknown option --quiet=yes"},
      {{"--quiet=true", "a.dat"}, "unknown option --quiet=true"},
      {{"--no-wrap=", "a.dat"}, "unknown option --no-wrap="},
      {{"--bogus=3", "-b"}, "unknown option --bogus=3"},
      {{"a.dat", "-qb"}, "option -b needs a value"},
      {{"a.dat", "--journal"}, "option --journal needs a value"},
      {{"-o", "", "a.dat"}, "option -o needs a path"},
      {{"--output=", "a.dat"}, "option --output needs a path"},
      {{"--all="}, "option --all needs a folder"},
      {{"--time-zone=", "a.dat"}, "option --time-zone needs a zone name, such as Europe/Berlin"},
      {{"--calendar", "-qj", "X", "a.dat"},
       "option -j belongs to the journal export and cannot be used with --calendar"},
      {{"--list-journals", "--output=x", "a.dat"},
       "option --output cannot be used with --list-journals"},
      {{"-q", "--", "a.dat", "-b"}, "more than one archive given"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const console::ParsedOptions parsed = console::parseConsoleOptions(c.args);
    EXPECT_EQ(parsed.error, c.error);
    EXPECT_EQ(parsed.options.given, c.given);
    EXPECT_EQ(parsed.options.bias, c.bias);
    EXPECT_EQ(parsed.options.keywords, c.keywords);
    EXPECT_EQ(parsed.options.journal, c.journal);
    EXPECT_EQ(parsed.options.archive, c.archive);
  }
  for (const auto& [args, error] : refused) {
    SCOPED_TRACE(::testing::PrintToString(args));
    EXPECT_EQ(console::parseConsoleOptions(args).error, error);
  }
  const console::ParsedOptions flags = console::parseConsoleOptions({"-qd", "--no-wrap", "x"});
  EXPECT_TRUE(flags.options.quiet && flags.options.details && !flags.options.wordWrap);
}

#ifndef _WIN32
// An input that is no file to read is refused with its name and the system's reason, before
// anything is opened (a named pipe would never answer).
TEST_F(ConsoleTest, InputThatIsNoFileIsRefusedWithTheSystemsReason) {
  fs::create_directory(path("Address.dat"));
  fs::create_symlink(path("loop-a"), path("loop-b"));
  fs::create_symlink(path("loop-b"), path("loop-a"));
  const bool fifo = mkfifo(path("pipe.dat").c_str(), 0600) == 0;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {path("missing.dat"), "No such file or directory"},
      {folder_.string(), "is a folder; to export every archive in it, use --all " + folder_.string()},
      {path("Address.dat"),
       "is a folder; to export every archive in it, use --all " + path("Address.dat")},
      {path("loop-a"), "Too many levels of symbolic links"},
      {fifo ? path("pipe.dat") : "/dev/null", fifo ? "is a named pipe, not a file"
                                                   : "is a device, not a file"},
  };
  // A quiet run (a script's) keeps the export's own text, and still opens no pipe.
  const std::string navigate =
      "Navigate to the directory that contains the Datebook.dat file (usually "
      "C:\\PALM\\{hotsyncname}\\Datebook), select Datebook.dat and tap on Export\n";
  for (const auto& [input, reason] : cases) {
    SCOPED_TRACE(input);
    CapturedStream err;
    EXPECT_EQ(console::runConsole({input}, out_.get(), err.get(), false), 3);
    EXPECT_EQ(err.text(), "vessory-export: " + input + ": " + reason + "\n");
    CapturedStream quiet;
    EXPECT_EQ(console::runConsole({"-q", input}, out_.get(), quiet.get(), false), 3);
    EXPECT_EQ(quiet.text(), navigate);
  }
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}
#endif

// A file that is none of the archives this tool reads: the window's text, then what it holds.
TEST_F(ConsoleTest, FileOfAnotherKindIsNamedAfterTheRefusal) {
  const std::string jpeg = archive("\xff\xd8\xff\xe0 JFIF", "photo.dat");
  EXPECT_EQ(run({jpeg}), 3);
  EXPECT_EQ(err(), jpeg + " is Not a Datebook DB file\nvessory-export: " + jpeg +
                       ": a JPEG image\n");
  CapturedStream quiet;
  EXPECT_EQ(console::runConsole({"-q", jpeg}, out_.get(), quiet.get(), false), 3);
  EXPECT_EQ(quiet.text(), jpeg + " is Not a Datebook DB file\n");
  const std::string binary = archive(std::string("\x00\x02\x42\x44\x01\x07", 6), "odd.dat");
  CapturedStream unknown;
  EXPECT_EQ(console::runConsole({binary}, out_.get(), unknown.get(), false), 3);
  EXPECT_EQ(unknown.text(), binary + " is Not a Datebook DB file\n");
}

// -o naming a file this tool reads (told by content, whatever its name) would replace it.
TEST_F(ConsoleTest, OutputThatIsAnotherArchiveIsRefused) {
  const std::string db = archive(oneJournal());
  const std::string other = archive(oneJournal(), "kept.csv");
  EXPECT_EQ(run({"-q", "-o", other, db}), 2);
  EXPECT_EQ(err(), "vessory-export: -o " + other +
                       " holds an archive or database; the export would replace it: name "
                       "another output\nTry 'vessory-export --help'.\n");
  EXPECT_EQ(readFile(other), oneJournal());
  EXPECT_EQ(run({"-q", "--all", folder_.string(), "-o", other}), 2);
  EXPECT_EQ(readFile(other), oneJournal());
  writeFile(path("old.csv"), "0,,x\r\n");
  EXPECT_EQ(run({"-q", "-o", path("old.csv"), db}), 0);
}

// --help and --version that cannot be written fail as the listing does.
TEST_F(ConsoleTest, HelpAndVersionThatCannotBeWrittenExitFour) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  for (const char* option : {"--help", "--version"}) {
    SCOPED_TRACE(option);
    CapturedStream err;
    EXPECT_EQ(console::runConsole({option}, full, err.get(), false), 4);
    EXPECT_EQ(err.text(), "Cannot write standard output: No space left on device\n");
    std::clearerr(full);
  }
  std::fclose(full);
}

// The progress line fits the terminal whatever its width: a wrapped line would leave a line
// per redraw.
TEST_F(ConsoleTest, ProgressLineIsCutToTheTerminalsWidth) {
  console::ConsoleOptions options;
  for (int columns : {0, 12, 30, 200}) {
    SCOPED_TRACE(columns);
    CapturedStream err;
    console::ConsoleView view(options, err.get(), true);
    view.setTerminalWidth(columns);
    view.showTotalRecords("32767");
    view.showThisRecord("12345");
    view.processPendingEvents();
    const std::string full = "Records read: 12345 of 32767, journals found: 0";
    const std::string shown =
        columns > 0 && full.size() >= static_cast<std::size_t>(columns) ? full.substr(0, columns - 1)
                                                                          : full;
    EXPECT_EQ(err.text(), "\r" + shown + "\x1b[K");
  }
}

}  // namespace
}  // namespace vessory::testing
