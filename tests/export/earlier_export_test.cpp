// An export takes the place of an earlier one of its name only when it holds the whole archive:
// a stopped run's part goes and the earlier file (or memo folder) stays exactly as it was; a
// damaged archive's part goes beside it as "NAME (damaged archive).EXT" and the final message
// names both. With no earlier file the part stays under its own name, as before.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/folder_export.h"
#include "export/folder_summary.h"
#include "export/organiser_run.h"
#include "export/output_place.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;
using Step = std::function<ExportOutcome(MemoryFiles&, RecordingView&)>;

const std::string kEarlier = "EARLIER EXPORT\r\n";

// A path under the test's folders "/p" and "/o" as the runs join it on this system: "/p\\a.csv"
// on Windows.
std::string native(std::string path) {
  std::replace(path.begin() + 2, path.end(), '/', exporting::pathSeparator());
  return path;
}

Step journal(bool classic = false) {
  return [classic](MemoryFiles& files, RecordingView& view) {
    exporting::ExportRun run(files);
    run.keepEarlierWithoutEntries();
    if (classic) run.replaceEarlierWhenDamaged();
    return run.run(view);
  };
}
// A run of `Run` with `Settings` whose zone is UTC and whose stamp is fixed.
template <class Run, class Settings>
Step withSettings() {
  return [](MemoryFiles& files, RecordingView& view) {
    Settings settings;
    settings.zoneName = "UTC";
    settings.stampTime = 0;
    return Run(files, settings).run(view);
  };
}
const Step kCalendar = withSettings<exporting::CalendarRun, exporting::CalendarSettings>();
const Step kOrganiser = withSettings<exporting::OrganiserRun, exporting::OrganiserSettings>();

MemoPlan memo(const std::string& text) {
  MemoPlan plan;
  plan.text = text;
  return plan;
}
ContactPlan contact(const std::string& name) {
  ContactPlan plan;
  plan.lastName = name;
  return plan;
}

// One kind of export: an archive of three records, and the output a whole run writes.
struct Kind {
  const char* name;
  std::string file;
  std::string bytes;
  Step run;
  std::string output;  // a memo folder's file stands for its folder
  std::string beside;
};

std::vector<Kind> kinds() {
  const std::string datebook =
      ArchiveBuilder()
          .archive({journalRecord("9:00: a"), journalRecord("9:00: b"), journalRecord("9:00: c")})
          .bytes();
  return {
      {"journal", "Datebook.dat", datebook, journal(), native("/p/Datebook.csv"),
       native("/p/Datebook (damaged archive).csv")},
      {"calendar", "Datebook.dat", datebook, kCalendar, native("/p/Datebook.ics"),
       native("/p/Datebook (damaged archive).ics")},
      {"contacts", "Address.dat",
       buildAddressArchive({}, {contact("Ann"), contact("Ben"), contact("Cy")}), kOrganiser,
       native("/p/Address.vcf"), native("/p/Address (damaged archive).vcf")},
      {"to-dos", "ToDo.dat", buildTodoArchive({}, {TodoPlan{}, TodoPlan{}, TodoPlan{}}),
       kOrganiser, native("/p/ToDo.ics"), native("/p/ToDo (damaged archive).ics")},
      {"memos", "MemoPad.dat", buildMemoArchive({}, {memo("a"), memo("b"), memo("c")}), kOrganiser,
       native("/p/MemoPad/Unfiled/a.txt"), native("/p/MemoPad (damaged archive)/Unfiled/a.txt")},
  };
}

class EarlierExportTest : public ::testing::Test {
 protected:
  // Runs `kind` on `bytes`, with an earlier export in place when `earlier`, stopping before
  // record 2 when `stop`.
  ExportOutcome run(const Kind& kind, const std::string& bytes, bool earlier, bool stop) {
    files = MemoryFiles();
    view = RecordingView();
    view.folder = "/p";
    view.fileName = kind.file;
    files.archives[view.inputPath()] = bytes;
    if (earlier) {
      if (kind.name == std::string("memos")) files.folders = {native("/p/MemoPad")};
      files.earlier(kind.output, kEarlier);
    }
    if (stop) {
      view.onEvents = [](RecordingView& v) {
        if (v.pendingEventCalls == 3) v.endWanted = true;
      };
    }
    return kind.run(files, view);
  }
  std::string lastMessage() const { return view.messages.empty() ? "" : view.messages.back(); }

