// A disk that fails part-way through the archive: every run stops there with the system's
// reason, and what it wrote before is in place and whole.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/organiser_run.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

TEST(ReadFailureTest, EveryRunStopsWithTheReasonAndKeepsWhatItWroteWhole) {
  const std::string datebook =
      ArchiveBuilder()
          .archive({journalRecord("9:00: one"), journalRecord("9:00: two"),
                    journalRecord("9:00: three")})
          .bytes();
  ContactSpec ann, ben;
  ann.lastName = "Ann";
  ben.lastName = "Ben";
  const std::string address = buildAddressArchive({}, {ann, ben, ann});
  const struct {
    const char* name;
    std::string fileName, bytes, cutIn, output, wholeEnd;
    std::function<ExportOutcome(MemoryFiles&, RecordingView&)> run;
  } rows[] = {
      {"journal", "datebook.dat", datebook, "three", "datebook.csv", "\"two\"\r\n",
       [](MemoryFiles& f, RecordingView& v) { return exporting::ExportRun(f).run(v); }},
      {"calendar", "datebook.dat", datebook, "three", "datebook.ics", "END:VCALENDAR\r\n",
       [](MemoryFiles& f, RecordingView& v) {
         exporting::CalendarSettings settings;
         settings.zoneName = "UTC";
         settings.stampTime = 0;
         return exporting::CalendarRun(f, settings).run(v);
       }},
      {"contacts", "Address.dat", address, "Ann", "Address.vcf", "END:VCARD\r\n",
       [](MemoryFiles& f, RecordingView& v) {
         exporting::OrganiserSettings settings;
         settings.zoneName = "UTC";
         return exporting::OrganiserRun(f, settings).run(v);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    RecordingView view;
    view.folder = "/p";
    view.fileName = row.fileName;
    const std::string path = view.inputPath();
    files.archives[path] = row.bytes;
    files.failReadsAfter[path] = row.bytes.rfind(row.cutIn);  // inside the last record's text
    EXPECT_EQ(row.run(files, view), ExportOutcome::kCannotRead);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "Cannot read " + path + ": Input/output error");
    const std::string kept = files.csv(exporting::joinPath("/p", row.output));
    EXPECT_TRUE(kept.ends_with(row.wholeEnd)) << kept;
    EXPECT_TRUE(view.ended);
  }
}

}  // namespace
}  // namespace vessory::testing
