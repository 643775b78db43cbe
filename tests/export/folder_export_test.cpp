#include "export/folder_export.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "export/folder_summary.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/later_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

// Keeps what the front end is shown.
struct RecordingFolderView : exporting::FolderView {
  std::vector<std::pair<std::string, std::int64_t>> read;
  std::vector<std::string> details;
  void archiveRead(const std::string& name, std::int64_t records) override {
    read.emplace_back(name, records);
  }
  void showDetail(const std::string& label, const std::string& description) override {
    details.push_back(label + "\t" + description);
  }
};

// The settings most tests export /p into /o with: times in UTC, stamped at 0.
exporting::FolderSettings usualSettings() {
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  settings.stampTime = 0;
  return settings;
}

TEST(FolderExportTest, UsersFoldersInMemoryGoToTheirOwnOutputFoldersOneLineEach) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  MemoryFiles files;
  files.archives["/p/Ann/datebook/Datebook.dat"] =
      ArchiveBuilder()
          .archive({journalRecord("9:15 am: Woke up"), journalRecord("x", 0, "Gym")})
          .bytes();
  ContactPlan contact;
  contact.lastName = "Lee";
  files.archives["/p/Ben/address/address.ABA"] = buildAddressArchive({}, {contact});
  const std::string todo = buildTodoArchive({}, {TodoPlan{}, TodoPlan{}});
  files.archives["/p/Ben/ToDo.dat"] = todo.substr(0, todo.size() - 1);
  files.archives["/p/Ben/todo.txt"] = "not looked at";
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  settings.stampTime = 0;
  settings.details = true;
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  ASSERT_EQ(result.archives.size(), 3u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "Ann/datebook/Datebook.dat (date book): Ann/calendar.ics (2 events), "
            "Ann/journal.csv (1 entry, daily notes: 1 day in Ann/journal/); all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[1]),
            "Ben/address/address.ABA (address book, archive file): "
            "Ben/contacts-archive.vcf (1 contact); all done");
  EXPECT_EQ(
      exporting::summaryLine(result.archives[2])
          .rfind("Ben/ToDo.dat (to-do list): Ben/todos.ics (1 to-do, 1 left out, 0 not reached, "
                 "of 2 announced); the archive ended early -- ",
                 0),
      0u);
  EXPECT_EQ(files.outputPaths(),
            (std::vector<std::string>{"/o/Ann/calendar.ics", "/o/Ann/journal.csv",
                                      "/o/Ann/journal/2002/2002-04-07.md",
                                      "/o/Ben/contacts-archive.vcf", "/o/Ben/todos.ics"}));
  EXPECT_EQ(
      view.read,
      (std::vector<std::pair<std::string, std::int64_t>>{
          {"Ann/datebook/Datebook.dat", 2}, {"Ben/address/address.ABA", 1}, {"Ben/ToDo.dat", 2}}));
  // The date book's details come once, from its first reading.
  EXPECT_EQ(view.details.size(), 2u + 1u + 1u);
}

