// The whole-folder summary's words: one line an archive, every ending named, the runs' messages
// each on the line, and what a left-out file is.

#include "export/folder_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
      {{{"a.ics", "1 event", ExportOutcome::kEndedEarly}, {"", "a.csv not written", ExportOutcome::kComplete}},
       "", {}, "x (date book): a.ics (1 event), a.csv not written; the archive ended early, all done"},
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

  exporting::FoundArchive copy;
  copy.path = "User/Backup/DatebookDB.pdb";
  copy.compatibilityCopyOf = "Backup/CalendarDB-PDat.pdb";
  copy.input.records = RecordKind::kDatebook;
  EXPECT_EQ(exporting::compatibilityNote(copy),
            "left out: the compatibility copy of Backup/CalendarDB-PDat.pdb");
  copy.idsOnlyHere = 1;
  EXPECT_EQ(exporting::compatibilityNote(copy),
            "left out: the compatibility copy of Backup/CalendarDB-PDat.pdb; but 1 record's "
            "unique id is not in CalendarDB-PDat.pdb: export it alone (vessory-export --calendar "
            "User/Backup/DatebookDB.pdb) to keep it");
  copy.idsOnlyHere = 2;
  copy.input.records = RecordKind::kAddress;
  EXPECT_EQ(exporting::compatibilityNote(copy),
            "left out: the compatibility copy of Backup/CalendarDB-PDat.pdb; but 2 records' "
            "unique ids are not in CalendarDB-PDat.pdb: export it alone (vessory-export "
            "User/Backup/DatebookDB.pdb) to keep them");
}

}  // namespace
}  // namespace vessory::testing
