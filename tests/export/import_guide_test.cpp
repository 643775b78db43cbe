#include "export/import_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "export/export_view.h"
#include "export/user_folder.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

// Every name the folder export can give an output, as the summary names it.
std::vector<std::string> everyOutputName() {
  std::vector<std::string> names;
  for (const char* suffix : {"", "-archive", "-handheld"}) {
    for (const char* base : {"calendar", "todos"})
      names.push_back(base + std::string(suffix) + ".ics");
    names.push_back("journal" + std::string(suffix) + ".csv");
    names.push_back("contacts" + std::string(suffix) + ".vcf");
    names.push_back("memos" + std::string(suffix) + "/");
  }
  return names;
}

// The guide's headings: the lines that name a file, " -- ", and where it came from.
std::set<std::string> headings(const std::string& guide) {
  std::set<std::string> named;
  std::size_t start = 0;
  while (start < guide.size()) {
    const std::size_t end = guide.find('\n', start);
    const std::string line = guide.substr(start, end - start);
    start = end == std::string::npos ? guide.size() : end + 1;
    if (!line.empty() && line[0] != ' ' && line.find(" -- ") != std::string::npos) {
      named.insert(line.substr(0, line.find(" -- ")));
    }
  }
  return named;
}

// A file the guide does not name appears nowhere in it, not even in the steps.
void expectNamesExactly(const std::string& guide, const std::set<std::string>& written) {
  EXPECT_EQ(headings(guide), written) << guide;
  for (const std::string& name : everyOutputName()) {
    bool named = false;
    for (const std::string& w : written) {
      named = named || (w.size() >= name.size() &&
                        w.compare(w.size() - name.size(), name.size(), name) == 0);
    }
    if (!named) {
      EXPECT_EQ(guide.find(name), std::string::npos) << name;
    }
  }
}

exporting::ArchiveReport report(std::string archive, std::string what,
                                std::vector<exporting::PartReport> parts) {
  exporting::ArchiveReport made;
  made.archive = std::move(archive);
  made.what = std::move(what);
  made.parts = std::move(parts);
  return made;
}

exporting::FolderResult resultOf(std::vector<exporting::ArchiveReport> reports) {
  exporting::FolderResult result;
  result.archives = std::move(reports);
  return result;
}

// The lines of the guide from the first that starts with `from`, up to the next blank line.
std::string paragraph(const std::string& guide, const std::string& from) {
  const std::size_t start = guide.find("\n" + from);
  if (start == std::string::npos) return "";
  return guide.substr(start + 1, guide.find("\n\n", start + 1) - start);
}