std::string pdbText(const PdbBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The Backup folder (any case) is looked in; a classic database beside a later one of its kind
// is its compatibility copy: left out, with the count of ids only it holds; alone it is
// exported. A handheld's journal has its daily notes beside it, as a desktop file's has.
TEST(FolderExportTest, BackupFolderAndCompatibilityCopies) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  MemoryFiles files;
  TaskPlan task;
  task.description = "later";
  const auto records = [](const PdbBytes& data, std::vector<std::uint32_t> ids) {
    std::vector<PdbRecordPlan> recordPlans;
    for (std::uint32_t id : ids) recordPlans.push_back({data, 0x40, id, std::nullopt});
    return recordPlans;
  };
  files.archives["/p/bAcKuP/TasksDB-PTod.pdb"] =
      pdbText(buildPdb(laterPdb("PTod", records(taskRecord(task), {1, 2}))));
  PdbPlan classic;
  classic.name = "ToDoDB";
  classic.creator = "todo";
  classic.appInfo = categoryAppInfo({"Unfiled"}, 282);
  classic.records = records(todoRecord(0xFFFF, 1, "classic", ""), {1, 2, 3, 4});
  files.archives["/p/bAcKuP/ToDoDB.pdb"] = pdbText(buildPdb(classic));
  PdbPlan memos;
  memos.name = "MemoDB";
  memos.creator = "memo";
  memos.appInfo = categoryAppInfo({"Unfiled"}, 282);
  memos.records = records(memoRecord("Alone\n"), {9});
  files.archives["/p/bAcKuP/MemoDB.pdb"] = pdbText(buildPdb(memos));
  EventPlan entry;
  entry.note = "9:00 am: Up";
  PdbPlan datebook;
  datebook.appInfo = categoryAppInfo({"Unfiled"}, 280);
  datebook.records = records(eventRecord(entry), {1});
  files.archives["/p/bAcKuP/DatebookDB.pdb"] = pdbText(buildPdb(datebook));
  exporting::FolderSettings settings = usualSettings();
  settings.journalText = "Meeting";
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  ASSERT_EQ(result.archives.size(), 4u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "bAcKuP/DatebookDB.pdb (date book, handheld database): calendar-handheld.ics "
            "(1 event), journal-handheld.csv (1 entry, daily notes: 1 day in journal-handheld/); "
            "all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[1]),
            "bAcKuP/MemoDB.pdb (memo pad, handheld database): memos-handheld/ (1 memo); "
            "all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[2]),
            "bAcKuP/TasksDB-PTod.pdb (to-do list, later handheld database): "
            "todos-handheld.ics (2 to-dos); all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[3]),
            "bAcKuP/ToDoDB.pdb (to-do list, handheld database): left out: the compatibility "
            "copy of bAcKuP/TasksDB-PTod.pdb; but 2 records' unique ids are not in "
            "TasksDB-PTod.pdb: export it alone (vessory-export /p/bAcKuP/ToDoDB.pdb) to keep "
            "them");
  EXPECT_EQ(
      files.outputPaths(),
      (std::vector<std::string>{"/o/calendar-handheld.ics", "/o/journal-handheld.csv",
                                "/o/journal-handheld/2021/2021-02-20.md",
                                "/o/memos-handheld/Unfiled/Alone.txt", "/o/todos-handheld.ics"}));
}

