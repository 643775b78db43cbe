// The web page's core over a user folder held in memory: what a scan lists, that an export is
// the console's --all (its status, summary and files), and its progress and stop.

#include "web/web_core.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console_folder.h"
#include "console/console_options.h"
#include "console/stop_signals.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using web::WebCore;

constexpr char kOptions[] = R"({"timeZone":"UTC","keywords":"<>","dailyNotes":true})";
// The worst status of the folder's exports: the file in the to-do folder is no archive.
constexpr int kStatus = 3;

// A user folder: a date book with two journals, its address book twice (the copy in the user
// folder itself is left out), a memo pad, and a file in a kind folder that is no archive.
void fillUserFolder(MemoryFiles& files) {
  files.archives["/in/User/datebook/Datebook.dat"] =
      ArchiveBuilder()
          .archive({journalRecord("9:15 am: Woke up"), journalRecord("Ran 5k", 1018224000, "Gym"),
                    journalRecord("Slept", 1018310400)})
          .bytes();
  ContactPlan contact;
  contact.lastName = "Lee";
  const std::string address = buildAddressArchive({}, {contact});
  files.archives["/in/User/address/Address.dat"] = address;
  files.archives["/in/User/Address.dat"] = address;
  MemoPlan memo;
  memo.text = "Shopping\nmilk";
  files.archives["/in/User/memopad/MemoPad.dat"] = buildMemoArchive({}, {memo});
  files.archives["/in/User/todo/ToDo.dat"] = "not an archive at all";
}

// What the console's --all prints for the same folder and options, and its status.
struct ConsoleRun {
  int status = 0;
  std::string printed;
};
ConsoleRun consoleAll(const std::vector<std::string>& extra) {
  MemoryFiles files;
  fillUserFolder(files);
  std::vector<std::string> args = {"--all", "/in/User", "-o", "/out"};
  args.insert(args.end(), extra.begin(), extra.end());
  const console::ParsedOptions parsed = console::parseConsoleOptions(args);
  EXPECT_EQ(parsed.error, "");
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* err = open_memstream(&text, &size);
  ConsoleRun run;
  run.status = console::exportFolder(parsed.options, files, err, false);
  std::fclose(err);
  run.printed.assign(text, size);
  std::free(text);
  return run;
}

struct WebCoreTest : ::testing::Test {
  WebCoreTest() { fillUserFolder(files); }
  MemoryFiles files;
  std::vector<std::string> told;  // "done/total text" of every progress call
  WebCore core{files, [this](std::int64_t done, std::int64_t total, const std::string& text) {
                 told.push_back(std::to_string(done) + "/" + std::to_string(total) + " " + text);
               }};
};

TEST_F(WebCoreTest, ScanListsWhatAllFindsAndTheJournalsItsDateBooksHold) {
  EXPECT_EQ(
      core.scan("/in/User"),
      R"({"found":[)"
      R"({"path":"datebook/Datebook.dat","kind":"date book","holds":"date book","output":"calendar.ics, journal.csv"},)"
      R"({"path":"address/Address.dat","kind":"address book","holds":"address book","output":"contacts.vcf"},)"
      R"({"path":"memopad/MemoPad.dat","kind":"memo pad","holds":"memo pad","output":"memos/"}],)"
      R"("leftAlone":[{"path":"todo/ToDo.dat","reason":"not an archive this tool reads"},)"
      R"({"path":"Address.dat","reason":"left out: its exports would replace those of address/Address.dat"}],)"
      R"("journals":[{"name":"Daily Journal","count":2},{"name":"Gym","count":1}],)"
      R"("message":""})");
}

TEST_F(WebCoreTest, ScanOfAFolderWithoutArchivesSaysSoAsTheConsoleDoes) {
  files.archives = {{"/in/Empty/notes.txt", "hello"}};
  EXPECT_EQ(core.scan("/in/Empty"), R"({"found":[],"leftAlone":[],"journals":[],)"
                                    R"("message":"no archive found; looked in /in/Empty"})");
}

TEST_F(WebCoreTest, ExportIsTheConsolesAllWithItsSummaryStatusAndFiles) {
  const ConsoleRun console = consoleAll({"--time-zone", "UTC", "-k", "<>"});
  EXPECT_EQ(core.exportFolder("/in/User", "/out", kOptions), console.status);
  EXPECT_EQ(core.summary(), console.printed);
  EXPECT_NE(core.summary().find("daily notes"), std::string::npos) << core.summary();
  std::string listed;
  for (const std::string& path : files.outputPaths()) {
    listed +=
        (listed.empty() ? "" : ",") + ("\"" + path.substr(std::string("/out/").size()) + "\"");
  }
  EXPECT_EQ(core.outputsJson(), "[" + listed + "]");
  EXPECT_NE(core.outputsJson().find("\"How to import.txt\""), std::string::npos);
}

