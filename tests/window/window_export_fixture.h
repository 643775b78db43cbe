// What the whole-export tests of the window share: a home folder with the archive in Palm, the
// window opened on it as a user would, and the console tool run on a copy of the same archive
// for the expected files and messages. Needs the console tool's path (VESSORY_EXPORT_PATH) and
// a POSIX system.

#ifndef VESSORY_TESTS_WINDOW_WINDOW_EXPORT_FIXTURE_H_
#define VESSORY_TESTS_WINDOW_WINDOW_EXPORT_FIXTURE_H_

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/main_window.h"

namespace vessory::window::fixture {

inline constexpr std::uint32_t kDay = 24 * 3600;
inline constexpr std::uint32_t kFirstDay = 1018145000;  // 2002-04-07, a little after 2 am

inline constexpr char kDoneMessage[] =
    "All Done!\r\n\r\nExtracted journals have been placed in:\r\n";

template <typename Control>
Control* control(QWidget& window, const char* name) {
  auto* found = window.findChild<Control*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no control ") + name);
  return found;
}

// The CSV file's lines, each with its CR LF.
std::vector<std::string> csvLines(const std::string& csv);
std::string joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to);

// The console tool's messages: one a line, each ended by a bare LF (they hold CR LF inside).
std::vector<std::string> messageLines(const std::string& err);
QStringList asQt(const std::vector<std::string>& texts);

// A calendar or contacts file without its DTSTAMP lines (the moment of each export), cut into
// the part before the first event, to-do or card, those, and the rest.
struct CalendarParts {
  std::string head;
  std::vector<std::string> events;
  std::string tail;
};
CalendarParts calendarParts(const std::string& ics);
std::string withoutStamps(const std::string& ics);

// The files under `folder` by their paths relative to it, with their contents.
std::map<std::string, std::string> folderFiles(const std::string& folder);

// A handheld memo database of one memo for each text, all unfiled.
std::string handheldMemos(const std::vector<std::string>& texts);

// Five journal days, one entry each, so that every record gives one row.
std::string fiveJournalDays();
// Journals in two names (one with a Latin-1 letter), an appointment, CR LF notes, keywords.
std::string mixedArchive();

class WindowExportTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string palmPath(const char* name) const;
  std::string archivePath() const { return palmPath("Datebook.dat"); }
  std::string csvPath() const { return palmPath("Datebook.csv"); }

  // Writes the archive, opens the window on it and selects it, as a user would.
  void openOn(const std::string& archive) { openOn("Datebook.dat", archive); }
  void openOn(const char* name, const std::string& archive);
  // Clicks the file `name` in the file list.
  void select(const char* name);
  void clickExport();
  // Runs `action` from inside the run, while it processes events after showing `record` for
  // the `time`th time (an export of the journal and the calendar reads every record twice).
  void whileAtRecord(const QString& record, std::function<void()> action, int time = 1);
  QString text(const char* name);

  // Exports a copy of `archive` with the console tool, which must succeed; returns its CSV, and
  // its standard error in `messages` with the copy's folder replaced by the window's.
  std::string consoleExport(const std::string& archive, std::vector<std::string> options,
                            std::string* messages = nullptr);
  // The same for any outcome, with the copy called `name`: returns the tool's exit status.
  int runConsole(const std::string& archive, std::vector<std::string> options,
                 std::string* messages, const char* name = "Datebook.dat");
  // A file the last console run wrote beside its copy of the archive, and that file's path.
  std::string consoleFile(const char* name) const;
  std::string consolePath(const char* name) const;

  QTemporaryDir home_;
  QTemporaryDir elsewhere_;
  QByteArray savedHome_;
  std::unique_ptr<MainWindow> window_;
  QStringList messages_;
  int quits_ = 0;
};

}  // namespace vessory::window::fixture

#endif  // VESSORY_TESTS_WINDOW_WINDOW_EXPORT_FIXTURE_H_