// A handheld database beside the desktop file of its kind: the handheld's line counts the
// records (by record id) that the desktop's export lacks -- its deleted records only when they
// are exported -- and so does the guide; a handheld database alone, or one that shares no
// exported record with the desktop's file, gets no word of it.
TEST(FolderExportTest, AHandheldsLineCountsTheRecordsTheDesktopsExportLacks) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const struct {
    std::vector<std::uint32_t> desktop;  // record ids; none: no desktop file
    std::vector<std::uint32_t> handheld;
    std::uint32_t deletedOnDesktop;  // 0: none
    bool includeDeleted;
    std::string note;  // empty: no word of the desktop's file
  } rows[] = {
      {{1, 2, 3}, {3, 1, 2}, 0, false,
       "; all done; every record of it is in memos/ too, under another UID: import one of the two"},
      {{1, 2}, {1, 2, 3, 4}, 0, false, "; all done; 2 of its 4 records are not in memos/"},
      {{1, 2, 3}, {2, 3, 4}, 2, false, "; all done; 2 of its 3 records are not in memos/"},
      {{1, 2, 3}, {2, 3, 4}, 2, true, "; all done; 1 of its 3 records is not in memos/"},
      {{1, 2}, {2, 3}, 2, false, ""},  // the one record in both is not exported from the desktop
      {{}, {5}, 0, false, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.note);
    MemoryFiles files;
    std::vector<MemoPlan> memos;
    for (std::uint32_t id : row.desktop) {
      MemoPlan& memo = memos.emplace_back();
      memo.text = "Desktop " + std::to_string(id);
      memo.recordId = id;
      memo.status = id == row.deletedOnDesktop ? 0x04 : 0;
    }
    if (!memos.empty()) files.archives["/p/memopad/MemoPad.dat"] = buildMemoArchive({}, memos);
    PdbPlan database;
    database.name = "MemoDB";
    database.creator = "memo";
    database.appInfo = categoryAppInfo({"Unfiled"}, 282);
    for (std::uint32_t id : row.handheld) {
      database.records.push_back({memoRecord("Handheld " + std::to_string(id) + "\n"), 0x40, id,
                                  std::nullopt});
    }
    files.archives["/p/Backup/MemoDB.pdb"] = pdbText(buildPdb(database));
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = "/o";
    settings.includeDeleted = row.includeDeleted;
    settings.importGuide = true;
    RecordingFolderView view;
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
    ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
    // The kind folder is looked in before the Backup folder.
    const std::string line = exporting::summaryLine(result.archives.back());
    EXPECT_EQ(line.find(" -- "), std::string::npos) << line;
    const bool paired = !row.note.empty();
    EXPECT_EQ(line.ends_with("); all done"), !paired) << line;
    EXPECT_NE(line.find(row.note), std::string::npos) << line;
    EXPECT_EQ(result.archives.back().sameRecordsAs, paired ? "memos/" : "");
    EXPECT_EQ(files.csv("/o/How to import.txt").find("THE SAME RECORDS TWICE: memos/ and "
                                                     "memos-handheld/") != std::string::npos,
              paired);
    if (paired) {
      EXPECT_EQ(exporting::summaryLine(result.archives[0]).find("record of it"), std::string::npos);
    }
  }
}

// What cannot be read is named with the system's reason, a file it could not open as such; an
// archive that gives nothing makes no output folder.
TEST(FolderExportTest, WhatCannotBeReadIsNamedAndNothingIsMadeForIt) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'";
#endif
  MemoryFiles files;
  files.archives["/p/datebook/Datebook.dat"] = ArchiveBuilder().archive({}).bytes();
  files.unreadable["/p/datebook/Datebook.dat"] = "Permission denied";
  files.archives["/p/address/Address.dat"] = "not an archive";
  files.folders.push_back("/p/memopad");
  files.unreadable["/p/memopad"] = "Permission denied";
  std::string memos = buildMemoArchive({}, {MemoPlan{}});
  memos.pop_back();  // damaged before its first memo: the memo folder made goes again
  files.archives["/p/MemoPad.dat"] = memos;
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  ASSERT_EQ(result.archives.size(), 3u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "datebook/Datebook.dat (cannot be read): nothing exported -- Permission denied");
  EXPECT_EQ(exporting::summaryLine(result.archives[1]),
            "address/Address.dat (not an archive this tool reads): nothing exported");
  EXPECT_TRUE(exporting::summaryLine(result.archives[2])
                  .starts_with("MemoPad.dat (memo pad): memos not written; no record could be"));
  EXPECT_EQ(result.unreadable, std::vector<std::string>{"memopad/: Permission denied"});
  EXPECT_EQ(files.folders, std::vector<std::string>{"/p/memopad"});  // no /o, no /o/memos
  EXPECT_TRUE(files.outputPaths().empty());
}

