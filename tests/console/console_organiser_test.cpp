// The console tool's choice of run by the archive's kind, its usage errors, and what it writes
// to its streams around the runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

class ConsoleOrganiserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    folder_ = fs::temp_directory_path() / ("vessory-organiser-" + std::to_string(seed()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string archive(const std::string& name, const std::string& bytes) {
    writeFile(path(name), bytes);
    return path(name);
  }
  int run(std::vector<std::string> args, bool terminal = false, std::FILE* out = nullptr) {
    CapturedStream captured, err;
    const int status = console::runConsole(args, out ? out : captured.get(), err.get(), terminal);
    out_ = out ? "" : captured.text();
    err_ = err.text();
    return status;
  }
  // Whether nothing besides the archives is in the folder.
  bool onlyArchives() const {
    for (const auto& entry : fs::directory_iterator(folder_)) {
      if (entry.path().extension() != ".dat") return false;
    }
    return true;
  }

  fs::path folder_;
  std::string out_, err_;
};

std::string contacts() {
  ContactPlan contact;
  contact.lastName = "Smith";
  return buildAddressArchive({}, {contact});
}
std::string todos(const OrganiserArchivePlan& plan = {}) {
  TodoPlan todo;
  todo.description = "Call";
  return buildTodoArchive(plan, {todo});
}
std::string memos() {
  MemoPlan memo;
  memo.text = "Shopping\nmilk";
  return buildMemoArchive({}, {memo});
}
std::string journals(const std::string& description = "Daily Journal") {
  return ArchiveBuilder()
      .archive({journalRecord("9:15 am: Woke up", 1018137600, description)})
      .bytes();
}

TEST_F(ConsoleOrganiserTest, OptionsOfAnotherKindsExportAreUsageErrorsNamingTheOption) {
  OrganiserArchivePlan later;
  later.tag = std::string(
      "\x00\x02"
      "DT",
      4);
  later.wrapped = true;  // the later layout comes behind the wrapper
  struct Kind {
    std::string file, bytes, name;
  };
  const std::vector<Kind> kinds = {{"address.dat", contacts(), "an address book"},
                                   {"todo.dat", todos(), "a to-do list"},
                                   {"later.dat", todos(later), "a to-do list"},
                                   {"memopad.dat", memos(), "a memo pad"}};
  const std::vector<std::vector<std::string>> misplaced = {
      {"-j", "x"},  {"--journal=x"}, {"-k", "[]"},   {"--keywords", "[]"}, {"-b", "0"},
      {"--bias=1"}, {"--no-wrap"},   {"--calendar"}, {"--list-journals"}};
  for (const Kind& kind : kinds) {
    const std::string db = archive(kind.file, kind.bytes);
    for (std::vector<std::string> args : misplaced) {
      const std::string option = args[0].substr(0, args[0].find('='));
      SCOPED_TRACE(kind.file + " " + option);
      args.push_back(db);
      EXPECT_EQ(run(args), 2);
      EXPECT_EQ(err_, "vessory-export: option " + option +
                          " belongs to the date book's exports and cannot be used with " +
                          kind.name + " archive\nTry 'vessory-export --help'.\n");
    }
  }
  const std::string db = archive("Datebook.dat", journals());
  // The journal takes a zone as the calendar does (its times follow it), but not the rest.
  for (const char* option : {"--include-deleted"}) {
    std::vector<std::string> args = {option};
    args.push_back(db);
    EXPECT_EQ(run(args), 2) << option;
    EXPECT_NE(err_.find(std::string("option ") + option + " belongs to the calendar export"),
              std::string::npos)
        << err_;
  }
  const std::string memo = archive("memopad.dat", memos());
  for (const char* dash : {"-o", "--output"}) {
    EXPECT_EQ(run({dash, "-", memo}), 2);
    EXPECT_NE(err_.find("-o needs a folder, not -"), std::string::npos) << err_;
  }
  EXPECT_TRUE(onlyArchives());
}

TEST_F(ConsoleOrganiserTest, EmptyZoneIsAUsageErrorAndEachBadSettingIsSaidOnce) {
  const std::string db = archive("todo.dat", todos());
  EXPECT_EQ(run({"--time-zone", "", db}), 2);
  EXPECT_NE(err_.find("option --time-zone needs a zone name"), std::string::npos) << err_;
  EXPECT_EQ(run({"--time-zone=", "--calendar", archive("Datebook.dat", journals())}), 2);
  EXPECT_NE(err_.find("option --time-zone needs a zone name"), std::string::npos) << err_;
  for (std::vector<std::string> args :
       {std::vector<std::string>{"--calendar", "--encoding", "bogus", path("Datebook.dat")},
        std::vector<std::string>{"--encoding", "bogus", db}}) {
    EXPECT_EQ(run(args), 2);
    std::size_t said = 0;
    for (std::size_t at = err_.find("bogus"); at != std::string::npos;
         at = err_.find("bogus", at + 1)) {
      ++said;
    }
    EXPECT_EQ(said, 1u) << err_;
    EXPECT_NE(err_.find("haracter set bogus"), std::string::npos) << err_;
  }
  EXPECT_TRUE(onlyArchives());
}

TEST_F(ConsoleOrganiserTest, AFileNamedNotReadIsNamedWhateverTheOptions) {
  const std::string address = archive(
      "ADDRESS.DAT", std::string("\xBE\xBA\xFE\xCA\x0FPalmSG Database00RV\x00\x02" "BA", 28));
  const std::string jet = archive("DateBook.mdb", std::string("\x00\x01\x00\x00Standard Jet DB", 19));
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{}, {"--calendar", "--time-zone", "UTC"},
                                             {"--list-journals"}, {"-o", "-", "-b", "0"}}) {
    for (const auto& [file, says] : std::vector<std::pair<std::string, std::string>>{
             {address, " is an address book of desktop version 4.1.4 or later"},
             {jet, ", the date book, is a database of desktop version 6"}}) {
      std::vector<std::string> args = options;
      args.push_back(file);
      EXPECT_EQ(run(args), 3) << err_;
      EXPECT_EQ(err_.find(file + says), 0u) << err_;
      EXPECT_TRUE(out_.empty());
      EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    }
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(ConsoleOrganiserTest, ExitStatusFollowsTheOrganiserRunsOutcome) {
  const std::string whole = contacts();
  ContactPlan bad;
  bad.faults.typeCodes[3] = 6;
  OrganiserArchivePlan misfit;
  misfit.fieldsPerRow = 7;
  OrganiserArchivePlan later;
  later.tag = std::string(
      "\x00\x02"
      "DT",
      4);
  later.wrapped = true;  // the later layout comes behind the wrapper
  struct Row {
    std::string bytes;
    int status;
  };
  const std::string two = buildAddressArchive({}, {ContactPlan{}, ContactPlan{}});
  const std::vector<Row> rows = {{whole, 0},
                                 {two.substr(0, two.size() - 1), 1},
                                 {whole.substr(0, whole.size() - 1), 3},  // no record whole
                                 {whole + "X", 1},
                                 {buildAddressArchive({}, {ContactPlan{}, bad}), 4},
                                 {buildAddressArchive(misfit, {ContactPlan{}}), 4},
                                 {todos(later), 3}};
  for (const Row& row : rows) {
    EXPECT_EQ(run({"-q", archive("address.dat", row.bytes)}), row.status) << err_;
  }
  EXPECT_EQ(run({"-q", "-o", "-", archive("address.dat", whole)}), 0);
  EXPECT_EQ(out_.rfind("BEGIN:VCARD\r\n", 0), 0u) << out_;
  EXPECT_NE(err_.find("placed in:\r\nstandard output\r\n"), std::string::npos) << err_;
}

TEST_F(ConsoleOrganiserTest, ListingThatCannotBeWrittenSaysSoWithStatusFour) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  const int status = run({"--list-journals", archive("Datebook.dat", journals())}, false, full);
  std::fclose(full);
  EXPECT_EQ(status, 4);
  EXPECT_EQ(err_, "Cannot write standard output: No space left on device\n");
}

