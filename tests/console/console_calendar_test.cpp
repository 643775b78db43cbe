// The console tool's calendar export, journal listing and UTF-8 journal.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "console/console_view.h"
#include "support/archive_builder.h"
#include "support/captured_stream.h"

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

class ConsoleCalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    folder_ = fs::temp_directory_path() / ("vessory-calendar-" + std::to_string(seed()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string archive(const std::string& bytes) {
    writeFile(path("Datebook.dat"), bytes);
    return path("Datebook.dat");
  }
  int run(std::vector<std::string> args) {
    CapturedStream out, err;
    const int status = console::runConsole(args, out.get(), err.get(), false);
    out_ = out.text();
    err_ = err.text();
    return status;
  }

  fs::path folder_;
  std::string out_, err_;
};

std::string records(const std::vector<RecordPlan>& list) {
  return ArchiveBuilder().archive(list).bytes();
}

RecordPlan noted(const std::string& description, const std::string& note = "a: b") {
  return journalRecord(note, 1018137600, description);
}

TEST_F(ConsoleCalendarTest, OptionsOfTheOtherExportAreUsageErrorsNamingTheOption) {
  const std::string db = archive(records({noted("x")}));
  const std::vector<std::vector<std::string>> misplaced = {
      {"--calendar", "-j", "x"}, {"--calendar", "--journal=x"},  {"--calendar", "-k", "[]"},
      {"--calendar", "-b", "0"}, {"--calendar", "--no-wrap"},    {"--include-deleted"},
      {"--list-journals", "-o", "x"}, {"--list-journals", "--calendar"},
      {"--list-journals", "--time-zone", "UTC"}};
  for (std::vector<std::string> args : misplaced) {
    const std::string option = args[0] == "--calendar" || args[0] == "--list-journals"
                                   ? args[1].substr(0, args[1].find('='))
                                   : args[0];
    args.push_back(db);
    EXPECT_EQ(run(args), 2) << option;
    EXPECT_NE(err_.find("option " + option + " "), std::string::npos) << err_;
  }
  EXPECT_FALSE(fs::exists(path("Datebook.ics")));
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}

// A date book cut in its header beside earlier exports: the calendar, --all and the journal
// write nothing, leave them and exit 3; the quiet journal export alone keeps the journal's rules
// (an empty CSV, 1).
TEST_F(ConsoleCalendarTest, ADateBookCutInItsHeaderLeavesEarlierExportsButTheJournalAlone) {
  const std::string cut = records({noted("x")}).substr(
      0, ArchiveBuilder().tag().header(HeaderPlan::forRecords(1)).size() - 2);
  const std::string db = archive(cut);
  fs::create_directories(path("out"));
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> outputs;
    int status;
    bool kept;
  } rows[] = {
      {{"--calendar", db}, {"Datebook.ics"}, 3, true},
      {{"--all", folder_.string(), "-o", path("out")}, {"out/calendar.ics", "out/journal.csv"}, 3,
       true},
      {{db}, {"Datebook.csv"}, 3, true},
      {{"-q", db}, {"Datebook.csv"}, 1, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.front());
    for (const std::string& output : row.outputs) writeFile(path(output), "earlier");
    EXPECT_EQ(run(row.args), row.status) << err_;
    for (const std::string& output : row.outputs) {
      EXPECT_EQ(readFile(path(output)) == "earlier", row.kept) << output;
    }
  }
  EXPECT_NE(err_.find("ended early"), std::string::npos) << err_;
}

TEST_F(ConsoleCalendarTest, UnknownZoneOrCharacterSetIsAUsageError) {
  const std::string db = archive(records({noted("x")}));
  EXPECT_EQ(run({"--calendar", "--time-zone", "Mars/Base", db}), 2);
  EXPECT_NE(err_.find("Unknown time zone Mars/Base"), std::string::npos) << err_;
  EXPECT_EQ(run({"--calendar", "--encoding", "klingon", db}), 2);
  EXPECT_EQ(run({"--encoding=klingon", db}), 2);
  EXPECT_NE(err_.find("klingon"), std::string::npos);
  EXPECT_EQ(run({"--list-journals", "--encoding", "klingon", db}), 2);
  EXPECT_FALSE(fs::exists(path("Datebook.ics")));
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}

// A zone given dates the journal as it dates the calendar, by the zone's offset on each day;
// a bias given wins, and without either the bias of old stands.
TEST_F(ConsoleCalendarTest, TimeZoneDatesTheJournalUnlessABiasIsGiven) {
  // 2002-04-06 23:30 UTC: 4/07 in Berlin (summer time) and Tokyo, 4/06 with the bias of -4.
  const std::string db = archive(records({journalRecord("9:00 am: x", 1018135800)}));
  const struct {
    std::vector<std::string> options;
    std::string date;
  } rows[] = {{{}, "4/06/2002"},
              {{"--time-zone", "Europe/Berlin"}, "4/07/2002"},
              {{"--time-zone=Asia/Tokyo"}, "4/07/2002"},
              {{"--time-zone", "America/New_York"}, "4/06/2002"},
              {{"--time-zone", "Europe/Berlin", "-b", "-4"}, "4/06/2002"},
              {{"-b", "0", "--time-zone", "Asia/Tokyo"}, "4/06/2002"}};
  for (const auto& row : rows) {
    std::vector<std::string> args = row.options;
    args.insert(args.end(), {"-q", "-o", "-", db});
    EXPECT_EQ(run(args), 0) << err_;
    EXPECT_EQ(out_, "0,," + row.date + ",9:00 AM,\"x\"\r\n") << row.options.size();
  }
  EXPECT_EQ(run({"--time-zone", "Mars/Base", db}), 2);
  EXPECT_NE(err_.find("Unknown time zone Mars/Base"), std::string::npos) << err_;
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}