// The zone named for the whole folder dates the journal as it dates the calendar, the same day
// in both; a bias given wins; without a zone the bias of old stands.
TEST(FolderExportTest, ZoneGivenDatesTheJournalAsTheCalendarUnlessABiasIsGiven) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const struct {
    std::string zone;
    bool biasGiven;
    std::string date;
  } rows[] = {{"Europe/Berlin", false, "4/07/2002"},
              {"Europe/Berlin", true, "4/06/2002"},
              {"", false, "4/06/2002"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.zone + (row.biasGiven ? " with -b" : ""));
    MemoryFiles files;
    // 2002-04-06 23:30 UTC: 01:30 the next day in Berlin's summer time.
    files.archives["/p/datebook/Datebook.dat"] =
        ArchiveBuilder().archive({journalRecord("9:15 am: Up", 1018135800)}).bytes();
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = "/o";
    settings.zoneName = row.zone;
    settings.biasGiven = row.biasGiven;
    settings.stampTime = 0;
    RecordingFolderView view;
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
    ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
    EXPECT_EQ(files.csv(exporting::joinPath("/o", "journal.csv")),
              "0,," + row.date + ",9:15 AM,\"Up\"\r\n");
    if (!row.zone.empty()) {
      EXPECT_NE(
          files.csv(exporting::joinPath("/o", "calendar.ics")).find("DTSTART:20020407T013000"),
          std::string::npos);
    }
  }
}

// A stop asked for while the folder is exported: the archive under way stops at its next record
// with what it wrote whole and in place (a date book stopped in its journal does not start its
// calendar), the archives after it are not started, and a stop asked for only after the last
// record stops nothing.
TEST(FolderExportTest, AStopEndsTheArchiveUnderWayAndStartsNoOther) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  struct StoppingView : RecordingFolderView {
    std::size_t stopAfter = 0;  // details shown
    bool endRequested() override { return details.size() >= stopAfter; }
  };
  const struct {
    std::size_t stopAfter;
    std::vector<std::string> lines;
    std::vector<std::string> notStarted;
    std::optional<std::size_t> stoppedArchive;
    std::int64_t recordsRead;  // of the archive stopped
    std::size_t outputs;
  } rows[] = {
      {0, {}, {"datebook/Datebook.dat", "memopad/MemoPad.dat"}, std::nullopt, 0, 0},
      {2,
       {"datebook/Datebook.dat (date book): calendar.ics not started, journal.csv (2 entries, daily notes: 1 day in journal/); "
        "stopped"},
       {"memopad/MemoPad.dat"},
       0,
       2,
       2},
      {4,
       {"datebook/Datebook.dat (date book): calendar.ics (3 events), journal.csv (3 entries, daily notes: 1 day in journal/); "
        "all done",
        "memopad/MemoPad.dat (memo pad): memos/ (1 memo, 2 not reached, of 3 announced); stopped"},
       {},
       1,
       1,
       4},
      {6,
       {"datebook/Datebook.dat (date book): calendar.ics (3 events), journal.csv (3 entries, daily notes: 1 day in journal/); "
        "all done",
        "memopad/MemoPad.dat (memo pad): memos/ (3 memos); all done"},
       {},
       std::nullopt,
       0,
       6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stopAfter);
    MemoryFiles files;
    files.archives["/p/datebook/Datebook.dat"] =
        ArchiveBuilder()
            .archive({journalRecord("9:15 am: one"), journalRecord("9:15 am: two"),
                      journalRecord("9:15 am: three")})
            .bytes();
    std::vector<MemoPlan> memos(3);
    for (std::size_t i = 0; i < memos.size(); ++i) memos[i].text = "Memo " + std::to_string(i);
    files.archives["/p/memopad/MemoPad.dat"] = buildMemoArchive({}, memos);
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = "/o";
    settings.zoneName = "UTC";
    settings.stampTime = 0;
    settings.details = true;
    StoppingView view;
    view.stopAfter = row.stopAfter;
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

    ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
    std::vector<std::string> lines;
    for (const exporting::ArchiveReport& report : result.archives) {
      lines.push_back(exporting::summaryLine(report));
    }
    EXPECT_EQ(lines, row.lines);
    EXPECT_EQ(result.notStarted, row.notStarted);
    EXPECT_EQ(result.stopped, row.stoppedArchive || !row.notStarted.empty());
    EXPECT_EQ(result.stoppedArchive, row.stoppedArchive);
    if (row.stoppedArchive) {
      EXPECT_EQ(result.archives[*row.stoppedArchive].recordsRead, row.recordsRead);
    }
    EXPECT_EQ(files.outputPaths().size(), row.outputs);
    if (row.outputs == 0) {
      EXPECT_TRUE(files.folders.empty());
    }
  }
}

