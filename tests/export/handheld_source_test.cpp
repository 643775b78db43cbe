// The date book's runs given what holds no date book -- a handheld database of another kind, a
// cut wrapper of later desktop versions: one message, saying what it is, and nothing written.
// And what a later handheld's records hold besides what is read: told once, with its count.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_listing.h"
#include "export/organiser_run.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"
#include "support/later_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

TEST(HandheldRefusalTest, EachDatebookRunSaysOnceWhatTheDatabaseIs) {
  // The later Calendar's creator keeps other databases beside its records.
  PdbPlan later;
  later.name = "CalendarIndex-PDat";
  later.creator = "PDat";
  PdbPlan address;
  address.name = "AddressDB";
  address.creator = "addr";
  address.appInfo = addressAppInfo({"Unfiled"}, {});
  const struct {
    PdbPlan database;
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
    std::vector<PdbRecordPlan> records;
    for (std::uint32_t k = 0; k < c.tails.size(); ++k) {
      records.push_back({calendarRecord(EventPlan{}, "Room", c.tails[k]), 0x40, k + 1, std::nullopt});
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

// Hands its archives out only forward, a few bytes at a time, as a pipe would, failing after
// `failAfter` bytes when that is set.
class ForwardOnlyFiles : public MemoryFiles {
 public:
  std::size_t failAfter = std::string::npos;

  std::unique_ptr<files::ByteSource> openArchive(const std::string& path,
                                                 std::string& error) override {
    auto found = archives.find(path);
    if (found == archives.end()) {
      error = "No such file or directory";
      return nullptr;
    }
    return std::make_unique<Forward>(found->second.substr(0, failAfter),
                                     failAfter != std::string::npos);
  }

 private:
  class Forward : public files::ByteSource {
   public:
    Forward(std::string bytes, bool fails) : bytes_(std::move(bytes)), fails_(fails) {}
    std::span<const unsigned char> nextChunk() override {
      const std::size_t size = std::min<std::size_t>(7, bytes_.size() - at_);
      if (size == 0 && fails_) error_ = "Input/output error";
      const auto* chunk = reinterpret_cast<const unsigned char*>(bytes_.data()) + at_;
      at_ += size;
      return {chunk, size};
    }
    std::string errorText() const override { return error_; }

   private:
    std::string bytes_;
    bool fails_;
    std::size_t at_ = 0;
    std::string error_;
  };
};

// A source that cannot read at an offset has the database read whole first: the same export.
TEST(HandheldForwardTest, ADatabaseReadOnlyForwardExportsAsOneReadAtOffsets) {
  std::vector<PdbRecordPlan> records;
  for (std::uint32_t k = 1; k <= 3; ++k) {
    LaterContactPlan contact;
    contact.fields[0] = "Name " + std::to_string(k);
    records.push_back({laterContactRecord(contact), 0x40, k, std::nullopt});
  }
  const PdbBytes built = buildPdb(laterPdb("PAdd", records));
  const std::string bytes(built.begin(), built.end());
  const auto exported = [&](MemoryFiles& files, std::vector<std::string>& messages) {
    RecordingView view;
    view.folder = "/p";
    view.fileName = "ContactsDB-PAdd.pdb";
    files.archives[view.inputPath()] = bytes;
    exporting::OrganiserSettings settings;
    settings.zoneName = "UTC";
    const ExportOutcome outcome = exporting::OrganiserRun(files, settings).run(view);
    messages = view.messages;
    return outcome;
  };
  MemoryFiles atOffsets;
  ForwardOnlyFiles forward;
  std::vector<std::string> a, b;
  EXPECT_EQ(exported(atOffsets, a), ExportOutcome::kComplete);
  EXPECT_EQ(exported(forward, b), ExportOutcome::kComplete);
  EXPECT_EQ(a, b);
  const std::string vcf = exporting::joinPath("/p", "ContactsDB-PAdd.vcf");
  EXPECT_EQ(forward.csv(vcf), atOffsets.csv(vcf));
  EXPECT_NE(forward.csv(vcf).find("Name 3"), std::string::npos);
  // Read only forward, a failure anywhere is one before the database can be opened.
  ForwardOnlyFiles failing;
  failing.failAfter = bytes.size() - 5;
  std::vector<std::string> messages;
  EXPECT_EQ(exported(failing, messages), ExportOutcome::kCannotRead);
  EXPECT_EQ(messages, std::vector<std::string>{"Cannot read " +
                                               exporting::joinPath("/p", "ContactsDB-PAdd.pdb") +
                                               ": Input/output error"});
  EXPECT_TRUE(failing.outputPaths().empty());
  // The date book's runs say the same of a date book.
  PdbPlan datebook;
  datebook.appInfo = categoryAppInfo({"Unfiled"}, 276);
  datebook.records = {{eventRecord(EventPlan{}), 0x40, 1, std::nullopt}};
  const PdbBytes dates = buildPdb(datebook);
  ForwardOnlyFiles failingDates;
  failingDates.failAfter = dates.size() - 5;
  RecordingView view;
  failingDates.archives[view.inputPath()] = std::string(dates.begin(), dates.end());
  EXPECT_EQ(exporting::ExportRun(failingDates).run(view), ExportOutcome::kCannotRead);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Cannot read " + view.inputPath() +
                                                    ": Input/output error"});
}

}  // namespace
}  // namespace vessory::testing
