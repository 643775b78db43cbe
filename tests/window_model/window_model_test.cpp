// The window model's reactions, each once, against a fake window and files in memory.

#include "window_model/window_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_window.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"
#include "support/organiser_builder.h"

namespace vessory::window_model {
namespace {

using exporting::joinPath;

std::string handheldDatebook() {
  testing::PdbPlan plan;
  plan.appInfo = testing::categoryAppInfo({"Unfiled"}, 280);
  plan.records.push_back({testing::eventRecord({}), 0x40, 1, {}});
  const testing::PdbBytes bytes = testing::buildPdb(plan);
  return std::string(bytes.begin(), bytes.end());
}

// A window of its own on a copy of the files, showing `folder` with `file` selected: for a
// press that ends the program.
struct OwnWindow {
  OwnWindow(const testing::MemoryFiles& givenFiles, const FakeWindow& givenWindow,
            const std::string& folder, const std::string& file)
      : files(givenFiles), window(givenWindow), model(window, files) {
    window.model = &model;
    model.startUp();
    window.showFolder(folder);
    window.file = file;
  }
  testing::MemoryFiles files;
  FakeWindow window;
  WindowModel model;
};

class WindowModelTest : public ::testing::Test {
 protected:
  // A start folder "/home" on drive "/", a user folder JSmith with its date book on drive "/a".
  void SetUp() override {
    window_.model = &model_;
    window_.drives = {"/a", "/"};
    window_.folders = {"/", "/a", "/home", user_, datebook_};
    files_.archives[joinPath(datebook_, "Datebook.dat")] =
        testing::ArchiveBuilder().archive({testing::journalRecord("9:00: x")}).bytes();
    files_.archives[joinPath(datebook_, "Address.dat")] = testing::buildAddressArchive({}, {{}});
    files_.archives[joinPath(datebook_, "DatebookDB.pdb")] = handheldDatebook();
  }
  void openAt(const std::string& folder, const std::string& file = "") {
    model_.startUp();
    window_.showFolder(folder);
    select(file);
  }
  void select(const std::string& file) {
    window_.file = file;
    model_.selectionChanged();
  }