// A stop in the date book's calendar leaves its journal complete and says so; the archives not
// started are named, and the guide tells of the earlier export of their names that stands.
TEST(FolderExportTest, AStopInTheCalendarNamesEachOutputAsItIsAndTheGuideTellsWhatStands) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  struct StopAtRecord : RecordingFolderView {
    int shown = 0;
    void showThisRecord(const std::string&) override { ++shown; }
    bool endRequested() override { return shown >= 5; }  // the journal's 3, the calendar's 2nd
  };
  MemoryFiles files;
  files.archives["/p/datebook/Datebook.dat"] =
      ArchiveBuilder()
          .archive({journalRecord("9:15 am: one"), journalRecord("9:15 am: two"),
                    journalRecord("9:15 am: three")})
          .bytes();
  files.archives["/p/address/Address.dat"] = buildAddressArchive({}, {ContactPlan{}});
  files.archives["/p/memopad/MemoPad.dat"] = buildMemoArchive({}, {MemoPlan{}});
  files.archives["/o/contacts.vcf"] = "an earlier export";
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  settings.importGuide = true;
  StopAtRecord view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
  ASSERT_EQ(result.archives.size(), 1u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "datebook/Datebook.dat (date book): calendar.ics (1 event; stopped: only the records "
            "before the stop), journal.csv (3 entries, daily notes: 1 day in journal/; complete)");
  EXPECT_EQ(exporting::stopSummary(result, "/o"),
            "Stopped in datebook/Datebook.dat: /o/calendar.ics holds only the 1 record read "
            "before that point; /o/journal.csv is complete; not started: address/Address.dat, "
            "memopad/MemoPad.dat (files of their exports from an earlier run are left as they "
            "were)");
  ASSERT_EQ(result.untouched.size(), 2u);
  EXPECT_EQ(result.untouched[0].output, "contacts.vcf");
  EXPECT_TRUE(result.untouched[0].earlier);
  EXPECT_EQ(result.untouched[1].output, "memos/");
  EXPECT_FALSE(result.untouched[1].earlier);
  const std::string guide = files.csv(result.guidePath);
  EXPECT_NE(guide.find("  Finished: journal.csv\n  Only the records before the stop: "
                       "calendar.ics (the 1 record of datebook/Datebook.dat read before the "
                       "stop)\n"),
            std::string::npos)
      << guide;
  EXPECT_NE(guide.find("\ncontacts.vcf -- from an earlier export"), std::string::npos) << guide;
  EXPECT_EQ(files.csv("/o/contacts.vcf"), "");  // not written: only what was there stands
}