TEST(ImportGuideTest, NamesEveryOutputOfTheReportsAndNothingElse) {
  using exporting::ArchiveReport;
  using exporting::PartReport;
  const ArchiveReport datebook =
      report("datebook/Datebook.dat", "date book",
             {{"calendar.ics", "32 events, 1 left out"},
              {"", "no entries under \"Daily Journal\", journal.csv not written"}});
  const ArchiveReport handheld =
      report("datebook/DatebookDB.pdb", "date book (handheld database)",
             {{"calendar-handheld.ics", "2 events"}, {"journal-handheld.csv", "3 entries"}});
  const ArchiveReport contacts = report("Ann/address/Address.aba", "address book (archive file)",
                                        {{"Ann/contacts-archive.vcf", "11 contacts"}});
  const ArchiveReport memos = report("memopad/MemoPad.dat", "memo pad", {{"memos/", "4 memos"}});
  const ArchiveReport todos = report("ToDo.dat", "to-do list", {{"todos.ics", "1 to-do"}});
  const ArchiveReport unread =
      report("todo/ToDo.dat", "not an archive this tool reads", {{"", ""}});
  struct Case {
    const char* name;
    std::vector<ArchiveReport> reports;
    std::set<std::string> written;
  };
  const std::vector<Case> cases = {
      {"every kind",
       {datebook, handheld, contacts, memos, todos},
       {"calendar.ics", "calendar-handheld.ics", "journal-handheld.csv", "Ann/contacts-archive.vcf",
        "memos/", "todos.ics"}},
      {"a journal not written is not named", {datebook}, {"calendar.ics"}},
      {"nothing written: no guide", {unread}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string guide = exporting::importGuide(resultOf(c.reports), "\n");
    if (c.written.empty()) {
      EXPECT_EQ(guide, "");
      continue;
    }
    expectNamesExactly(guide, c.written);
    // The counts of the summary come along.
    for (const ArchiveReport& r : c.reports) {
      for (const PartReport& part : r.parts) {
        if (!part.output.empty()) {
          EXPECT_NE(guide.find(": " + part.counts + "\n"), std::string::npos);
        }
      }
    }
    const std::string crlf = exporting::importGuide(resultOf(c.reports), "\r\n");
    std::string back = crlf;
    for (std::size_t at; (at = back.find("\r\n")) != std::string::npos;) back.replace(at, 2, "\n");
    EXPECT_EQ(back, guide);
    EXPECT_EQ(crlf.find_first_of("\t"), std::string::npos);
  }
}

// After a stop the guide says so first: what is finished, what holds only the records before
// the stop, what was not started, and which earlier files of those names stand (these then get
// their own steps). The journal's character set follows --encoding; every other file is UTF-8.
// Where a handheld's export holds the desktop's records again, it says which to import.
TEST(ImportGuideTest, TellsOfAStopTheCharacterSetsAndRecordsHeldTwice) {
  exporting::ArchiveReport datebook =
      report("datebook/Datebook.dat", "date book",
             {{"", "calendar.ics not started", exporting::ExportOutcome::kEndRequested},
              {"journal.csv", "12 entries", exporting::ExportOutcome::kEndRequested}});
  datebook.recordsRead = 12;
  exporting::FolderResult stopped = resultOf(
      {report("memopad/MemoPad.dat", "memo pad", {{"memos/", "2 memos"}}), datebook});
  stopped.stopped = true;
  stopped.stoppedArchive = 1;
  stopped.untouched = {{"calendar.ics", "datebook/Datebook.dat", true},
                       {"contacts.vcf", "address/Address.dat", true},
                       {"todos.ics", "todo/ToDo.dat", false}};
  std::string guide = exporting::importGuide(stopped, "\n");
  EXPECT_EQ(paragraph(guide, "THIS EXPORT"),
            "THIS EXPORT WAS STOPPED before it was finished.\n"
            "  Finished: memos/\n"
            "  Only the records before the stop: journal.csv (the 12 records of "
            "datebook/Datebook.dat read before the stop)\n"
            "  Not started: calendar.ics (from datebook/Datebook.dat), contacts.vcf (from "
            "address/Address.dat), todos.ics (from todo/ToDo.dat).\n"
            "  In this folder from an earlier export, left as it was: calendar.ics, contacts.vcf "
            "(described below).\n"
            "  Export the folder again to finish.\n");
  EXPECT_EQ(headings(guide),
            (std::set<std::string>{"memos/", "journal.csv", "calendar.ics", "contacts.vcf"}));
  EXPECT_NE(guide.find("\ncontacts.vcf -- from an earlier export, left as it was (this one "
                       "stopped before address/Address.dat)\n  Character set: UTF-8"),
            std::string::npos);
  EXPECT_NE(guide.find("journal.csv -- from datebook/Datebook.dat (date book): 12 entries; "
                       "stopped: only the records before the stop\n"),
            std::string::npos);
  const std::string bytesAsHeld = "Windows-1252 (Western European)";
  const std::string sheetsAsked = "Google Sheets reads only UTF-8";
  EXPECT_NE(guide.find(bytesAsHeld), std::string::npos);
  EXPECT_NE(guide.find(sheetsAsked), std::string::npos);

  // Converted into UTF-8, the journal needs no detour; nothing stopped, nothing said of it.
  exporting::FolderResult converted =
      resultOf({report("datebook/Datebook.dat", "date book", {{"journal.csv", "3 entries"}})});
  converted.journalConvertedFrom = "windows-1252";
  guide = exporting::importGuide(converted, "\n");
  EXPECT_EQ(guide.find(bytesAsHeld), std::string::npos);
  EXPECT_EQ(guide.find(sheetsAsked), std::string::npos);
  EXPECT_NE(guide.find("Character set: UTF-8, marked so at its start"), std::string::npos);
  EXPECT_EQ(guide.find("STOPPED"), std::string::npos);

  exporting::ArchiveReport handheld = report("Backup/AddressDB.pdb", "address book, handheld database",
                                             {{"contacts-handheld.vcf", "9 contacts"}});
  handheld.sameRecordsAs = "contacts.vcf";
  const exporting::ArchiveReport desktop =
      report("address/Address.dat", "address book", {{"contacts.vcf", "8 contacts"}});
  const std::string twice = "THE SAME RECORDS TWICE: contacts.vcf and contacts-handheld.vcf\n"
      "  A sync copies each record to the desktop and the handheld; these two files\n"
      "  give them different UIDs, so importing both doubles them.\n"
      "  Import contacts.vcf, the desktop's.\n";
  EXPECT_EQ(paragraph(exporting::importGuide(resultOf({desktop, handheld}), "\n"), "THE SAME"),
            twice + "  contacts-handheld.vcf holds no record that contacts.vcf lacks: leave it "
                    "out.\n");
  handheld.recordsOnlyHere = 2;
  EXPECT_EQ(paragraph(exporting::importGuide(resultOf({desktop, handheld}), "\n"), "THE SAME"),
            twice + "  contacts-handheld.vcf holds 2 records that contacts.vcf lacks, made on the\n"
                    "  handheld after its last sync. To keep them, sync the handheld with the "
                    "desktop\n  software and export again, or import contacts-handheld.vcf "
                    "instead of contacts.vcf\n  (it lacks what was added on the desktop since "
                    "that sync).\n");
}

// A journal's section names the daily notes' folder beside that very CSV.
TEST(ImportGuideTest, AJournalsSectionNamesItsOwnDailyNotesFolder) {
  const struct {
    const char* csv;
    const char* folder;
  } rows[] = {
      {"journal.csv", "journal/"},
      {"journal-archive.csv", "journal-archive/"},
      {"journal-archive-Business.csv", "journal-archive-Business/"},
      {"Ann/journal-handheld.csv", "Ann/journal-handheld/"},
  };
  // The names as the platform spells them: "Ann\\journal-handheld\\" on Windows.
  const auto spelled = [](std::string name) {
    std::replace(name.begin(), name.end(), '/', exporting::pathSeparator());
    return name;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.csv);
    const std::string guide = exporting::importGuide(
        resultOf({report("datebook/Datebook.dba", "date book", {{spelled(row.csv), "1 entry"}})}),
        "\n");
    EXPECT_NE(guide.find(std::string("\n  Daily notes, when written beside it, are in ") +
                         spelled(row.folder) + ":\n    one Markdown file a day"),
              std::string::npos)
        << guide;
    EXPECT_EQ(guide.find(spelled("journal/")) == std::string::npos,
              std::string(row.folder) != "journal/");
  }
}

