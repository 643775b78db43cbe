#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"

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
  RecordSpec other;
  other.description = "Dentist";
  other.startTime = 0;
  std::string db = archive(ArchiveBuilder().archive({other, journalRecord("x")}).bytes());
  EXPECT_EQ(run({"-d", "-q", "-b", "0", "-o", path("out.csv"), db}), 0);
  EXPECT_EQ(err().substr(0, 62),
            "1/01/1970, 00:00:00\tDentist\n4/07/2002, 00:00:00\tDaily Journal\n");
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
  RecordSpec broken = journalRecord("x");
  broken.rawDescription = std::string("\xFF\x00\x00\x01\x00", 5);
  EXPECT_EQ(run({"-q", archive(ArchiveBuilder().archive({broken}).bytes())}), 4);
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

}  // namespace
}  // namespace vessory::testing
