// The console tool on the handheld's own databases: the real samples and built ones.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "console/console_view.h"
#include "support/captured_stream.h"
#include "support/handheld_builder.h"

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ConsoleHandheldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    folder_ = fs::temp_directory_path() / ("vessory-handheld-" + std::to_string(seed()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string sample(const std::string& name) {
    fs::copy_file(fs::path(VESSORY_HANDHELD_SAMPLES) / name, folder_ / name);
    return (folder_ / name).string();
  }
  std::string database(const std::string& name, const PdbBytes& bytes) {
    std::ofstream(folder_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return (folder_ / name).string();
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

// Each real database to the output of its kind, beside it and named after it.
TEST_F(ConsoleHandheldTest, EachSampleGoesToItsKindsOutput) {
  struct Case {
    std::string file;
    std::vector<std::string> options;
    int status;
    std::string output;  // relative to the folder; empty: nothing written
    std::string holds;   // in the output, or in the messages when nothing is written
  };
  const std::vector<Case> cases = {
      {"AddressDB-LifeDrive.pdb", {}, 0, "AddressDB-LifeDrive.vcf", "UID:address-2-75733473@vessory"},
      {"ToDoDB.pdb", {}, 0, "ToDoDB.ics", "BEGIN:VTODO"},
      {"MemoDB.pdb", {}, 0, "MemoDB/Unfiled/Handheld Basics.txt", "Handheld Basics\n"},
      // The handheld's wall clock, written as a floating time with its own week start.
      {"DatebookDB.pdb", {"--calendar"}, 0, "DatebookDB.ics", "DTSTART:20210220T080000\r\n"},
      {"DatebookDB.pdb", {"--calendar"}, 0, "DatebookDB.ics", "RRULE:FREQ=WEEKLY;BYDAY=SA;WKST=SU"},
      {"DatebookDB.pdb", {}, 0, "DatebookDB.csv", ""},
      {"ExpenseDB.pdb", {}, 3, "", "(type DATA, creator exps)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    std::vector<std::string> args = c.options;
    args.push_back("-q");
    args.push_back(sample(c.file));
    EXPECT_EQ(run(args), c.status) << err_;
    if (c.output.empty()) {
      EXPECT_NE(err_.find(c.holds), std::string::npos) << err_;
      EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    } else {
      ASSERT_TRUE(fs::exists(folder_ / c.output)) << err_;
      EXPECT_NE(readText(folder_ / c.output).find(c.holds), std::string::npos);
    }
  }
}

// No bias for the handheld's own times unless one is given; no zone at all.
TEST_F(ConsoleHandheldTest, JournalDatesAreTheHandheldsUnlessABiasIsGiven) {
  EventPlan journal;
  journal.description = "Daily Journal";
  journal.note = "9:15 am: Woke up";
  journal.start = 0x0200;  // 02:00 on 20 February
  journal.date = packDate(2021, 2, 20);
  PdbPlan plan;
  plan.appInfo = categoryAppInfo({"Unfiled"}, 280);
  plan.records = {{eventRecord(journal), 0x40, 1, std::nullopt}};
  const std::string path = database("DatebookDB.pdb", buildPdb(plan));
  struct Case {
    std::vector<std::string> options;
    std::string date;
  };
  for (const Case& c : std::vector<Case>{{{}, "2/20/2021"},
                                         {{"-b", "-4"}, "2/19/2021"},
                                         {{"--time-zone", "America/New_York"}, "2/20/2021"}}) {
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"-q", "-o", "-", path});
    EXPECT_EQ(run(args), 0) << err_;
    EXPECT_NE(out_.find(c.date), std::string::npos) << out_;
  }
  EXPECT_EQ(run({"--calendar", "--time-zone", "Europe/Berlin", "-q", "-o", "-", path}), 0);
  EXPECT_NE(err_.find("--time-zone is not used for a handheld database"), std::string::npos);
  EXPECT_NE(out_.find("DTSTART:20210220T020000\r\n"), std::string::npos) << out_;
}

// A record that cannot be read is left out and named; the others are exported; exit 4.
TEST_F(ConsoleHandheldTest, AnUnreadableRecordIsLeftOutAndTheRestExported) {
  EventPlan good;
  EventPlan bad;
  bad.description = "Broken";
  bad.repeat = RepeatPlan{};
  bad.repeat->kind = 6;
  PdbPlan plan;
  plan.appInfo = categoryAppInfo({"Unfiled"}, 280);
  plan.records = {{eventRecord(good), 0x40, 1, std::nullopt},
                  {eventRecord(bad), 0x40, 2, std::nullopt},
                  {eventRecord(good), 0x40, 3, std::nullopt}};
  const std::string path = database("DatebookDB.pdb", buildPdb(plan));
  EXPECT_EQ(run({"--calendar", "-q", path}), 4);
  EXPECT_NE(err_.find("Record 2 (unique id 2)"), std::string::npos) << err_;
  EXPECT_NE(err_.find("1 unreadable"), std::string::npos) << err_;
  const std::string calendar = readText(folder_ / "DatebookDB.ics");
  EXPECT_NE(calendar.find("UID:datebook-1-"), std::string::npos);
  EXPECT_NE(calendar.find("UID:datebook-3-"), std::string::npos);
  EXPECT_EQ(calendar.find("Broken"), std::string::npos);
}

}  // namespace
}  // namespace vessory::testing