TEST_F(ConsoleCalendarTest, CalendarIsWrittenBesideTheArchive) {
  RecordPlan deleted = noted("Gone");
  deleted.status = 4;
  const std::string db = archive(records({noted("Kept"), deleted}));
  EXPECT_EQ(run({"-q", "--calendar", "--time-zone", "Europe/Berlin", db}), 0);
  const std::optional<std::string> ics = readFile(path("Datebook.ics"));
  ASSERT_TRUE(ics.has_value());
  ReadCalendar calendar(*ics);
  EXPECT_TRUE(calendar.clean());
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_DTSTART_PROPERTY), "20020407T020000");
  EXPECT_EQ(
      err_.rfind("All Done!\r\n\r\nThe calendar has been placed in:\r\n" + path("Datebook.ics"), 0),
      0u)
      << err_;
  EXPECT_NE(err_.find("in Europe/Berlin."), std::string::npos);
  EXPECT_EQ(run({"-q", "--calendar", "--include-deleted", "--time-zone=UTC", db}), 0);
  EXPECT_EQ(ReadCalendar(*readFile(path("Datebook.ics"))).size(), 2u);
}

TEST_F(ConsoleCalendarTest, DashSendsTheCalendarToStandardOutput) {
  const std::string db = archive(records({noted("Kept")}));
  EXPECT_EQ(run({"-q", "--calendar", "--time-zone", "UTC", "-o", "-", db}), 0);
  EXPECT_EQ(ReadCalendar(out_).size(), 1u);
  EXPECT_NE(err_.find("placed in:\r\nstandard output\r\n"), std::string::npos) << err_;
  EXPECT_FALSE(fs::exists(path("Datebook.ics")));
}

TEST_F(ConsoleCalendarTest, ExitStatusTellsHowTheArchiveEnded) {
  const std::string full = records({noted("a"), noted("b")});
  const std::vector<std::string> options = {"-q", "--calendar", "--time-zone", "UTC"};
  auto with = [&](const std::string& db) {
    std::vector<std::string> args = options;
    args.push_back(db);
    return args;
  };
  EXPECT_EQ(run(with(archive(full))), 0);
  EXPECT_EQ(run(with(archive(full + "X"))), 1);
  EXPECT_EQ(run(with(archive(full.substr(0, full.size() - 5)))), 1);
  // The damaged archive's calendar went beside the whole one.
  EXPECT_EQ(ReadCalendar(*readFile(path("Datebook.ics"))).size(), 2u);
  EXPECT_EQ(ReadCalendar(*readFile(path("Datebook (damaged archive).ics"))).size(), 1u);
  RecordPlan broken = noted("b");
  broken.rawNote = std::string("\xFF\x00\x00\x01\x00", 5);
  EXPECT_EQ(run(with(archive(records({noted("a"), broken})))), 4);
  EXPECT_EQ(run(with(path("missing.dat"))), 3);
  EXPECT_EQ(run(with(archive("\x00\x01"
                             "bd"))),
            3);
}

// The description's bytes as the archive holds them, as the journal export shows them.
TEST_F(ConsoleCalendarTest, DetailsShowTheZonesWallTime) {
  const std::string db = archive(records({noted("Caf\xE9")}));
  EXPECT_EQ(run({"-q", "-d", "--calendar", "--time-zone", "Asia/Kolkata", "-o", "-", db}), 0);
  EXPECT_EQ(err_.rfind("2002-04-07 05:30:00\tCaf\xE9\n", 0), 0u) << err_;
}

TEST_F(ConsoleCalendarTest, ListJournalsPrintsCountsMostFrequentFirst) {
  RecordPlan repeating = noted("Gym");
  repeating.repeatFlag = 0xFFFF;
  const std::string db = archive(
      records({noted(" Beta"), noted("ALPHA "), noted("beta"), noted("alpha"), noted("Gamma"),
               noted("Caf\xE9"), noted("Delta", ""), repeating, repeating}));
  EXPECT_EQ(run({"--list-journals", db}), 0);
  EXPECT_EQ(out_, "2\tALPHA\n2\tBeta\n1\tCaf\xE9\n1\tGamma\n");
  EXPECT_EQ(run({"--list-journals", "--encoding", "windows-1252", db}), 0);
  EXPECT_EQ(out_, "2\tALPHA\n2\tBeta\n1\tCaf\u00E9\n1\tGamma\n");
  EXPECT_FALSE(fs::exists(path("Datebook.csv")));
}

TEST_F(ConsoleCalendarTest, EncodingMakesTheJournalUtf8AfterAByteOrderMark) {
  const std::string db = archive(records({journalRecord("9:15 am: <Caf\xE9> cr\xE8me \x80")}));
  EXPECT_EQ(run({"-q", "--encoding", "windows-1252", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")),
            "\xEF\xBB\xBF"
            "0,Caf\u00E9,4/06/2002,9:15 AM,\"<Caf\u00E9> cr\u00E8me \u20AC\"\r\n");
  EXPECT_EQ(run({"-q", db}), 0);
  EXPECT_EQ(readFile(path("Datebook.csv")),
            "0,Caf\xE9,4/06/2002,9:15 AM,\"<Caf\xE9> cr\xE8me \x80\"\r\n");
}

}  // namespace
}  // namespace vessory::testing
