// The date book's runs given what holds no date book -- a handheld database of another kind, a
// cut wrapper of later desktop versions: one message, saying what it is, and nothing written.
// And what a later handheld's records hold besides what is read: told once, with its count.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_listing.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"
#include "support/later_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

TEST(HandheldRefusalTest, EachDatebookRunSaysOnceWhatTheDatabaseIs) {
  // The later Calendar's creator keeps other databases beside its records.
  PdbSpec later;
  later.name = "CalendarIndex-PDat";
  later.creator = "PDat";
  PdbSpec address;
  address.name = "AddressDB";
  address.creator = "addr";
  address.appInfo = addressAppInfo({"Unfiled"}, {});
  const struct {
    PdbSpec database;
    std::string says;
  } databases[] = {{later, "another database of the later handhelds' Calendar"},
                   {address, "not of the date book"}};
  const std::vector<std::function<ExportOutcome(MemoryFiles&, RecordingView&)>> runs = {
      [](MemoryFiles& files, RecordingView& view) { return exporting::ExportRun(files).run(view); },
      [](MemoryFiles& files, RecordingView& view) {
        exporting::CalendarSettings settings;
        settings.zoneName = "UTC";
        return exporting::CalendarRun(files, settings).run(view);
      },
      [](MemoryFiles& files, RecordingView& view) {
        return exporting::JournalListing(files).run(view);
      }};
  for (const auto& database : databases) {
    const PdbBytes bytes = buildPdb(database.database);
    for (std::size_t run = 0; run < runs.size(); ++run) {
      SCOPED_TRACE(database.says + ", run " + std::to_string(run));
      RecordingView view;
      MemoryFiles files;
      files.archives[view.inputPath()] = std::string(bytes.begin(), bytes.end());
      EXPECT_EQ(runs[run](files, view), ExportOutcome::kNotDatebook);
      ASSERT_EQ(view.messages.size(), 1u);
      EXPECT_NE(view.messages[0].find(database.says), std::string::npos) << view.messages[0];
      EXPECT_TRUE(files.outputPaths().empty());
    }
  }
}

TEST(HandheldRefusalTest, ACutWrapperIsNoDatebookWithOneMessage) {
  for (const std::string& bytes : {std::string("\xBE\xBA\xFE\xCA\xFF\xFD", 6),
                                   std::string("\xBE\xBA\xFE\xCA\x05PalmS", 10)}) {
    RecordingView view;
    MemoryFiles files;
    files.archives[view.inputPath()] = bytes;
    EXPECT_EQ(exporting::ExportRun(files).run(view), ExportOutcome::kNotDatebook);
    EXPECT_EQ(view.messages, std::vector<std::string>{view.inputPath() +
                                                      " is Not a Datebook DB file"});
  }
}

TEST(HandheldTailsTest, WhatRecordsHoldBesidesWhatIsReadIsToldOnceWithItsCount) {
  const PdbBytes junk = {0x42};
  const PdbBytes badZone = blob("Bd00", {0x01});
  const std::string junkText = " of \"CalendarDB-PDat\" ";
  const struct {
    const char* name;
    std::vector<PdbBytes> tails;
    std::vector<std::string> told;  // besides the final message
  } cases[] = {
      {"none", {{}, {}}, {}},
      {"one junk tail", {junk, {}}, {"1 record" + junkText + "ends in bytes that are no whole part"}},
      {"two junk tails", {junk, junk}, {"2 records" + junkText + "end in bytes that are no whole part"}},
      {"a zone not read", {badZone, {}},
       {"1 record" + junkText + "holds a time zone or meeting that cannot be read"}},
      {"both", {badZone, junk, badZone},
       {"1 record" + junkText + "ends in bytes", "2 records" + junkText + "hold a time zone"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<PdbRecordSpec> records;
    for (std::uint32_t k = 0; k < c.tails.size(); ++k) {
      records.push_back({calendarRecord(EventSpec{}, "Room", c.tails[k]), 0x40, k + 1});
    }
    const PdbBytes bytes = buildPdb(laterPdb("PDat", records));
    RecordingView view;
    MemoryFiles files;
    files.archives[view.inputPath()] = std::string(bytes.begin(), bytes.end());
    exporting::CalendarSettings settings;
    settings.zoneName = "UTC";
    exporting::CalendarRun run(files, settings);
    EXPECT_EQ(run.run(view), c.told.empty() ? ExportOutcome::kComplete : ExportOutcome::kUnreadTails);
    EXPECT_EQ(run.tally().events, static_cast<std::int64_t>(c.tails.size()));
    ASSERT_EQ(view.messages.size(), c.told.size() + 1);
    for (std::size_t k = 0; k < c.told.size(); ++k) {
      EXPECT_EQ(view.messages[k].rfind(c.told[k], 0), 0u) << view.messages[k];
    }
  }
}

}  // namespace
}  // namespace vessory::testing
