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
#include "support/handheld_builder.h"
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
  // The handheld's databases are read a record at a time, from where their record list says.
  auto database = [](PdbSpec spec, const std::vector<PdbBytes>& records) {
    for (std::uint32_t k = 0; k < records.size(); ++k) spec.records.push_back({records[k], 0x40, k + 1});
    const PdbBytes bytes = buildPdb(spec);
    return std::string(bytes.begin(), bytes.end());
  };
  PdbSpec datebookDb;
  datebookDb.appInfo = categoryAppInfo({"Unfiled"}, 276);
  EventSpec one, two, three;
  one.description = "one";
  two.description = "two";
  three.description = "three";
  const std::string handheldDatebook =
      database(datebookDb, {eventRecord(one), eventRecord(two), eventRecord(three)});
  PdbSpec addressDb;
  addressDb.name = "AddressDB";
  addressDb.creator = "addr";
  addressDb.appInfo = addressAppInfo({"Unfiled"}, {});
  PdbContactSpec cid, dee;
  cid.fields[0] = "Cid";
  dee.fields[0] = "Dee";
  const std::string handheldAddress =
      database(addressDb, {contactRecord(cid), contactRecord(cid), contactRecord(dee)});
  const auto organiserRun = [](MemoryFiles& f, RecordingView& v) {
    exporting::OrganiserSettings settings;
    settings.zoneName = "UTC";
    return exporting::OrganiserRun(f, settings).run(v);
  };
  const auto calendarRun = [](MemoryFiles& f, RecordingView& v) {
    exporting::CalendarSettings settings;
    settings.zoneName = "UTC";
    settings.stampTime = 0;
    return exporting::CalendarRun(f, settings).run(v);
  };
  const struct {
    const char* name;
    std::string fileName, bytes, cutIn, output, wholeEnd;
    std::function<ExportOutcome(MemoryFiles&, RecordingView&)> run;
  } rows[] = {
      {"journal", "datebook.dat", datebook, "three", "datebook.csv", "\"two\"\r\n",
       [](MemoryFiles& f, RecordingView& v) { return exporting::ExportRun(f).run(v); }},
      {"calendar", "datebook.dat", datebook, "three", "datebook.ics", "END:VCALENDAR\r\n",
       calendarRun},
      {"contacts", "Address.dat", address, "Ann", "Address.vcf", "END:VCARD\r\n", organiserRun},
      {"handheld calendar", "DatebookDB.pdb", handheldDatebook, "three", "DatebookDB.ics",
       "END:VCALENDAR\r\n", calendarRun},
      {"handheld contacts", "AddressDB.pdb", handheldAddress, "Dee", "AddressDB.vcf",
       "END:VCARD\r\n", organiserRun},
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
