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
  EXPECT_EQ(window_.messages.back(), "/nowhere cannot be opened: it is neither a folder nor a file in one.");
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
  } steps[] = {{"Datebook.dat", false, true, true, "-4"},   {"Address.dat", false, false, false, "-4"},
               {"DatebookDB.pdb", false, true, true, "0"}, {"Datebook.dat", false, true, true, "-4"},
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
    testing::MemoryFiles files = files_;
    FakeWindow window = window_;
    WindowModel model(window, files);
    window.model = &model;
    model.startUp();
    window.showFolder(datebook_);
    window.file = c.file;
    window.checks[Control::kAlsoCalendar] = c.calendar ? exporting::kChecked : 0;
    model.exportPressed();
    for (const char* name : c.written) EXPECT_TRUE(files.created(joinPath(datebook_, name))) << name;
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].rfind("All Done!", 0), 0u) << window.messages[0];
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.quits, 1);
    model.exportPressed();
    EXPECT_EQ(window.messages.size(), 1u);
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
