// The date book's runs given what holds no date book -- a handheld database of another kind, a
// cut wrapper of later desktop versions: one message, saying what it is, and nothing written.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_listing.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"

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

}  // namespace
}  // namespace vessory::testing