  testing::MemoryFiles files_;
  FakeWindow window_;
  WindowModel model_{window_, files_};
  const std::string user_ = joinPath("/a", "JSmith");
  const std::string datebook_ = joinPath(user_, "datebook");
};

TEST_F(WindowModelTest, StartUpShowsTheStartFolderOnItsDriveWithTheJournalNames) {
  model_.startUp();
  // No candidate holds a file here: the last one, or the root when it cannot be opened.
  const StartFolder start = chooseStartFolder(buildPlatform(), window_.startPlaces().home,
                                              [](const std::string&) { return false; });
  const std::string shown = window_.folders.count(start.folder) ? start.folder : "/a";
  EXPECT_EQ(window_.folder, shown);
  EXPECT_EQ(window_.drive, window_.driveOf(start.drive.empty() ? shown : start.drive));
  EXPECT_EQ(window_.listItems, WindowModel::journalNames());
  EXPECT_EQ(window_.texts[Control::kJournalNames], "English: Daily Journal");
  EXPECT_TRUE(window_.disabled[Control::kEverything]);
}

// A drive returns to the folder last shown on it; one that cannot be shown leaves the lists
// and the drive where they were.
TEST_F(WindowModelTest, ADriveReturnsToItsLastFolderAndOneNotReadyChangesNothing) {
  openAt("/home");
  window_.showFolder(datebook_);
  window_.drives.push_back("/c");
  const struct {
    const char* drive;
    std::string folder;
    const char* shownDrive;
  } steps[] = {{"/", "/home", "/"}, {"/a", datebook_, "/a"}, {"/c", datebook_, "/a"}};
  window_.showDrive("/a");
  for (const auto& step : steps) {
    SCOPED_TRACE(step.drive);
    window_.showDrive(step.drive);
    EXPECT_EQ(window_.folder, step.folder);
    EXPECT_EQ(window_.drive, step.shownDrive);
  }
  ASSERT_EQ(window_.messages.size(), 1U);  // the drive that could not be read, once
  EXPECT_EQ(window_.messages[0].rfind("Drive /c cannot be read", 0), 0U) << window_.messages[0];
}

// A folder or file named from outside (the command line, a drop): the lists go there, the file
// selected; anything else is a message and the lists stay.
TEST_F(WindowModelTest, APathFromOutsideOpensItsFolderAndSelectsItsFile) {
  window_.files = {joinPath(datebook_, "DatebookDB.pdb")};
  const struct {
    std::string path;
    std::string folder;
    const char* file;
    const char* bias;
    std::size_t messages;
  } cases[] = {{user_, user_, "", "-4", 0},
               {joinPath(datebook_, "DatebookDB.pdb"), datebook_, "DatebookDB.pdb", "0", 0},
               {joinPath(datebook_, "Gone.dat"), datebook_, "DatebookDB.pdb", "0", 1},
               {"/nowhere", datebook_, "DatebookDB.pdb", "0", 2}};
  model_.startUp();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    model_.openPath(c.path);
    EXPECT_EQ(window_.folder, c.folder);
    EXPECT_EQ(window_.file, c.file);
    EXPECT_EQ(window_.drive, "/a");
    EXPECT_EQ(window_.texts[Control::kHoursBias], c.bias);  // the selection was told
    EXPECT_EQ(window_.messages.size(), c.messages);
  }
  EXPECT_EQ(window_.messages.back(),
            "/nowhere cannot be opened: it is neither a folder nor a file in one.");
}

// Which options the selected file enables, the handheld's bias shown as 0 and the box's own
// text back after it, and the user folder's box, which enables every journal option but the
// calendar's.
TEST_F(WindowModelTest, TheSelectionDecidesTheOptionsAndTheBias) {
  openAt(datebook_);
  EXPECT_FALSE(window_.disabled[Control::kEverything]);
  const struct {
    const char* file;
    bool everything;
    bool journalOptions;
    bool calendar;
    const char* bias;
  } steps[] = {{"Datebook.dat", false, true, true, "-4"},
               {"Address.dat", false, false, false, "-4"},
               {"DatebookDB.pdb", false, true, true, "0"},
               {"Datebook.dat", false, true, true, "-4"},
               {"Address.dat", true, true, false, "-4"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.file);
    window_.checks[Control::kEverything] = step.everything ? exporting::kChecked : 0;
    model_.everythingToggled();
    select(step.file);
    EXPECT_EQ(!window_.disabled[Control::kJournalOnly], step.journalOptions);
    EXPECT_EQ(!window_.disabled[Control::kJournalOnly] && !window_.disabled[Control::kAlsoCalendar],
              step.calendar);
    EXPECT_EQ(window_.texts[Control::kHoursBias], step.bias);
  }
}

// Export starts the run the selected file and the options call for; after its final message the
// program ends, once.
TEST_F(WindowModelTest, ExportRunsWhatTheFileCallsForThenEndsTheProgram) {
  const struct {
    const char* file;
    bool calendar;
    std::vector<const char*> written;
  } cases[] = {{"Datebook.dat", false, {"Datebook.csv"}},
               {"Datebook.dat", true, {"Datebook.csv", "Datebook.ics"}},
               {"Address.dat", true, {"Address.vcf"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.calendar ? " with the calendar" : ""));
    OwnWindow own(files_, window_, datebook_, c.file);
    auto& [files, window, model] = own;
    window.checks[Control::kAlsoCalendar] = c.calendar ? exporting::kChecked : 0;
    model.exportPressed();
    for (const char* name : c.written)
      EXPECT_TRUE(files.created(joinPath(datebook_, name))) << name;
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].rfind("All Done!", 0), 0u) << window.messages[0];
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.quits, 1);
    model.exportPressed();
    EXPECT_EQ(window.messages.size(), 1u);
  }
}