TEST_F(WebCoreTest, OptionsBecomeTheConsolesOptions) {
  struct Case {
    std::string json;
    std::vector<std::string> args;
    bool dailyNotes;
  };
  const std::vector<Case> cases = {
      {"{}", {}, true},
      {R"({"journal":"","timeZone":"","encoding":"","keywords":""})", {"-k", ""}, true},
      {R"({"journal":"Gym","keywords":"[]","timeZone":"Europe/Berlin","encoding":"CP932",)"
       R"("dailyNotes":false,"includeDeleted":true})",
       {"--encoding", "CP932", "--include-deleted", "-j", "Gym", "-k", "[]", "--time-zone",
        "Europe/Berlin"},
       false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args;
    bool dailyNotes = !c.dailyNotes;
    std::string error;
    EXPECT_TRUE(web::consoleArguments(c.json, args, dailyNotes, error)) << c.json << error;
    EXPECT_EQ(args, c.args) << c.json;
    EXPECT_EQ(dailyNotes, c.dailyNotes) << c.json;
  }
}

TEST_F(WebCoreTest, OptionsTheConsoleWouldRefuseAreUsageErrorsWithNothingWritten) {
  const std::vector<std::string> refused = {R"({"bias":"-4"})", R"({"journal":true})",
                                            R"({"dailyNotes":"yes"})", "not json",
                                            R"({"timeZone":"Mars/Olympus"})"};
  for (const std::string& json : refused) {
    EXPECT_EQ(core.exportFolder("/in/User", "/out", json), 2) << json;
    EXPECT_EQ(core.summary().rfind("vessory-export: ", 0), 0u) << json << core.summary();
    EXPECT_EQ(core.outputsJson(), "[]") << json;
  }
  EXPECT_TRUE(files.outputPaths().empty());
}

TEST_F(WebCoreTest, WithoutDailyNotesTheJournalIsItsCsvAlone) {
  ASSERT_EQ(core.exportFolder("/in/User", "/out", R"({"timeZone":"UTC","dailyNotes":false})"),
            kStatus);
  EXPECT_EQ(core.summary().find("daily notes"), std::string::npos) << core.summary();
  EXPECT_EQ(core.outputsJson().find("journal/"), std::string::npos) << core.outputsJson();
  EXPECT_NE(core.outputsJson().find("\"journal.csv\""), std::string::npos);
}

TEST_F(WebCoreTest, ProgressCountsAThousandAnArchiveAndIsToldAtMostOnceAnInterval) {
  using namespace std::chrono;
  steady_clock::time_point now{};
  // Every look at the clock moves it 20 ms on: at most one call in three looks gets through.
  WebCore slow(
      files,
      [this](std::int64_t done, std::int64_t total, const std::string& text) {
        told.push_back(std::to_string(done) + "/" + std::to_string(total) + " " + text);
      },
      [&now] { return now += milliseconds(20); }, milliseconds(50));
  ASSERT_EQ(slow.exportFolder("/in/User", "/out", kOptions), kStatus);
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.front(), "0/5000 datebook/Datebook.dat");
  const std::int64_t looks = (now - steady_clock::time_point{}) / milliseconds(20);
  EXPECT_LE(static_cast<std::int64_t>(told.size()), looks / 3 + 1);
  std::int64_t last = -1;
  for (const std::string& line : told) {
    const std::int64_t done = std::stoll(line);
    EXPECT_GE(done, last) << line;
    EXPECT_LT(done, 5000) << line;
    last = done;
  }
}

TEST_F(WebCoreTest, AStopEndsTheRunAsTheConsolesCtrlCDoesAndListsOnlyWhatWasWritten) {
  // A clock that moves on a second at every look lets every progress call through.
  std::chrono::steady_clock::time_point now{};
  WebCore stopping(
      files,
      [stopped = false](std::int64_t, std::int64_t, const std::string& text) mutable {
        if (text != "address/Address.dat" || stopped) return;
        WebCore::requestStop();
        stopped = true;
      },
      [&now] { return now += std::chrono::seconds(1); });
  EXPECT_EQ(stopping.exportFolder("/in/User", "/out", kOptions), 128 + SIGINT);
  EXPECT_NE(stopping.summary().find("memopad/MemoPad.dat"), std::string::npos)
      << stopping.summary();
  std::string written;
  for (const std::string& path : files.outputPaths()) {
    written +=
        (written.empty() ? "" : ",") + ("\"" + path.substr(std::string("/out/").size()) + "\"");
  }
  EXPECT_EQ(stopping.outputsJson(), "[" + written + "]");
  EXPECT_EQ(stopping.outputsJson().find("memos/"), std::string::npos) << stopping.outputsJson();
  EXPECT_NE(stopping.outputsJson().find("\"journal.csv\""), std::string::npos);
  // The flag is the run's: the next run goes through.
  EXPECT_EQ(console::stopSignal(), 0);
  EXPECT_EQ(stopping.exportFolder("/in/User", "/out2", kOptions), kStatus);
}

}  // namespace
}  // namespace vessory::testing
