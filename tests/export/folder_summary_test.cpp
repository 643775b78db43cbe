// The whole-folder summary's words: one line an archive, every ending named, the runs' messages
// each on the line, and what a left-out file is.

#include "export/folder_summary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "archive/later_archive.h"
#include "export/export_view.h"

namespace vessory::testing {
namespace {

using exporting::ArchiveReport;
using exporting::ExportOutcome;
using exporting::PartReport;

TEST(FolderSummaryTest, EveryEndingIsNamedAndEveryMessageJoinsTheLine) {
  const struct {
    std::vector<PartReport> parts;
    std::string note;
    std::vector<std::string> messages;
    std::string line;
  } rows[] = {
      {{{"a.ics", "3 events", ExportOutcome::kComplete}}, "", {}, "x (date book): a.ics (3 events); all done"},
      {{{"a.ics", "3 events", ExportOutcome::kDataAfterEnd}, {"a.csv", "1 entry", ExportOutcome::kDataAfterEnd}},
       "", {}, "x (date book): a.ics (3 events), a.csv (1 entry); data after the last record"},
      // Parts that ended differently name their own endings, and no "all done" beside a failure.
      {{{"a.ics", "1 event", ExportOutcome::kEndedEarly}, {"", "a.csv not written", ExportOutcome::kComplete}},
       "", {}, "x (date book): a.ics (1 event; the archive ended early), a.csv not written"},
      {{{"", "a.ics not written", ExportOutcome::kCannotWrite}, {"a.csv", "4 entries", ExportOutcome::kComplete}},
       "", {}, "x (date book): a.ics not written (writing failed), a.csv (4 entries; complete)"},
      {{{"a.ics", "2 events", ExportOutcome::kEndRequested}, {"a.csv", "4 entries", ExportOutcome::kComplete}},
       "", {}, "x (date book): a.ics (2 events; stopped: only the records before the stop), a.csv (4 entries; complete)"},
      {{{"", "", ExportOutcome::kCannotCreate}, {"", "", ExportOutcome::kCannotWrite}},
       "", {}, "x (date book): output not created, writing failed"},
      {{{"a.ics", "3 events", ExportOutcome::kComplete}}, "5 records of it are not in b.ics", {},
       "x (date book): a.ics (3 events); all done; 5 records of it are not in b.ics"},
      {{{"", "", ExportOutcome::kSequencingError}}, "", {}, "x (date book): damaged: exported up to the damage"},
      {{{"", "", ExportOutcome::kDamagedRecords}}, "", {}, "x (date book): damaged: exported up to the damage"},
      {{{"", "", ExportOutcome::kUnreadTails}}, "", {},
       "x (date book): read, but some records end in bytes that were not read"},
      {{{"", "", ExportOutcome::kLaterVersion}}, "", {}, "x (date book): not read: nothing exported"},
      {{{"", "", ExportOutcome::kCannotCreate}}, "", {}, "x (date book): output not created"},
      {{{"", "", ExportOutcome::kCannotWrite}}, "", {}, "x (date book): writing failed"},
      {{{"", "", ExportOutcome::kCannotRead}}, "", {}, "x (date book): reading failed"},
      {{{"", "", ExportOutcome::kBadOption}}, "", {}, "x (date book): unknown time zone or character set"},
      {{{"", "", ExportOutcome::kEndRequested}}, "", {}, "x (date book): stopped"},
      {{{"", "", ExportOutcome::kNotDatebook}}, "", {}, "x (date book): nothing exported"},
      // Messages lose their line breaks, each run of them one blank.
      {{{"", "", ExportOutcome::kDamagedRecords}},
       "",
       {"Record 2 left out:\r\nits offset\r\n\r\nlies outside ", "\r\nsecond\n"},
       "x (date book): damaged: exported up to the damage -- Record 2 left out: its offset lies "
       "outside | second"},
      {{}, "left out: its exports would replace those of y", {},
       "x (date book): left out: its exports would replace those of y"},
  };
  for (const auto& row : rows) {
    ArchiveReport report;
    report.archive = "x";
    report.what = "date book";
    report.parts = row.parts;
    report.note = row.note;
    report.messages = row.messages;
    EXPECT_EQ(exporting::summaryLine(report), row.line);
  }
}

// The first line says "Exported" only when something was; after a stop the last line names each
// output of the archive stopped as it is, and what was not started.
TEST(FolderSummaryTest, TheFirstAndTheStopLinesSayWhatIsInTheFolder) {
  exporting::FolderResult result;
  result.archives.resize(1);
  result.archives[0].archive = "d/Datebook.dat";
  result.archives[0].parts = {{"", "", ExportOutcome::kCannotCreate}};
  EXPECT_EQ(exporting::folderHeading(result, "/u", "/o", "UTC"), "Nothing of /u was exported into /o:");
  result.archives[0].parts = {{"c.ics", "2 events", ExportOutcome::kEndRequested},
                              {"j.csv", "4 entries", ExportOutcome::kComplete}};
  result.archives[0].recordsRead = 2;
  EXPECT_EQ(exporting::folderHeading(result, "/u", "/o", "UTC"),
            "Exported /u into /o; times as the clock showed them in UTC:");
  const struct {
    std::optional<std::size_t> stopped;
    std::vector<std::string> notStarted;
    std::vector<PartReport> parts;
    std::string line;
  } rows[] = {
      {0, {}, result.archives[0].parts,
       "Stopped in d/Datebook.dat: /o/c.ics holds only the 2 records read before that point; "
       "/o/j.csv is complete"},
      {0, {"m/MemoPad.dat"}, {{"", "c.ics not started", ExportOutcome::kEndRequested}},
       "Stopped in d/Datebook.dat: nothing of it had been written then; not started: "
       "m/MemoPad.dat (files of their exports from an earlier run are left as they were)"},
      {std::nullopt, {"a", "b"}, {},
       "Stopped between two archives: those above were exported whole into /o; not started: a, "
       "b (files of their exports from an earlier run are left as they were)"},
  };
  for (const auto& row : rows) {
    result.stoppedArchive = row.stopped;
    result.notStarted = row.notStarted;
    result.archives[0].parts = row.parts;
    std::string line = row.line;
    // The output folder's files are named with the system's separator.
    for (std::size_t at = line.find("/o/"); at != std::string::npos;
         at = line.find("/o/", at + 3)) {
      line.replace(at + 2, 1, 1, exporting::pathSeparator());
    }
    EXPECT_EQ(exporting::stopSummary(result, "/o"), line);
  }
}

TEST(FolderSummaryTest, WhatALeftOutFileIsAndWhatToDoAboutItIsSaid) {
  using archive::ArchiveKind;
  using archive::RecordKind;
  using exporting::ArchiveSort;
  EXPECT_EQ(exporting::namedNotReadWhat(ArchiveKind::kLaterAddress),
            "address book of desktop version 4.1.4 or later");
  EXPECT_EQ(exporting::namedNotReadWhat(ArchiveKind::kLaterMemo),
            "memo pad of desktop version 4.1.4 or later");
  EXPECT_EQ(exporting::namedNotReadWhat(ArchiveKind::kVersion6), "database of desktop version 6");
  EXPECT_EQ(exporting::namedNotReadWhat(ArchiveKind::kUnknown),
            "file of desktop version 4.1.4 or later");
  EXPECT_EQ(exporting::archiveDescription(RecordKind::kTodo, ArchiveSort::kArchiveFile),
            "to-do list, archive file");
  EXPECT_EQ(exporting::archiveDescription(RecordKind::kMemo, ArchiveSort::kHandheld),
            "memo pad, handheld database");
  EXPECT_EQ(exporting::archiveDescription(RecordKind::kAddress, ArchiveSort::kLive), "address book");

  // The later database as the summary names it, with the platform's separator.
  const std::string laterName =
      std::string("Backup") + exporting::pathSeparator() + "CalendarDB-PDat.pdb";
  exporting::FoundArchive copy;
  copy.path = "User/Backup/DatebookDB.pdb";
  copy.compatibilityCopyOf = laterName;
  copy.input.records = RecordKind::kDatebook;
  EXPECT_EQ(exporting::compatibilityNote(copy), "left out: the compatibility copy of " + laterName);
  copy.idsOnlyHere = 1;
  EXPECT_EQ(exporting::compatibilityNote(copy),
            "left out: the compatibility copy of " + laterName +
                "; but 1 record's unique id is not in CalendarDB-PDat.pdb: export it alone "
                "(vessory-export --calendar User/Backup/DatebookDB.pdb) to keep it");
  copy.idsOnlyHere = 2;
  copy.input.records = RecordKind::kAddress;
  EXPECT_EQ(exporting::compatibilityNote(copy),
            "left out: the compatibility copy of " + laterName +
                "; but 2 records' unique ids are not in CalendarDB-PDat.pdb: export it alone "
                "(vessory-export User/Backup/DatebookDB.pdb) to keep them");

  // A later desktop file points at the handheld's database of the user, or says where one
  // comes from: never at the export just run.
  exporting::FoundArchive later;
  later.shownName = "address/Address.dat";
  later.input.desktop = ArchiveKind::kLaterAddress;
  exporting::FoundArchive handheld;
  handheld.shownName = "Backup/AddressDB.pdb";
  handheld.sort = ArchiveSort::kHandheld;
  handheld.input.records = RecordKind::kAddress;
  exporting::FoundArchive otherUser = handheld;
  otherUser.outputFolder = "/o/Ann";
  const std::string notKnown =
      "address/Address.dat is an address book of desktop version 4.1.4 or later, whose layout "
      "is not known well enough to read it. ";
  EXPECT_EQ(exporting::folderNotReadMessage(later, {later, handheld}),
            notKnown + "The handheld's own database Backup/AddressDB.pdb holds the same "
                       "contacts: its export stands for this file.");
  EXPECT_EQ(exporting::folderNotReadMessage(later, {later, otherUser}),
            notKnown + "The handheld's own databases (AddressDB.pdb or ContactsDB-PAdd.pdb) hold "
                       "the same contacts, but none is in this folder. A sync with the desktop "
                       "software leaves them in the user folder's Backup folder: sync the "
                       "handheld once more, or copy them into a Backup folder here from another "
                       "copy of the user folder, then export the folder again.");
  later.input.desktop = ArchiveKind::kVersion6;
  EXPECT_EQ(exporting::folderNotReadMessage(later, {}),
            archive::notReadMessage("address/Address.dat", ArchiveKind::kVersion6));

  ArchiveReport shared;
  shared.sameRecordsAs = "contacts.vcf";
  EXPECT_EQ(exporting::sharedRecordsNote(shared, 4),
            "every record of it is in contacts.vcf too, under another UID: import one of the two");
  shared.recordsOnlyHere = 1;
  EXPECT_EQ(exporting::sharedRecordsNote(shared, 4),
            "1 of its 4 records is not in contacts.vcf (by record id), the rest are there too "
            "under other UIDs: import one of the two");
}

}  // namespace
}  // namespace vessory::testing
