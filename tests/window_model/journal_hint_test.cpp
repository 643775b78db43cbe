#include "window_model/journal_hint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/run_steps.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"

namespace vessory::window_model {
namespace {

using testing::journalRecord;

constexpr char kPath[] = "C:\\Palm\\User\\datebook\\datebook.dat";

struct HintCase {
  const char* name;
  std::vector<testing::RecordPlan> records;
  std::string hint;  // what replaces the console's hint
};

// The window names the descriptions the date book keeps notes under instead of telling to run
// the console tool; the rest of the message stays as the run gave it.
TEST(JournalHint, NamesTheDescriptionsTheDateBookHolds) {
  const std::string none = "No journal entries were found under \"Daily Journal\"";
  std::vector<testing::RecordPlan> many;
  for (int i = 0; i < 10; ++i) {
    many.push_back(journalRecord("9:00: x", 1018137600, "trip " + std::to_string(i)));
  }
  const std::vector<HintCase> cases = {
      {"two descriptions, the most used first",
       {journalRecord("9:00: x", 1018137600, "logbuch"),
        journalRecord("9:00: y", 1018137600, "flight ua 291"),
        journalRecord("9:00: z", 1018224000, "flight ua 291")},
       none + ". This date book keeps notes under these descriptions, the most used first: "
              "\"flight ua 291\" (2 entries), \"logbuch\" (1 entry). Type the one your journal "
              "was kept under into \"Name of Journals\" and export again."},
      {"no note at all", {journalRecord("", 1018137600, "Dentist")},
       none + ", and no entry of this date book has a note."},
      {"more than the hint names", many,
       none + ". This date book keeps notes under these descriptions, the most used first: "
              "\"trip 0\" (1 entry), \"trip 1\" (1 entry), \"trip 2\" (1 entry), \"trip 3\" (1 "
              "entry), \"trip 4\" (1 entry), \"trip 5\" (1 entry), \"trip 6\" (1 entry), \"trip "
              "7\" (1 entry) and 2 more. Type the one your journal was kept under into \"Name of "
              "Journals\" and export again."},
  };
  for (const HintCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::MemoryFiles files;
    files.archives[kPath] = testing::ArchiveBuilder().archive(c.records).bytes();
    const std::string message =
        "All Done!\r\n\r\n" + exporting::noEntriesHint("English: Daily Journal", kPath);
    EXPECT_EQ(withHeldJournals(message, files, "English: Daily Journal", kPath),
              "All Done!\r\n\r\n" + c.hint);
  }
}

TEST(JournalHint, OtherMessagesStayAsTheyAre) {
  testing::MemoryFiles files;
  const std::string message = "All Done!\r\n\r\nExtracted journals have been placed in:\r\nx";
  EXPECT_EQ(withHeldJournals(message, files, "English: Daily Journal", kPath), message);
}

}  // namespace
}  // namespace vessory::window_model
