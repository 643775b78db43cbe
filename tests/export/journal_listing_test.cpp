#include "export/journal_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/fake_export.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

const std::string kPath =
    std::string("C:\\Palm\\User\\datebook") + exporting::pathSeparator() + "datebook.dat";

// A listing's candidates as "count description" lines, for readable comparisons.
std::vector<std::string> lines(const std::vector<exporting::JournalCandidate>& candidates) {
  std::vector<std::string> out;
  for (const auto& c : candidates) out.push_back(std::to_string(c.count) + " " + c.description);
  return out;
}

class JournalListingTest : public ::testing::Test {
 protected:
  ExportOutcome list(const std::string& bytes) {
    files.archives[kPath] = bytes;
    const ExportOutcome outcome = listing.run(view);
    found = lines(listing.candidates());
    return outcome;
  }
  ExportOutcome list(const std::vector<RecordPlan>& records) {
    return list(ArchiveBuilder().archive(records).bytes());
  }

  MemoryFiles files;
  RecordingView view;
  exporting::JournalListing listing{files};
  std::vector<std::string> found;
};

RecordPlan noted(const std::string& description, const std::string& note = "a: b") {
  return journalRecord(note, 1018137600, description);
}

// Descriptions are counted as the journal name matches them (case-blind, outer blanks off) and
// shown as the archive spells them: as most of their records do, of equals the first read.
// Ties go in the order of the lower-cased name ("alpha" before "Logbuch").
TEST_F(JournalListingTest, MostFrequentFirstCaseBlindAndShownAsSpelt) {
  RecordPlan repeating = noted("Gym");
  repeating.repeatFlag = 0xFFFF;
  EXPECT_EQ(list({noted("Logbuch"), noted("Daily Journal"), noted("  DAILY journal "),
                  noted("alpha"), repeating, noted("Dentist", ""), noted("daily Journal"),
                  noted("Alpha "), noted(" logbuch"), repeating, repeating, noted("Flight UA 291"),
                  noted("flight ua 291"), noted("Flight UA 291 "), noted("DAILY journal")}),
            ExportOutcome::kComplete);
  EXPECT_EQ(found, (std::vector<std::string>{"4 DAILY journal", "3 Flight UA 291", "2 alpha",
                                             "2 Logbuch"}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(view.ended);
  EXPECT_FALSE(files.created(kPath));
}

TEST_F(JournalListingTest, RecordAfterARepeatingOneCountsByItsOwnFlag) {
  RecordPlan repeating = noted("Walk");
  repeating.repeatFlag = 1;
  EXPECT_EQ(list({repeating, noted("Walk"), noted("Walk", "")}), ExportOutcome::kComplete);
  EXPECT_EQ(found, std::vector<std::string>{"1 Walk"});
}

TEST_F(JournalListingTest, DescriptionsAreShownInUtf8WhenACharacterSetIsNamed) {
  const std::string bytes = ArchiveBuilder().archive({noted("Caf\xE9"), noted("Caf\xE9 ")}).bytes();
  list(bytes);
  EXPECT_EQ(found, std::vector<std::string>{"2 Caf\xE9"});
  listing.convertToUtf8From("windows-1252");
  list(bytes);
  EXPECT_EQ(found, std::vector<std::string>{"2 Caf\u00E9"});
  listing.convertToUtf8From("no-such-set");
  EXPECT_EQ(list(bytes), ExportOutcome::kBadOption);
  EXPECT_TRUE(found.empty());
}

TEST_F(JournalListingTest, RecordTheArchiveRanOutInIsNotCounted) {
  ArchiveBuilder built;
  built.tag().header(HeaderPlan::forRecords(2)).record(noted("Alpha"));
  const std::size_t firstEnd = built.size();
  built.record(noted("Beta"));
  for (std::size_t length = firstEnd; length < built.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    EXPECT_EQ(list(built.truncated(length)), ExportOutcome::kEndedEarly);
    EXPECT_EQ(found, std::vector<std::string>{"1 Alpha"});
    EXPECT_EQ(view.messages.back(), "Datebook file ended early - it may be damaged or incomplete.");
  }
}

TEST_F(JournalListingTest, SequencingErrorKeepsWhatWasCountedBeforeIt) {
  RecordPlan broken = noted("Beta");
  broken.rawDescription = std::string("\xFF\x00\x00\x02\x00", 5);
  EXPECT_EQ(list({noted("Alpha"), broken, noted("Alpha")}), ExportOutcome::kSequencingError);
  EXPECT_EQ(found, std::vector<std::string>{"1 Alpha"});
}

TEST_F(JournalListingTest, DataAfterTheEndIsReportedAndEverythingCounted) {
  EXPECT_EQ(list(ArchiveBuilder().archive({noted("Alpha")}).bytes() + "Z"),
            ExportOutcome::kDataAfterEnd);
  EXPECT_EQ(found, std::vector<std::string>{"1 Alpha"});
  EXPECT_EQ(view.messages.back(), exporting::kDataAfterEndMessage);
}

// The user may act once after the header and once before each record.
TEST_F(JournalListingTest, EndAskedForStopsTheListing) {
  view.onEvents = [](RecordingView& v) { v.endWanted = v.pendingEventCalls >= 3; };
  EXPECT_EQ(list({noted("Alpha"), noted("Beta"), noted("Gamma")}), ExportOutcome::kEndRequested);
  EXPECT_EQ(found, std::vector<std::string>{"1 Alpha"});
}

}  // namespace
}  // namespace vessory::testing