// After a failed write the guide says, as the summary does, which files were not written (or
// not whole) and why; without one it says nothing of it.
TEST(ImportGuideTest, TellsWhichFilesWritingFailedFor) {
  using exporting::ExportOutcome;
  exporting::ArchiveReport datebook =
      report("datebook/Datebook.dat", "date book",
             {{"", "calendar.ics not written", ExportOutcome::kCannotWrite},
              {"journal.csv", "3 entries"}});
  datebook.messages = {"Cannot write /o/calendar.ics: No space left on device"};
  const exporting::ArchiveReport memos = report(
      "memopad/MemoPad.dat", "memo pad", {{"memos/", "2 memos", ExportOutcome::kCannotWrite}});
  const exporting::ArchiveReport todos =
      report("ToDo.dat", "to-do list", {{"todos.ics", "1 to-do"}});
  std::string guide = exporting::importGuide(resultOf({datebook, todos, memos}), "\n");
  EXPECT_EQ(paragraph(guide, "SOME FILES"),
            "SOME FILES WERE NOT WRITTEN, or not whole: writing failed.\n"
            "  datebook/Datebook.dat (date book): calendar.ics not written (writing failed), "
            "journal.csv (3 entries; complete) -- Cannot write /o/calendar.ics: No space left on "
            "device\n"
            "  memopad/MemoPad.dat (memo pad): memos/ (2 memos); writing failed\n"
            "  Make room (or make the folder writable) and export the folder again.\n");
  EXPECT_NE(guide.find("\nmemos/ -- from memopad/MemoPad.dat (memo pad): 2 memos; writing "
                       "failed, see above\n"),
            std::string::npos);
  EXPECT_EQ(headings(guide), (std::set<std::string>{"journal.csv", "todos.ics", "memos/"}));
  guide = exporting::importGuide(resultOf({todos}), "\n");
  EXPECT_EQ(guide.find("SOME FILES"), std::string::npos);
  EXPECT_EQ(guide.find("failed"), std::string::npos);
}