// Each way an archive's exports can end has its words in the summary line, with the runs'
// messages on the same line, each once; a failure in one archive touches no other.
TEST(FolderExportTest, EveryEndOfAnArchiveIsNamedOnItsLine) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const std::string whole = ArchiveBuilder().archive({journalRecord("9:15 am: Up")}).bytes();
  RecordPlan broken = journalRecord("9:00: never");
  broken.rawNote = std::string("\xFF\x00\x00\x02\x00", 5);
  OrganiserArchivePlan later;
  later.tag = std::string(
      "\x00\x02"
      "DT",
      4);
  const struct {
    const char* name;
    std::string path;
    std::string bytes;
    std::function<void(MemoryFiles&)> setUp;
    std::string line;
    std::function<void(exporting::FolderSettings&)> options = nullptr;
    std::size_t details = 0;  // shown to the front end
  } rows[] = {
      {"data after the end", "/p/Datebook.dat", whole + "Z", nullptr,
       "Datebook.dat (date book): calendar.ics (1 event), journal.csv (1 entry, daily notes: 1 day in journal/); data after the "
       "last record"},
      {"sequencing error", "/p/datebook/Datebook.dat",
       ArchiveBuilder().archive({journalRecord("9:15 am: Up"), broken}).bytes(), nullptr,
       "datebook/Datebook.dat (date book): calendar.ics (1 event, 1 left out, 0 not reached, of 2 "
       "announced), journal.csv (1 entry, daily notes: 1 day in journal/); damaged: exported up to the damage -- sequencing error"},
      {"no journal entry", "/p/Datebook.dat",
       ArchiveBuilder().archive({journalRecord("x", 0, "Gym")}).bytes(), nullptr,
       "Datebook.dat (date book): calendar.ics (1 event), no entries under \"Daily Journal\", "
       "journal.csv not written; all done"},
      {"later tag without its wrapper", "/p/todo/ToDo.dat", buildTodoArchive(later, {}), nullptr,
       "todo/ToDo.dat (not an archive this tool reads): nothing exported"},
      {"output folder not made", "/p/address/Address.dat", buildAddressArchive({}, {ContactPlan{}}),
       [](MemoryFiles& f) { f.uncreatable["/o"] = "Read-only file system"; },
       "address/Address.dat (address book): output not created -- Cannot create "
       "/o/contacts.vcf: cannot make /o: Read-only file system"},
      {"write failure", "/p/memopad/MemoPad.mpa", buildMemoArchive({}, {MemoPlan{}}),
       [](MemoryFiles& f) { f.failWritesAfter = 0; },
       "memopad/MemoPad.mpa (memo pad, archive file): memos-archive not written; writing failed "
       "-- Cannot write /o/memos-archive/Unfiled/Memo 1.txt: No space left on device"},
      // The options reach both parts of a date book; the details are shown once a record.
      {"options", "/p/Datebook.dat",
       ArchiveBuilder().archive({journalRecord("9:15 am: Caf\xE9"), journalRecord("9:30 am: Up")}).bytes(),
       nullptr, "Datebook.dat (date book): calendar.ics (2 events), journal.csv (2 entries, daily notes: 1 day in journal/); all done",
       [](exporting::FolderSettings& s) {
         s.encoding = "windows-1252";
         s.wordWrap = false;
         s.details = true;
       },
       2},
      {"date book's output folder not made", "/p/Datebook.dat", whole,
       [](MemoryFiles& f) { f.uncreatable["/o"] = "Read-only file system"; },
       "Datebook.dat (date book): output not created -- Cannot create /o/journal.csv: cannot make "
       "/o: Read-only file system | Cannot create /o/calendar.ics: cannot make /o: Read-only file "
       "system"},
      // A journal not written for a failure is no journal without entries.
      {"date book's journal not written", "/p/Datebook.dat", whole,
       [](MemoryFiles& f) { f.failWritesAfter = 0; },
       "Datebook.dat (date book): calendar.ics not written, journal.csv not written; writing "
       "failed -- Cannot write /o/journal.csv: No space left on device | Cannot write "
       "/o/calendar.ics: No space left on device"},
      {"contacts not written", "/p/address/Address.dat", buildAddressArchive({}, {ContactPlan{}}),
       [](MemoryFiles& f) { f.failWritesAfter = 0; },
       "address/Address.dat (address book): contacts.vcf not written; writing failed -- Cannot "
       "write /o/contacts.vcf: No space left on device"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    files.archives[row.path] = row.bytes;
    if (row.setUp) row.setUp(files);
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = "/o";
    settings.zoneName = "UTC";
    settings.stampTime = 0;
    if (row.options) row.options(settings);
    RecordingFolderView view;
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
    ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
    ASSERT_EQ(result.archives.size(), 1u);
    EXPECT_EQ(exporting::summaryLine(result.archives[0]), row.line);
    EXPECT_EQ(view.details.size(), row.details);
  }
}

