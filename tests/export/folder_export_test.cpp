#include "export/folder_export.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/archive_builder.h"
#include "support/later_builder.h"
#include "support/fake_export.h"
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

TEST(FolderExportTest, UsersFoldersInMemoryGoToTheirOwnOutputFoldersOneLineEach) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  MemoryFiles files;
  files.archives["/p/Ann/datebook/Datebook.dat"] =
      ArchiveBuilder()
          .archive({journalRecord("9:15 am: Woke up"), journalRecord("x", 0, "Gym")})
          .bytes();
  ContactSpec contact;
  contact.lastName = "Lee";
  files.archives["/p/Ben/address/address.ABA"] = buildAddressArchive({}, {contact});
  const std::string todo = buildTodoArchive({}, {TodoSpec{}, TodoSpec{}});
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
            "Ann/journal.csv (1 entry); all done");
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
// exported.
TEST(FolderExportTest, BackupFolderAndCompatibilityCopies) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  MemoryFiles files;
  TaskSpec task;
  task.description = "later";
  const auto records = [](const PdbBytes& data, std::vector<std::uint32_t> ids) {
    std::vector<PdbRecordSpec> specs;
    for (std::uint32_t id : ids) specs.push_back({data, 0x40, id, std::nullopt});
    return specs;
  };
  files.archives["/p/bAcKuP/TasksDB-PTod.pdb"] =
      pdbText(buildPdb(laterSpec("PTod", records(taskRecord(task), {1, 2}))));
  PdbSpec classic;
  classic.name = "ToDoDB";
  classic.creator = "todo";
  classic.appInfo = categoryAppInfo({"Unfiled"}, 282);
  classic.records = records(todoRecord(0xFFFF, 1, "classic", ""), {1, 2, 3, 4});
  files.archives["/p/bAcKuP/ToDoDB.pdb"] = pdbText(buildPdb(classic));
  PdbSpec memos;
  memos.name = "MemoDB";
  memos.creator = "memo";
  memos.appInfo = categoryAppInfo({"Unfiled"}, 282);
  memos.records = records(memoRecord("Alone\n"), {9});
  files.archives["/p/bAcKuP/MemoDB.pdb"] = pdbText(buildPdb(memos));
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  settings.stampTime = 0;
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  ASSERT_EQ(result.archives.size(), 3u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "bAcKuP/MemoDB.pdb (memo pad, handheld database): memos-handheld/ (1 memo); "
            "all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[1]),
            "bAcKuP/TasksDB-PTod.pdb (to-do list, later handheld database): "
            "todos-handheld.ics (2 to-dos); all done");
  EXPECT_EQ(exporting::summaryLine(result.archives[2]),
            "bAcKuP/ToDoDB.pdb (to-do list, handheld database): left out: the compatibility "
            "copy of bAcKuP/TasksDB-PTod.pdb; but 2 records' unique ids are not in "
            "TasksDB-PTod.pdb: export it alone (vessory-export /p/bAcKuP/ToDoDB.pdb) to keep "
            "them");
  EXPECT_EQ(files.outputPaths(), (std::vector<std::string>{"/o/memos-handheld/Unfiled/Alone.txt",
                                                           "/o/todos-handheld.ics"}));
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
  exporting::FolderSettings settings;
  settings.folder = "/p";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  RecordingFolderView view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);

  ASSERT_EQ(result.status, exporting::FolderStatus::kExported) << result.problem;
  ASSERT_EQ(result.archives.size(), 2u);
  EXPECT_EQ(exporting::summaryLine(result.archives[0]),
            "datebook/Datebook.dat (cannot be read): nothing exported -- Permission denied");
  EXPECT_EQ(exporting::summaryLine(result.archives[1]),
            "address/Address.dat (not an archive this tool reads): nothing exported");
  EXPECT_EQ(result.unreadable, std::vector<std::string>{"memopad/: Permission denied"});
  EXPECT_EQ(files.folders, std::vector<std::string>{"/p/memopad"});  // no /o
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
      EXPECT_NE(files.csv(exporting::joinPath("/o", "calendar.ics")).find("DTSTART:20020407T013000"),
                std::string::npos);
    }
  }
}

}  // namespace
}  // namespace vessory::testing