// The guide that a folder export writes beside its outputs names exactly what it wrote.
TEST(ImportGuideTest, TheFolderExportWritesTheGuideOfWhatItWrote) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'";
#endif
  MemoryFiles files;
  files.archives["/u/datebook/Datebook.dat"] =
      ArchiveBuilder().archive({journalRecord("9:15 am: Woke up")}).bytes();
  ContactPlan contact;
  contact.lastName = "Lee";
  files.archives["/u/address/Address.dat"] = buildAddressArchive({}, {contact});
  files.archives["/u/todo/ToDo.dat"] = "not an archive";
  exporting::FolderSettings settings;
  settings.folder = "/u";
  settings.outputFolder = "/o";
  settings.zoneName = "UTC";
  settings.importGuide = true;
  struct : exporting::FolderView {
    void archiveRead(const std::string&, std::int64_t) override {}
    void showDetail(const std::string&, const std::string&) override {}
  } view;
  const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
  ASSERT_EQ(result.guidePath, "/o/How to import.txt") << result.guideError;
  std::set<std::string> written;
  for (const std::string& path : files.outputPaths()) {
    // The daily notes are named with the journal they go with.
    if (path != result.guidePath && path.find("/journal/") == std::string::npos) {
      written.insert(path.substr(3));
    }
  }
  EXPECT_EQ(written, (std::set<std::string>{"calendar.ics", "journal.csv", "contacts.vcf"}));
  EXPECT_TRUE(files.closed(result.guidePath));
  expectNamesExactly(files.csv(result.guidePath), written);

  // A guide that cannot be written is reported, and the exports stand.
  files.uncreatable["/o/How to import.txt"] = "disk full";
  const exporting::FolderResult failed = exporting::FolderExport(files, settings).run(view);
  EXPECT_EQ(failed.guidePath, "");
  EXPECT_EQ(failed.guideError, "cannot write /o/How to import.txt: disk full");

  // A file that cannot be made is named in the guide of those that were.
  files.uncreatable.erase("/o/How to import.txt");
  files.uncreatable["/o/contacts.vcf"] = "No space left on device";
  const exporting::FolderResult full = exporting::FolderExport(files, settings).run(view);
  ASSERT_EQ(full.guidePath, "/o/How to import.txt") << full.guideError;
  EXPECT_EQ(paragraph(files.csv(full.guidePath), "SOME FILES"),
            "SOME FILES WERE NOT WRITTEN, or not whole: writing failed.\n"
            "  address/Address.dat (address book): output not created -- Cannot create "
            "/o/contacts.vcf: No space left on device\n"
            "  Make room (or make the folder writable) and export the folder again.\n");
}

TEST(UserFolderTest, AKindFolderBelongsToTheFolderAboveIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/ann/Palm/JSmith/datebook", "/home/ann/Palm/JSmith"},
      {"/home/ann/Palm/JSmith/MEMOPAD/", "/home/ann/Palm/JSmith"},
      {"C:\\Palm\\SmithJ\\Address", "C:\\Palm\\SmithJ"},
      {"C:\\todo", "C:\\"},
      {"/todo", "/"},
      {"/home/ann/Palm/JSmith", "/home/ann/Palm/JSmith"},
      {"/home/ann/datebooks", "/home/ann/datebooks"},
      {"/", "/"},
      {"datebook", "datebook"},
  };
  for (const auto& [folder, user] : cases)
    EXPECT_EQ(exporting::userFolderOf(folder), user) << folder;
}

TEST(UserFolderTest, OnlyArchivesTheToolReadsInTheFolderOrItsKindFoldersCount) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'";
#endif
  MemoryFiles files;
  const std::string datebook = ArchiveBuilder().archive({journalRecord("x")}).bytes();
  files.archives["/kind/Datebook/DATEBOOK.DAT"] = datebook;
  files.archives["/own/MemoPad.dat"] = buildMemoArchive({}, {MemoPlan{}});
  files.archives["/named/datebook/Datebook.dat"] = "not an archive";
  files.archives["/named/datebook/notes.dat"] = datebook;  // not a name the desktop gives
  files.archives["/above/Ann/datebook/Datebook.dat"] = datebook;
  const struct {
    const char* folder;
    bool inFolder, inKindFolder;
  } cases[] = {{"/kind", false, true},
               {"/own", true, false},
               {"/named", false, false},
               {"/above", false, false},
               {"/missing", false, false}};
  for (const auto& c : cases) {
    const exporting::UserFolderArchives held = exporting::userFolderArchives(files, c.folder);
    EXPECT_EQ(held.inFolder, c.inFolder) << c.folder;
    EXPECT_EQ(held.inKindFolder, c.inKindFolder) << c.folder;
  }
}

}  // namespace
}  // namespace vessory::testing
