// A disk that fails part-way through the archive: every run stops there with the system's
// reason, and what it wrote before is in place and whole; with nothing whole, nothing is written.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/journal_listing.h"
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
  ContactPlan ann, ben;
  ann.lastName = "Ann";
  ben.lastName = "Ben";
  const std::string address = buildAddressArchive({}, {ann, ben, ann});
  // The handheld's databases are read a record at a time, from where their record list says.
  auto database = [](PdbPlan layout, const std::vector<PdbBytes>& records) {
    for (std::uint32_t k = 0; k < records.size(); ++k) {
      layout.records.push_back({records[k], 0x40, k + 1, std::nullopt});
    }
    const PdbBytes bytes = buildPdb(layout);
    return std::string(bytes.begin(), bytes.end());
  };
  PdbPlan datebookDb;
  datebookDb.appInfo = categoryAppInfo({"Unfiled"}, 276);
  EventPlan one, two, three;
  one.description = "one";
  two.description = "two";
  three.description = "three";
  const std::string handheldDatebook =
      database(datebookDb, {eventRecord(one), eventRecord(two), eventRecord(three)});
  PdbPlan addressDb;
  addressDb.name = "AddressDB";
  addressDb.creator = "addr";
  addressDb.appInfo = addressAppInfo({"Unfiled"}, {});
  PdbContactPlan cid, dee;
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
    std::vector<std::string> after = {};  // the messages after the reason
  } rows[] = {
      {"journal", "datebook.dat", datebook, "three", "datebook.csv", "\"two\"\r\n",
       [](MemoryFiles& f, RecordingView& v) { return exporting::ExportRun(f).run(v); }},
      {"calendar", "datebook.dat", datebook, "three", "datebook.ics", "END:VCALENDAR\r\n",
       calendarRun},
      {"contacts", "Address.dat", address, "Ann", "Address.vcf", "END:VCARD\r\n", organiserRun},
      // Nothing whole before the failure: no output, not even an empty one.
      {"contacts, in the first record", "Address.dat", buildAddressArchive({}, {ben}), "Ben", "",
       "", organiserRun, {"No record could be read: nothing was exported."}},
      {"handheld calendar", "DatebookDB.pdb", handheldDatebook, "three", "DatebookDB.ics",
       "END:VCALENDAR\r\n", calendarRun},
      {"handheld contacts", "AddressDB.pdb", handheldAddress, "Dee", "AddressDB.vcf",
       "END:VCARD\r\n", organiserRun},
      {"journal listing", "datebook.dat", datebook, "three", "", "",
       [](MemoryFiles& f, RecordingView& v) { return exporting::JournalListing(f).run(v); }},
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
    const auto reason = std::find(view.messages.begin(), view.messages.end(),
                                  "Cannot read " + path + ": Input/output error");
    ASSERT_NE(reason, view.messages.end());
    // The data stopped at the disk's failure, not at the archive's end: nothing says it ends.
    for (auto message = view.messages.begin(); message != reason; ++message) {
      EXPECT_EQ(message->find(" ends "), std::string::npos) << *message;
      EXPECT_EQ(message->find("past EOF"), std::string::npos) << *message;
    }
    EXPECT_EQ(std::vector<std::string>(reason + 1, view.messages.end()), row.after);
    if (row.output.empty()) {  // the listing writes nothing
      EXPECT_TRUE(files.outputPaths().empty());
      continue;
    }
    const std::string kept = files.csv(exporting::joinPath("/p", row.output));
    EXPECT_TRUE(kept.ends_with(row.wholeEnd)) << kept;
    EXPECT_TRUE(view.ended);
  }
}

// Before anything is read: a file not there, a folder, or one the system will not open. Every
// run says so once and makes nothing.
TEST(ReadFailureTest, EveryRunRefusesAnArchiveItCannotFindOrOpenWithOneMessage) {
  const std::vector<std::pair<const char*, std::function<ExportOutcome(MemoryFiles&, RecordingView&)>>>
      runs = {
          {"journal", [](MemoryFiles& f, RecordingView& v) { return exporting::ExportRun(f).run(v); }},
          {"calendar",
           [](MemoryFiles& f, RecordingView& v) {
             exporting::CalendarSettings settings;
             settings.zoneName = "UTC";
             return exporting::CalendarRun(f, settings).run(v);
           }},
          {"organiser",
           [](MemoryFiles& f, RecordingView& v) {
             exporting::OrganiserSettings settings;
             settings.zoneName = "UTC";
             return exporting::OrganiserRun(f, settings).run(v);
           }},
          {"listing", [](MemoryFiles& f, RecordingView& v) { return exporting::JournalListing(f).run(v); }},
      };
  const std::string bytes = ArchiveBuilder().archive({journalRecord("9:00: one")}).bytes();
  const std::string selectFile =
      "Navigate to the directory that contains the Datebook.dat file (usually "
      "C:\\PALM\\{hotsyncname}\\Datebook), select Datebook.dat and tap on Export";
  const struct {
    const char* name;
    std::string fileName;  // in /p
    bool there, opens;
    ExportOutcome outcome;
    std::string message;
  } cases[] = {
      {"not there", "datebook.dat", false, true, ExportOutcome::kNoArchive, selectFile},
      {"a folder", "", true, true, ExportOutcome::kNoArchive, selectFile},
      {"not opened", "datebook.dat", true, false, ExportOutcome::kCannotOpen,
       "Cannot open " + exporting::joinPath("/p", "datebook.dat") + ": Permission denied"},
  };
  for (const auto& [runName, run] : runs) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(runName) + ", " + c.name);
      MemoryFiles files;
      RecordingView view;
      view.folder = "/p";
      view.fileName = c.fileName;
      const std::string path = view.inputPath();
      if (c.there) files.archives[path] = bytes;
      if (!c.opens) files.unreadable[path] = "Permission denied";
      EXPECT_EQ(run(files, view), c.outcome);
      EXPECT_EQ(view.messages, std::vector<std::string>{c.message});
      EXPECT_TRUE(files.outputPaths().empty());
      EXPECT_FALSE(view.ended);
    }
  }
}

}  // namespace
}  // namespace vessory::testing