// What gives nothing leaves nothing: a user's folder whose archives gave no file is not left
// behind empty, and when every file failed (a full disk) no part names an output, so that the
// summary says nothing was exported; a memo that failed is named by one path, with the reason.
TEST(FolderExportTest, NothingWrittenLeavesNoFolderAndNamesNoOutput) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const std::string whole = ArchiveBuilder().archive({journalRecord("9:15 am: Up")}).bytes();
  const std::size_t header = ArchiveBuilder().tag().header(HeaderPlan::forRecords(1)).size();
  const struct {
    const char* name;
    long long failWritesAfter;
    std::vector<std::string> outputs;
    std::vector<std::string> lines;
  } rows[] = {
      {"a user's archives give nothing",
       -1,
       {"/o/Ann/memos/Unfiled/Shopping.txt"},
       {"Ann/memopad/MemoPad.dat (memo pad): Ann/memos/ (1 memo); all done",
        "DoeA/datebook/Datebook.dat (date book): calendar.ics not written, journal.csv not "
        "written; no record could be read -- "}},
      {"a full disk",
       0,
       {},
       {"Ann/memopad/MemoPad.dat (memo pad): memos not written; writing failed -- Cannot write "
        "/o/Ann/memos/Unfiled/Shopping.txt: No space left on device",
        "DoeA/datebook/Datebook.dat (date book): calendar.ics not written, journal.csv not "
        "written; no record could be read -- "}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    files.failWritesAfter = row.failWritesAfter;
    MemoPlan memo;
    memo.text = "Shopping\r\nbread";
    files.archives["/p/Ann/memopad/MemoPad.dat"] = buildMemoArchive({}, {memo});
    files.archives["/p/DoeA/datebook/Datebook.dat"] = whole.substr(0, header + 3);
    RecordingFolderView view;
    const exporting::FolderResult result =
        exporting::FolderExport(files, usualSettings()).run(view);
    ASSERT_EQ(result.archives.size(), 2u) << result.problem;
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(exporting::summaryLine(result.archives[i]).substr(0, row.lines[i].size()),
                row.lines[i]);
    }
    EXPECT_EQ(files.outputPaths(), row.outputs);
    EXPECT_FALSE(files.folderExists("/o/DoeA"));
    EXPECT_EQ(exporting::folderHeading(result, "/p", "/o", "UTC").starts_with("Nothing of /p"),
              row.outputs.empty());
  }
}