  MemoryFiles files;
  RecordingView view;
};

TEST_F(EarlierExportTest, AStopLeavesAnEarlierExportAsItWasAndOtherwiseKeepsThePart) {
  for (const Kind& kind : kinds()) {
    for (bool earlier : {true, false}) {
      SCOPED_TRACE(std::string(kind.name) + (earlier ? ", earlier" : ", none earlier"));
      EXPECT_EQ(run(kind, kind.bytes, earlier, true), ExportOutcome::kEndRequested);
      EXPECT_EQ(files.created(kind.output), true);
      EXPECT_EQ(files.csv(kind.output) == kEarlier, earlier) << files.csv(kind.output);
      // Nothing else is made: no part beside, no other memo.
      EXPECT_EQ(files.outputPaths(), std::vector<std::string>{kind.output});
      EXPECT_FALSE(files.created(kind.beside));
    }
  }
}

TEST_F(EarlierExportTest, ADamagedArchivesExportGoesBesideAnEarlierOneAndNamesBoth) {
  for (const Kind& kind : kinds()) {
    const std::string cut = kind.bytes.substr(0, kind.bytes.size() - 1);
    for (bool earlier : {true, false}) {
      SCOPED_TRACE(std::string(kind.name) + (earlier ? ", earlier" : ", none earlier"));
      EXPECT_EQ(run(kind, cut, earlier, false), ExportOutcome::kEndedEarly);
      EXPECT_EQ(files.csv(kind.output) == kEarlier, earlier);
      EXPECT_NE(files.csv(earlier ? kind.beside : kind.output), "");
      EXPECT_EQ(files.created(kind.beside), earlier);
      const std::string named = kind.name == std::string("memos") ? native("/p/MemoPad") : kind.output;
      const std::string besideName = kind.beside.substr(0, kind.beside.find(" archive)") + 9);
      EXPECT_EQ(lastMessage().find(exporting::besideEarlierText(named)) != std::string::npos,
                earlier)
          << lastMessage();
      EXPECT_EQ(lastMessage().find(besideName) != std::string::npos, earlier) << lastMessage();
    }
  }
}

// The classic journal (the quiet console's) replaces an earlier CSV whatever the archive held;
// a stop still leaves it.
TEST_F(EarlierExportTest, TheClassicJournalReplacesAnEarlierCsvButAStopDoesNot) {
  Kind kind = kinds().front();
  kind.run = journal(true);
  const std::string cut = kind.bytes.substr(0, kind.bytes.size() - 1);
  EXPECT_EQ(run(kind, cut, true, false), ExportOutcome::kEndedEarly);
  EXPECT_NE(files.csv(kind.output).find("9:00,\"a\""), std::string::npos);
  EXPECT_FALSE(files.created(kind.beside));
  EXPECT_EQ(run(kind, kind.bytes, true, true), ExportOutcome::kEndRequested);
  EXPECT_EQ(files.csv(kind.output), kEarlier);
}