// With the clock standing still the counters are shown once, at the end, with the final counts
// the message finds; with the details box checked each record is shown as it is read. Either
// way the options are read from their boxes only when the user can act.
TEST_F(WindowModelTest, TheCountersArePacedUnlessEachRecordIsShown) {
  constexpr int kRecords = 30;
  std::vector<testing::RecordPlan> records;
  for (int i = 0; i < kRecords; ++i) records.push_back(testing::journalRecord("9:00: x"));
  files_.archives[joinPath(datebook_, "Datebook.dat")] =
      testing::ArchiveBuilder().archive(records).bytes();
  const std::chrono::steady_clock::time_point frozen{std::chrono::hours(1)};
  const struct {
    bool details;
    int recordTexts;  // how often the record read was set
  } cases[] = {{false, 1}, {true, kRecords}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.details ? "details" : "no details");
    OwnWindow own(files_, window_, datebook_, "Datebook.dat");
    auto& [files, window, model] = own;
    model.setClock([&frozen] { return frozen; });
    window.checks[Control::kShowDetails] = c.details ? exporting::kChecked : 0;
    model.exportPressed();
    EXPECT_EQ(window.textsSet[Control::kThisRecord], c.recordTexts);
    // The live options are read when the user could change them, not at every record.
    for (const Control option : {Control::kKeywords, Control::kWordWrap, Control::kHoursBias}) {
      EXPECT_LE(window.valuesRead[option], 4) << static_cast<int>(option);
    }
    EXPECT_EQ(window.texts[Control::kThisRecord], std::to_string(kRecords));
    EXPECT_EQ(window.texts[Control::kJournalsFound], std::to_string(kRecords));
    ASSERT_EQ(window.messages.size(), 1u);
  }
}

// A journal name that finds no entry: the message says so and the window stays for the name
// to be corrected, after which Export ends the program as always. With the calendar written
// beside it the press wrote something and ends at once.
TEST_F(WindowModelTest, ANameThatFindsNoEntryLeavesTheWindowOpenForAnother) {
  const struct {
    const char* name;
    bool calendar;
    int quits;  // after the first press
  } cases[] = {{"Nope", false, 0}, {"Nope", true, 1}, {"English: Daily Journal", false, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.calendar ? " with the calendar" : ""));
    OwnWindow own(files_, window_, datebook_, "Datebook.dat");
    auto& [files, window, model] = own;
    window.texts[Control::kJournalNames] = c.name;
    window.checks[Control::kAlsoCalendar] = c.calendar ? exporting::kChecked : 0;
    model.exportPressed();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].find("No journal entries were found") != std::string::npos,
              std::string(c.name) == "Nope")
        << window.messages[0];
    EXPECT_EQ(window.quits, c.quits);
    EXPECT_EQ(window.closed, c.quits == 1);
    if (c.quits == 1) continue;
    EXPECT_FALSE(window.disabled[Control::kExport]);
    window.texts[Control::kJournalNames] = "English: Daily Journal";
    model.exportPressed();
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[1].rfind("All Done!", 0), 0u) << window.messages[1];
    EXPECT_EQ(window.quits, 1);
  }
}

// The classic notice of a short read goes into the box of the words that explain it, below
// them; no box begins with it.
TEST_F(WindowModelTest, TheShortReadNoticeComesBelowItsExplanation) {
  const std::string whole =
      testing::ArchiveBuilder().archive({testing::journalRecord("9:00: x")}).bytes();
  files_.archives[joinPath(datebook_, "Datebook.dat")] = whole.substr(0, whole.size() - 3);
  for (const bool calendar : {false, true}) {
    SCOPED_TRACE(calendar ? "with the calendar" : "the journal");
    OwnWindow own(files_, window_, datebook_, "Datebook.dat");
    auto& [files, window, model] = own;
    window.checks[Control::kAlsoCalendar] = calendar ? exporting::kChecked : 0;
    model.exportPressed();
    ASSERT_EQ(window.messages.size(), calendar ? 2u : 1u);
    const std::string& box = window.messages[0];
    EXPECT_EQ(box.rfind("Datebook file ended early", 0), 0u) << box;
    const std::size_t notice = box.find("\r\n\r\nJust read char past EOF on byte ");
    ASSERT_NE(notice, std::string::npos) << box;
    EXPECT_EQ(box.find("\r\n", notice + 4), std::string::npos) << box;  // the box's last line
    for (const std::string& message : window.messages) {
      EXPECT_EQ(message.rfind("Just read", 0), std::string::npos) << message;
    }
  }
}