// The desktop names an archive file after the category its records were archived from: each is
// exported under names of its own, made safe; names that differ only in letter case are one
// file where the desktop keeps them; other programs' files of those extensions are left alone;
// one damaged before its first whole record writes nothing and leaves its earlier exports.
TEST(FolderExportTest, EveryArchiveFileIsExportedUnderNamesOfItsOwn) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const std::string datebook = ArchiveBuilder().archive({journalRecord("9:15 am: Up")}).bytes();
  MemoryFiles files;
  for (const char* name : {"Business.DBA", "business.dba", "DATEBOOK.DBA"}) {
    files.archives[std::string("/p/datebook/") + name] = datebook;
  }
  files.archives["/p/datebook/Unfiled.DBA"] =
      datebook.substr(0, ArchiveBuilder().tag().header(HeaderPlan::forRecords(1)).size() - 2);
  files.earlier("/o/calendar-archive-Unfiled.ics", "earlier");
  files.earlier("/o/journal-archive-Unfiled.csv", "earlier");
  files.archives["/p/address/Personal.ABA"] = buildAddressArchive({}, {ContactPlan{}});
  files.archives["/p/address/..A:B*.ABA"] = buildAddressArchive({}, {ContactPlan{}});
  files.archives["/p/memopad/song.mpa"] = "ID3 audio";
  files.archives["/p/todo/CON.TDA"] = buildTodoArchive({}, {TodoPlan{}});
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, usualSettings()).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  std::vector<std::string> lines;
  for (const exporting::ArchiveReport& report : result.archives) {
    lines.push_back(exporting::summaryLine(report));
  }
  ASSERT_EQ(lines.size(), 7u);
  lines[2] = lines[2].substr(0, lines[2].find(" -- "));  // the reader's messages
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "datebook/Business.DBA (date book, archive file): "
                       "calendar-archive-Business.ics (1 event), journal-archive-Business.csv "
                       "(1 entry, daily notes: 1 day in journal-archive-Business/); all done",
                       "datebook/DATEBOOK.DBA (date book, archive file): calendar-archive.ics (1 "
                       "event), journal-archive.csv (1 entry, daily notes: 1 day in "
                       "journal-archive/); all done",
                       "datebook/Unfiled.DBA (date book, archive file): "
                       "calendar-archive-Unfiled.ics not written, journal-archive-Unfiled.csv "
                       "not written; no record could be read",
                       "datebook/business.dba (date book, archive file): left out: its exports "
                       "would replace those of datebook/Business.DBA",
                       "address/..A:B*.ABA (address book, archive file): contacts-archive-A_B_.vcf "
                       "(1 contact); all done",
                       "address/Personal.ABA (address book, archive file): "
                       "contacts-archive-Personal.vcf (1 contact); all done",
                       "todo/CON.TDA (to-do list, archive file): todos-archive-CON_.ics (1 to-do); "
                       "all done"}));
  EXPECT_EQ(files.outputPaths(),
            (std::vector<std::string>{
                "/o/calendar-archive-Business.ics", "/o/calendar-archive-Unfiled.ics",
                "/o/calendar-archive.ics", "/o/contacts-archive-A_B_.vcf",
                "/o/contacts-archive-Personal.vcf", "/o/journal-archive-Business.csv",
                "/o/journal-archive-Business/2002/2002-04-07.md", "/o/journal-archive-Unfiled.csv",
                "/o/journal-archive.csv", "/o/journal-archive/2002/2002-04-07.md",
                "/o/todos-archive-CON_.ics"}));
  EXPECT_EQ(files.csv("/o/calendar-archive-Unfiled.ics"), "earlier");
  EXPECT_EQ(files.csv("/o/journal-archive-Unfiled.csv"), "earlier");
}

// The folder export refuses to start, and says why, when the output would mix with the
// archives, the folder cannot be read or holds none; nothing is made then.
TEST(FolderExportTest, NoExportStartsWithoutAFolderToReadAndOneToWriteTo) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const std::string whole = ArchiveBuilder().archive({journalRecord("9:15 am: Up")}).bytes();
  const struct {
    const char* name;
    std::string output;
    std::function<void(MemoryFiles&)> setUp;
    exporting::FolderStatus status;
    std::string problemStart;
  } rows[] = {
      {"output inside a kind folder", "/p/datebook/out",
       [&](MemoryFiles& f) { f.archives["/p/datebook/Datebook.dat"] = whole; },
       exporting::FolderStatus::kOutputRefused, ""},
      {"folder unreadable", "/o",
       [](MemoryFiles& f) {
         f.folders.push_back("/p");
         f.unreadable["/p"] = "Permission denied";
       },
       exporting::FolderStatus::kNothingFound, "cannot read /p: Permission denied"},
      {"no archive", "/o", [](MemoryFiles& f) { f.archives["/p/notes.txt"] = "text"; },
       exporting::FolderStatus::kNothingFound, "no archive found; looked in /p"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    row.setUp(files);
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = row.output;
    RecordingFolderView view;
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
    EXPECT_EQ(result.status, row.status);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_EQ(result.problem.rfind(row.problemStart, 0), 0u) << result.problem;
    EXPECT_TRUE(result.archives.empty());
    EXPECT_TRUE(files.outputPaths().empty());
  }
}

}  // namespace
}  // namespace vessory::testing