TEST_F(ConsoleOrganiserTest, JournalExportThatFindsNothingSaysHowToListTheNames) {
  const std::string db = archive("Datebook.dat", journals("Logbook"));
  EXPECT_EQ(run({"-j", "Work: Diary", db}), 3);
  const std::string hint =
      "No journal entries were found under \"Diary\"; vessory-export "
      "--list-journals " +
      db + " lists the descriptions this archive uses.\n";
  EXPECT_TRUE(err_.ends_with(hint)) << err_;
  EXPECT_EQ(run({"-q", "-j", "Work: Diary", db}), 0);
  EXPECT_EQ(err_.find("No journal entries"), std::string::npos) << err_;
  EXPECT_EQ(run({"-j", "Logbook", db}), 0);
  EXPECT_EQ(err_.find("No journal entries"), std::string::npos) << err_;
}

TEST_F(ConsoleOrganiserTest, NoProgressLineWhenTheResultsGoToStandardOutput) {
  const std::string db = archive("Datebook.dat", journals());
  const std::string address = archive("address.dat", contacts());
  const std::vector<std::vector<std::string>> toOut = {
      {"--list-journals", db},
      {"-o", "-", db},
      {"--calendar", "--time-zone=UTC", "-o", "-", db},
      {"-o", "-", address}};
  for (const std::vector<std::string>& args : toOut) {
    run(args, true);
    EXPECT_EQ(err_.find("Records read"), std::string::npos) << args[0] << "\n" << err_;
    EXPECT_FALSE(out_.empty()) << args[0];
  }
  // The same runs into files draw it.
  run({"-o", path("x.vcf"), address}, true);
  EXPECT_NE(err_.find(" of 1, contacts written: "), std::string::npos) << err_;
}

TEST_F(ConsoleOrganiserTest, JournalNameInUtf8MatchesTheArchivesCharacterSetWhenGivenOne) {
  const std::string db = archive("Datebook.dat", journals("Logb\xFC"
                                                          "ch"));
  EXPECT_EQ(run({"-q", "-j", "German: Logb\u00FCch", "--encoding", "windows-1252", db}), 0);
  EXPECT_NE(readFile(path("Datebook.csv")).value_or("").find("Woke up"), std::string::npos);
  // Without a character set the name is matched byte for byte, as it always was.
  // (and an export without an entry leaves the earlier CSV, as the quiet one does not).
  EXPECT_EQ(run({"-j", "German: Logb\u00FCch", db}), 3);
  EXPECT_NE(readFile(path("Datebook.csv")).value_or("").find("Woke up"), std::string::npos);
  EXPECT_NE(err_.find("No journal entries were found"), std::string::npos) << err_;
  EXPECT_EQ(run({"-q", "-j", "German: Logb\u00FCch", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")), "");
  EXPECT_EQ(run({"-q", "-j",
                 "German: Logb\xFC"
                 "ch",
                 db}),
            0);
  EXPECT_NE(readFile(path("Datebook.csv")).value_or("").find("Woke up"), std::string::npos);
}

}  // namespace
}  // namespace vessory::testing
