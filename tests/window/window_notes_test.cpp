// Exports through the window with "Also write the journal as daily notes" checked: the day files
// beside the archive are the console tool's, and the final message names their folder.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <string>

#include "window_export_fixture.h"

namespace vessory::window {
namespace {

using namespace fixture;

class NotesExportTest : public WindowExportTest {
 protected:
  // Exports with the box on (and the calendar's as `calendar` says) and checks the day files
  // and the message's start.
  void exportWithNotes(bool calendar) {
    const std::string archive = fiveJournalDays();
    openOn(archive);
    control<QCheckBox>(*window_, "AlsoNotes")->setChecked(true);
    control<QCheckBox>(*window_, "AlsoCalendar")->setChecked(calendar);
    clickExport();
    const std::string folder = palmPath("Datebook-journal");
    const auto written = folderFiles(folder);
    std::string err;
    ASSERT_EQ(runConsole(archive, {"--daily-notes"}, &err), 0) << err;
    EXPECT_EQ(written, folderFiles(consolePath("Datebook-journal")));
    EXPECT_EQ(written.size(), 5U);
    ASSERT_EQ(messages_.size(), 1);
    const std::string message = messages_[0].toStdString();
    const std::string start = kDoneMessage + csvPath() + "\r\n\r\nDaily notes: 5 days in " + folder;
    EXPECT_EQ(message.rfind(start, 0), 0U) << message;
  }
};

TEST_F(NotesExportTest, JournalAlone) { exportWithNotes(false); }
TEST_F(NotesExportTest, JournalAndCalendar) { exportWithNotes(true); }

}  // namespace
}  // namespace vessory::window