// The console's journal without -q: an export that writes no row is no success; an earlier CSV
// stays and the message says so, without "All Done!".
TEST_F(EarlierExportTest, AJournalWithoutRowsKeepsTheEarlierCsvAndIsNoSuccess) {
  Kind kind = kinds().front();
  kind.run = [](MemoryFiles& files, RecordingView& view) {
    exporting::ExportRun run(files);
    run.failWithoutEntries();
    return run.run(view);
  };
  const struct {
    const char* name;
    std::string journal, bytes;
    bool earlier;
    std::string said;  // in the last message
  } rows[] = {
      {"no entry", "Nope", kind.bytes, true,
       "lists the descriptions this archive uses. The earlier " + native("/p/Datebook.csv") +
           " was left as it was."},
      {"no entry, none earlier", "Nope", kind.bytes, false,
       "lists the descriptions this archive uses."},
      {"nothing readable", "English: Daily Journal", kind.bytes.substr(0, 10), true,
       "nothing was exported. The earlier " + native("/p/Datebook.csv") + " was left as it was."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    files = MemoryFiles();
    view = RecordingView();
    view.folder = "/p";
    view.fileName = kind.file;
    view.journal = row.journal;
    files.archives[view.inputPath()] = row.bytes;
    if (row.earlier) files.earlier(kind.output, kEarlier);
    EXPECT_EQ(kind.run(files, view), ExportOutcome::kNothingRead);
    EXPECT_EQ(files.created(kind.output), row.earlier);
    if (row.earlier) {
      EXPECT_EQ(files.csv(kind.output), kEarlier);
    }
    EXPECT_TRUE(lastMessage().ends_with(row.said)) << lastMessage();
    EXPECT_EQ(lastMessage().find("All Done!"), std::string::npos);
  }
}

TEST(OutputPlaceTest, DamagedArchiveNamesKeepTheExtension) {
  const struct {
    std::string path;
    bool folder;
    std::string beside;
  } rows[] = {
      {native("/o/journal.csv"), false, native("/o/journal (damaged archive).csv")},
      {"C:\\Palm\\Datebook.ics", false, "C:\\Palm\\Datebook (damaged archive).ics"},
      {native("/o/v1.2/memos"), true, native("/o/v1.2/memos (damaged archive)")},
      {native("/o/v1.2/notes"), false, native("/o/v1.2/notes (damaged archive)")},
      {native("/o/.hidden"), false, native("/o/.hidden (damaged archive)")},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(exporting::damagedArchivePath(row.path, row.folder), row.beside);
  }
}

TEST(OutputPlaceTest, StoppedTextSaysWhatBecameOfTheEarlierFile) {
  EXPECT_EQ(exporting::stoppedText(7, "/o/a.csv", false),
            "Stopped: the 7 records read before that point have been kept in /o/a.csv");
  EXPECT_EQ(exporting::stoppedText(7, "/o/a.csv", true),
            "Stopped after 7 records read: the earlier /o/a.csv was left as it was, and the "
            "part exported was not kept");
}

// A folder's view that asks for the end once it has let the user act `stopAt` times (never at 0).
struct StoppingFolderView : exporting::FolderView {
  int stopAt = 0;
  int calls = 0;
  void archiveRead(const std::string&, std::int64_t) override {}
  void showDetail(const std::string&, const std::string&) override {}
  void processPendingEvents() override { ++calls; }
  bool endRequested() override { return stopAt != 0 && calls >= stopAt; }
};

// --all names the file it wrote: beside the earlier one for a damaged archive, and none for a
// part stopped while an earlier export was there, which stays.
TEST(EarlierFolderExportTest, TheSummaryNamesTheFileWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "the folders in memory are written with '/'; the console tests cover Windows";
#endif
  const std::string address = buildAddressArchive({}, {contact("Ann"), contact("Ben")});
  const std::string datebook =
      ArchiveBuilder().archive({journalRecord("9:00: a"), journalRecord("9:00: b")}).bytes();
  const struct {
    const char* name;
    std::string archive, bytes, earlier, beside;
    int stopAt;
    std::string line;  // in the archive's summary line
  } rows[] = {
      {"damaged contacts", native("/p/Address.dat"), address.substr(0, address.size() - 1),
       native("/o/contacts.vcf"), native("/o/contacts (damaged archive).vcf"), 0,
       "contacts (damaged archive).vcf (1 contact"},
      {"damaged journal", native("/p/Datebook.dat"), datebook.substr(0, datebook.size() - 1),
       native("/o/journal.csv"), native("/o/journal (damaged archive).csv"), 0,
       "journal (damaged archive).csv (2 entries"},
      {"stopped journal", native("/p/Datebook.dat"), datebook, native("/o/journal.csv"), "", 3,
       "journal.csv not written; the earlier one was left as it was"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    files.archives[row.archive] = row.bytes;
    files.earlier(row.earlier, kEarlier);
    StoppingFolderView view;
    view.stopAt = row.stopAt;
    exporting::FolderSettings settings;
    settings.folder = "/p";
    settings.outputFolder = "/o";
    settings.zoneName = "UTC";
    const exporting::FolderResult result = exporting::FolderExport(files, settings).run(view);
    ASSERT_EQ(result.archives.size(), 1u);
    EXPECT_EQ(files.csv(row.earlier), kEarlier);
    if (!row.beside.empty()) {
      EXPECT_NE(files.csv(row.beside), "");
    }
    const std::string line = exporting::summaryLine(result.archives[0]);
    EXPECT_NE(line.find(row.line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace vessory::testing
