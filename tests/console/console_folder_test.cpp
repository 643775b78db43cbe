#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "console/console_folder.h"
#include "console/console_options.h"
#include "console/console_view.h"
#include "console/windows_launch.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"
#include "support/fake_export.h"
#include "support/later_desktop_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

std::string datebook(const std::string& note = "9:15 am: Woke up") {
  return ArchiveBuilder().archive({journalRecord(note, 1018137600, "Daily Journal")}).bytes();
}
std::string noJournal() {
  return ArchiveBuilder().archive({journalRecord("9:15 am: x", 1018137600, "Dentist")}).bytes();
}
std::string address() {
  ContactPlan anna;
  anna.firstName = "Anna";
  return buildAddressArchive({}, {anna});
}
std::string todo() {
  TodoPlan task;
  task.description = "Call Tom";
  return buildTodoArchive({}, {task});
}
std::string memo() {
  MemoPlan note;
  note.text = "Shopping\r\nbread";
  return buildMemoArchive({}, {note});
}

// `text` with the names relative to the folder exported spelt with the platform's separator,
// as the summary and the guide spell them.
std::string native(std::string text) {
  std::replace(text.begin(), text.end(), '/', exporting::pathSeparator());
  return text;
}

std::string laterWrapper() { return std::string("\xBE\xBA\xFE\xCA\x0FPalmSG Database00RV", 24); }

std::string laterDatebook() {
  const LaterPlan plan = laterDatebookPlan();
  return buildLaterFile(plan, {laterEvent(journalRecord("9:15 am: x"), "Home", plan)});
}

std::string laterTodoList() {
  const LaterPlan plan = laterTodoPlan();
  LaterTodoPlan todo;
  todo.description = "Call";
  return buildLaterFile(plan, {laterTodo(todo, plan)});
}

// `vessory-export --all` in-process, on real folders in a fresh temporary folder "User".
class ConsoleFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    root_ = fs::temp_directory_path() / ("vessory-folder-" + std::to_string(seed()));
    fs::create_directories(user());
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path user() const { return root_ / "User"; }
  fs::path out() const { return root_ / "User-export"; }
  void place(const std::map<std::string, std::string>& files) {
    for (const auto& [name, bytes] : files) {
      fs::create_directories((user() / name).parent_path());
      writeFile((user() / name).string(), bytes);
    }
  }
  int run(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--all", user().string(), "--time-zone", "UTC"};
    args.insert(args.end(), extra.begin(), extra.end());
    err_ = std::make_unique<CapturedStream>();
    return console::runConsole(args, stdout, err_->get(), false);
  }
  std::string err() { return err_->text(); }

  fs::path root_;
  std::unique_ptr<CapturedStream> err_;
};

struct LayoutCase {
  const char* name;
  std::map<std::string, std::string> files;
  std::vector<std::string> written;  // in the output folder
  std::vector<std::string> absent;
  int status;
  std::vector<std::string> said;  // lines of the summary, or parts of them
};