// Nothing selected: the run asks for a file and the window stays, Export enabled and focused
// again.
TEST_F(WindowModelTest, ARunThatWritesNothingLeavesTheWindowAsItWas) {
  openAt(datebook_);
  window_.exportFocused = true;
  model_.exportPressed();
  ASSERT_EQ(window_.messages.size(), 1u);
  EXPECT_EQ(window_.messages[0].rfind("Navigate to the directory", 0), 0u);
  EXPECT_FALSE(window_.disabled[Control::kExport]);
  EXPECT_TRUE(window_.exportFocused);
  EXPECT_EQ(window_.quits, 0);
}

// The classic text stays whole and first; a paragraph after it names each box the window adds
// and, but on Windows, where the desktop software's folders usually are.
TEST(WindowModelHelp, TheClassicTextComesWholeThenWhatTheWindowDoesBeyondIt) {
  const std::string help = WindowModel::helpText();
  const std::string classic = WindowModel::classicHelpText();
  ASSERT_EQ(help.rfind(classic + "\r\n\r\n", 0), 0u);
  EXPECT_EQ(classic.find("'Also"), std::string::npos);
  const std::string beyond = help.substr(classic.size() + 4);
  EXPECT_EQ(beyond.find("\r\n"), std::string::npos);  // one paragraph
  const struct {
    const char* named;
    bool namedHere;
  } cases[] = {{"'Also export the whole calendar'", true},
               {"'Also write the journal as daily notes'", true},
               {"'Export everything in this user folder'", true},
               {"~/.wine/drive_c/Palm", buildPlatform() != Platform::kWindows}};
  for (const auto& c : cases) {
    EXPECT_EQ(beyond.find(c.named) != std::string::npos, c.namedHere) << c.named;
  }
}

TEST_F(WindowModelTest, HelpShowsItsTextAndExitEndsTheProgramOnce) {
  openAt(datebook_);
  model_.helpPressed();
  EXPECT_EQ(window_.messages, std::vector<std::string>{WindowModel::helpText()});
  model_.exitPressed();
  model_.exitPressed();
  EXPECT_TRUE(window_.closed);
  EXPECT_EQ(window_.quits, 1);
  model_.helpPressed();
  EXPECT_EQ(window_.messages.size(), 1u);
}

// Closing the window during a run: the run stops at its next record, nothing more is shown,
// and the program ends once.
TEST_F(WindowModelTest, ClosingDuringARunEndsItQuietly) {
  openAt(datebook_, "Datebook.dat");
  window_.onEvents = [this] {
    if (model_.exportRunning() && !window_.closed) window_.closeWindow();
  };
  model_.exportPressed();
  EXPECT_TRUE(model_.endRequested());
  EXPECT_TRUE(window_.messages.empty());
  EXPECT_EQ(window_.quits, 1);
  EXPECT_FALSE(model_.exportRunning());
}

// The whole user folder: its progress in the fields, then one summary and the end.
TEST_F(WindowModelTest, TheWholeUserFolderEndsWithItsSummary) {
  files_.archives.erase(joinPath(datebook_, "Address.dat"));
  files_.archives.erase(joinPath(datebook_, "DatebookDB.pdb"));
  openAt(datebook_, "Datebook.dat");
  window_.checks[Control::kEverything] = exporting::kChecked;
  model_.exportPressed();
  EXPECT_TRUE(window_.messages.empty());
  ASSERT_EQ(window_.summaries.size(), 1u);
  EXPECT_EQ(window_.summaries[0].rfind("Exported " + user_ + " into ", 0), 0u)
      << window_.summaries[0];
  EXPECT_EQ(window_.texts[Control::kJournalsFound], "1");
  EXPECT_EQ(window_.backColor, exporting::kMenuBackgroundColor);
  EXPECT_EQ(window_.quits, 1);
}

}  // namespace
}  // namespace vessory::window_model