TEST_F(ConsoleFolderTest, EveryArchiveFoundGoesToItsOwnNameAndTheWorstStatusWins) {
  const std::string full = address();
  const std::vector<LayoutCase> cases = {
      {"kind folders, names in other letter cases",
       {{"DateBook/DATEBOOK.DAT", datebook()},
        {"Address/address.dat", address()},
        {"todo/TODO.dat", todo()},
        {"MEMOPAD/MemoPad.DAT", memo()}},
       {"calendar.ics", "journal.csv", "contacts.vcf", "todos.ics", "memos/Unfiled/Shopping.txt"},
       {},
       0,
       {"DateBook/DATEBOOK.DAT (date book): calendar.ics (1 event), journal.csv (1 entry, daily notes: 1 day in journal/); all "
        "done\n",
        "Address/address.dat (address book): contacts.vcf (1 contact); all done\n",
        "todo/TODO.dat (to-do list): todos.ics (1 to-do); all done\n",
        "MEMOPAD/MemoPad.DAT (memo pad): memos/ (1 memo); all done\n"}},
      {"files in the folder itself; archive files and live files side by side",
       {{"Datebook.dat", datebook()},
        {"Address.ABA", address()},
        {"Address.dat", address()},
        {"notes.txt", "x"}},
       {"calendar.ics", "journal.csv", "contacts.vcf", "contacts-archive.vcf"},
       {"todos.ics", "memos"},
       0,
       {"Address.ABA (address book, archive file): contacts-archive.vcf (1 contact)"}},
      {"the content decides the kind; a kind folder's file before the folder's own",
       {{"address/Address.dat", datebook()}, {"Datebook.dat", datebook("9:15 am: Later")}},
       {"calendar.ics", "journal.csv"},
       {"contacts.vcf"},
       0,
       {"Datebook.dat (date book): left out: its exports would replace those of "
        "address/Address.dat"}},
      {"one archive damaged, the others still exported",
       {{"datebook/Datebook.dat", datebook()},
        {"address/Address.dat", full.substr(0, full.size() - 2)},
        {"todo/ToDo.dat", "not an archive"},
        {"memopad/MemoPad.dat", memo()}},
       {"calendar.ics", "journal.csv", "memos/Unfiled/Shopping.txt"},
       {"todos.ics", "contacts.vcf"},
       3,
       {"address/Address.dat (address book): contacts.vcf not written; no record could be read -- ",
        "todo/ToDo.dat (not an archive this tool reads): nothing exported\n"}},
      {"a date book without journal entries leaves journal.csv out",
       {{"datebook/Datebook.dat", noJournal()}},
       {"calendar.ics"},
       {"journal.csv", "journal.csv.part"},
       0,
       {"journal.csv not written"}},
      {"later desktop files: the date book and to-do list read, the others named",
       {{"datebook/datebook.dat", laterDatebook()},
        {"datebook/datebook.001.dat", datebook()},
        {"todo/todo.dat", laterTodoList()},
        {"address/address.dat", laterWrapper() + std::string("\x00\x02" "BA", 4)},
        {"DateBook.mdb", std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20)},
        {"other.mdb", "not a database"}},
       {"calendar.ics", "journal.csv", "todos.ics"},
       {"contacts.vcf"},
       3,
       {"datebook/datebook.dat (date book): calendar.ics (1 event), journal.csv (1 entry, daily notes: 1 day in journal/); all "
        "done\n",
        "todo/todo.dat (to-do list): todos.ics (1 to-do); all done\n",
        "address/address.dat (address book of desktop version 4.1.4 or later): not read: nothing "
        "exported -- address/address.dat is an address book of desktop version 4.1.4 or later",
        "DateBook.mdb (database of desktop version 6): not read: nothing exported -- "
        "DateBook.mdb, the date book, is a database of desktop version 6"}},
      {"a folder of two users",
       {{"Alice/datebook/Datebook.dat", datebook()},
        {"Bob/MemoPad.dat", memo()},
        {"Carol/empty.txt", ""}},
       {"Alice/calendar.ics", "Alice/journal.csv", "Bob/memos/Unfiled/Shopping.txt"},
       {"Carol", "calendar.ics"},
       0,
       {"Alice/datebook/Datebook.dat (date book): Alice/calendar.ics (1 event), "
        "Alice/journal.csv (1 entry, daily notes: 1 day in Alice/journal/); all done\n",
        "Bob/MemoPad.dat (memo pad): Bob/memos/ (1 memo); all done\n"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_);
    fs::create_directories(user());
    place(c.files);
    EXPECT_EQ(run({"-q"}), c.status) << err();
    for (const std::string& name : c.written) EXPECT_TRUE(fs::exists(out() / name)) << name;
    for (const std::string& name : c.absent) EXPECT_FALSE(fs::exists(out() / name)) << name;
    const std::string summary = err();
    EXPECT_EQ(summary.rfind("Exported " + user().string() + " into " + out().string() +
                                "; times as the clock showed them in UTC:\n",
                            0),
              0u)
        << summary;
    for (const std::string& line : c.said)
      EXPECT_NE(summary.find(native(line)), std::string::npos) << summary;
  }
}

TEST_F(ConsoleFolderTest, AnEarlierJournalSurvivesAnArchiveWithoutEntries) {
  place({{"datebook/Datebook.dat", datebook()}});
  ASSERT_EQ(run({"-q"}), 0);
  const std::optional<std::string> first = readFile((out() / "journal.csv").string());
  ASSERT_TRUE(first && !first->empty());
  writeFile((out() / "mine.txt").string(), "kept");
  place({{"datebook/Datebook.dat", noJournal()}});
  EXPECT_EQ(run({"-q"}), 0);
  EXPECT_EQ(readFile((out() / "journal.csv").string()), first);
  EXPECT_EQ(readFile((out() / "mine.txt").string()), "kept");
  EXPECT_FALSE(fs::exists(out() / "journal.csv.part"));
}

TEST_F(ConsoleFolderTest, OutputFolderInAKindFolderOrTheFolderItselfIsRefused) {
  place({{"DateBook/Datebook.dat", datebook()}});
  const std::vector<std::pair<std::string, int>> cases = {
      {user().string(), 2},
      {(user() / "DateBook").string(), 2},
      {(user() / "DateBook" / "new" / "deeper").string(), 2},
      {(user() / "DateBook" / ".." / "exports").string(), 0},
      {(user() / "exports").string(), 0},
  };
  for (const auto& [output, status] : cases) {
    SCOPED_TRACE(output);
    EXPECT_EQ(run({"-q", "-o", output}), status) << err();
    if (status == 2) {
      EXPECT_NE(err().find("the output folder " + output), std::string::npos) << err();
      EXPECT_FALSE(fs::exists(fs::path(output) / "calendar.ics"));
    }
  }
  EXPECT_FALSE(fs::exists(user() / "DateBook" / "new"));
}

TEST_F(ConsoleFolderTest, NothingFoundNamesTheFoldersLookedIn) {
  place({{"datebook/readme.txt", "x"}, {"Other/notes.txt", "y"}});
  EXPECT_EQ(run({"-q"}), 3);
  EXPECT_EQ(err(), "vessory-export: no archive found; looked in " + user().string() + " " +
                       (user() / "datebook").string() + " " + (user() / "Other").string() + "\n");
  EXPECT_FALSE(fs::exists(out()));
  EXPECT_EQ(run({"-q", "-o", (root_ / "missing" / "x").string()}), 3);
}

TEST_F(ConsoleFolderTest, ProgressIsOneLinePerArchiveAndOptionsOfOneExportAreRefused) {
  place({{"datebook/Datebook.dat", datebook()}, {"address/Address.dat", address()}});
  CapturedStream terminal;
  EXPECT_EQ(console::runConsole({"--all", user().string(), "--time-zone", "UTC"}, stdout,
                                terminal.get(), true),
            0);
  const std::string text = terminal.text();
  EXPECT_EQ(text.rfind(native("datebook/Datebook.dat: 1 records read\naddress/Address.dat: 1 "
                              "records read\nExported "),
                       0),
            0u)
      << text;
  for (std::vector<std::string> extra : {std::vector<std::string>{"--calendar"},
                                         {"--list-journals"},
                                         {"Datebook.dat"},
                                         {"-o", "-"},
                                         {"--time-zone", "Nowhere/Atlantis"}}) {
    EXPECT_EQ(run(extra), 2) << extra[0];
  }
}

// --all, and a folder dropped on the program, write the import guide beside the exports and
// name it last; when no output could be made, the first line does not say "Exported".
TEST_F(ConsoleFolderTest, TheGuideIsWrittenAndNamedAndNothingMadeIsNotCalledExported) {
  place({{"datebook/Datebook.dat", datebook()}, {"address/Address.dat", address()}});
  struct DropHost : console::LaunchHost {
    bool ownConsole() override { return true; }
    bool inputIsConsole() override { return false; }
    bool isFolder(const std::string& path) override { return fs::is_directory(path); }
    void waitForEnter() override {}
  } host;
  const fs::path guide = out() / "How to import.txt";
  for (bool dropped : {false, true}) {
    SCOPED_TRACE(dropped);
    fs::remove_all(out());
    CapturedStream err;
    const int status =
        dropped ? console::runLaunched({user().string()}, host, err.get(),
                                       [&](const std::vector<std::string>& args) {
                                         return console::runConsole(args, stdout, err.get(), false);
                                       })
                : console::runConsole({"--all", user().string(), "-q"}, stdout, err.get(), false);
    EXPECT_EQ(status, 0);
    const std::optional<std::string> text = readFile(guide.string());
    ASSERT_TRUE(text) << err.text();
    EXPECT_NE(text->find(native("contacts.vcf -- from address/Address.dat")), std::string::npos);
    EXPECT_TRUE(err.text().ends_with(guide.string() +
                                     " tells how to bring these files into other programs.\n"))
        << err.text();
  }
  writeFile((root_ / "file").string(), "not a folder");
  const fs::path blocked = root_ / "file" / "out";
  EXPECT_EQ(run({"-q", "-o", blocked.string()}), 3);
  EXPECT_EQ(err().rfind("Nothing of " + user().string() + " was exported into " +
                            blocked.string() + ":\n",
                        0),
            0u)
      << err();
}

// A full disk that lets no file be written: the summary says nothing was exported, and the
// exit status says it failed.
TEST(ConsoleFolderMemoryTest, EveryFileFailingIsNothingExported) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'";
#endif
  MemoryFiles files;
  files.failWritesAfter = 0;
  files.archives["/p/memopad/MemoPad.dat"] = memo();
  files.archives["/p/address/Address.dat"] = address();
  console::ConsoleOptions options;
  options.all = "/p";
  options.output = "/o";
  options.timeZone = "UTC";
  CapturedStream err;
  EXPECT_GE(console::exportFolder(options, files, err.get(), false), 3);
  EXPECT_EQ(err.text().rfind("Nothing of /p was exported into /o:\n", 0), 0u) << err.text();
  EXPECT_TRUE(files.outputPaths().empty());
}

// The summary's first line names both folders absolute, however they were given, and the zone
// the times are on; no line holds parentheses inside parentheses.
TEST_F(ConsoleFolderTest, SummaryNamesBothFoldersAbsoluteAndTheZone) {
  place({{"datebook/Datebook.dat", datebook()}, {"address/Address.aba", address()}});
  const fs::path before = fs::current_path();
  fs::current_path(root_);
  CapturedStream err;
  const int status = console::runConsole(
      {"--all", "User", "-o", "Out", "--time-zone=Europe/Berlin", "-q"}, stdout, err.get(), false);
  fs::current_path(before);
  EXPECT_EQ(status, 0);
  const std::string summary = err.text();
  EXPECT_EQ(summary.rfind("Exported " + (root_ / "User").string() + " into " +
                              (root_ / "Out").string() +
                              "; times as the clock showed them in Europe/Berlin:\n",
                          0),
            0u)
      << summary;
  EXPECT_NE(summary.find(native("address/Address.aba (address book, archive file): ")),
            std::string::npos)
      << summary;
  int depth = 0;
  for (char c : summary) {
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    EXPECT_LE(depth, 1) << summary;
  }
}

}  // namespace
}  // namespace vessory::testing
