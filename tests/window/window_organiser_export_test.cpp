// Address books, to-do lists and memo pads through the window: what Export writes beside the
// selected file (compared with what the console tool writes for the same file), the journal's
// options while such a file is selected, and the end of the program part-way.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "support/archive_builder.h"
#include "support/handheld_builder.h"
#include "support/organiser_builder.h"
#include "window/location_lists.h"
#include "window_export_fixture.h"

namespace vessory::window {
namespace {

using namespace fixture;
using vessory::testing::buildAddressArchive;
using vessory::testing::buildMemoArchive;
using vessory::testing::buildTodoArchive;
using vessory::testing::ContactPlan;
using vessory::testing::MemoPlan;
using vessory::testing::TodoPlan;

constexpr std::uint32_t kDeletedOnTheDesktop = 0x04;

std::string contacts(int count, bool withDeleted) {
  std::vector<ContactPlan> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    records[i].recordId = static_cast<std::uint32_t>(i + 1);
    records[i].lastName = "Person " + std::to_string(i + 1);
    records[i].firstName = "Anna";
    records[i].company = "M\xFCller GmbH";
  }
  records[0].isPrivate = 1;
  if (withDeleted && count > 1) records[1].status = kDeletedOnTheDesktop;
  return buildAddressArchive({}, records);
}

std::string todos(int count) {
  std::vector<TodoPlan> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    records[i].recordId = static_cast<std::uint32_t>(i + 1);
    records[i].description = "Task " + std::to_string(i + 1);
    records[i].priority = static_cast<std::uint32_t>(i % 5 + 1);
  }
  records[0].completed = 1;
  if (count > 1) records[1].dueDate = kFirstDay;
  return buildTodoArchive({}, records);
}

std::vector<std::string> memoTexts(int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    texts.push_back("Memo " + std::to_string(i + 1) + "\r\nCaf\xE9 at nine");
  }
  return texts;
}

std::string memos(int count) {
  std::vector<MemoPlan> records;
  for (const std::string& text : memoTexts(count)) {
    records.emplace_back();
    records.back().recordId = static_cast<std::uint32_t>(records.size());
    records.back().text = text;
  }
  return buildMemoArchive({}, records);
}

struct OrganiserCase {
  const char* name;
  const char* file;  // as saved in the folder shown
  std::string bytes;
  const char* output;  // beside it: a file, or the memos' folder
  const char* head;    // what the output starts with (a folder: its first file's path)
};

void PrintTo(const OrganiserCase& c, std::ostream* out) { *out << c.name; }

// The output at `path` as the comparison sees it, cut into what surrounds the records and one
// part for each record: a file without its DTSTAMP lines, or a folder's files in name order,
// each as its path, a line feed and its content.
CalendarParts outputParts(const std::string& path) {
  if (!QFileInfo(QString::fromStdString(path)).isDir()) {
    return calendarParts(vessory::testing::readFile(path).value_or("<no output>"));
  }
  CalendarParts parts;
  for (const auto& [name, content] : folderFiles(path)) {
    parts.events.push_back(name + "\n" + content);
  }
  return parts;
}

std::string joinedParts(const CalendarParts& parts, std::size_t records) {
  std::string text = parts.head;
  for (std::size_t i = 0; i < records && i < parts.events.size(); ++i) text += parts.events[i];
  return text + parts.tail;
}

class OrganiserExportTest : public WindowExportTest,
                            public ::testing::WithParamInterface<OrganiserCase> {};

TEST_P(OrganiserExportTest, WritesWhatTheConsoleToolWritesBesideTheFileAndEnds) {
  const OrganiserCase& c = GetParam();
  openOn(c.file, c.bytes);
  // Checked, but greyed out and not read for this file.
  control<QCheckBox>(*window_, "AlsoCalendar")->setChecked(true);
  clickExport();

  std::string err;
  EXPECT_EQ(runConsole(c.bytes, {}, &err, c.file), 0) << err;
  const CalendarParts written = outputParts(palmPath(c.output));
  const CalendarParts expected = outputParts(consolePath(c.output));
  EXPECT_EQ(joinedParts(written, 99), joinedParts(expected, 99));
  EXPECT_EQ(joinedParts(written, 99).rfind(c.head, 0), 0u) << joinedParts(written, 99);
  EXPECT_FALSE(written.events.empty());
  EXPECT_EQ(messages_, asQt(messageLines(err)));
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("All Done!")) << messages_[0].toStdString();
  // Only the output beside the file: no journal CSV, no calendar.
  for (const auto& [name, content] : folderFiles(palmPath(""))) {
    if (name != c.file) {
      EXPECT_EQ(name.rfind(std::string(c.output), 0), 0u) << name;
    }
  }
  EXPECT_EQ(quits_, 1);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->exportRunning());
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, OrganiserExportTest,
    ::testing::Values(OrganiserCase{"Contacts", "Address.dat", contacts(3, true), "Address.vcf",
                                    "BEGIN:VCARD\r\n"},
                      OrganiserCase{"ContactsInAFileOfAnotherName", "Datebook.dat",
                                    contacts(2, false), "Datebook.vcf", "BEGIN:VCARD\r\n"},
                      OrganiserCase{"ToDosOfAnArchiveFile", "ToDo.tda", todos(3),
                                    "ToDo-archive.ics", "BEGIN:VCALENDAR\r\n"},
                      OrganiserCase{"Memos", "MemoPad.dat", memos(3), "MemoPad",
                                    "Unfiled/Memo 1.txt\nMemo 1"},
                      OrganiserCase{"HandheldMemos", "MemoDB.pdb", handheldMemos(memoTexts(2)),
                                    "MemoDB", "Unfiled/Memo 1.txt\nMemo 1"}),
    [](const ::testing::TestParamInfo<OrganiserCase>& info) { return info.param.name; });

// Ending the program part-way, by Exit or by closing the window, keeps the records written
// whole: cards, a calendar closed after the last to-do, memo files.
class OrganiserEndDuringRunTest
    : public WindowExportTest,
      public ::testing::WithParamInterface<std::tuple<OrganiserCase, bool>> {};

TEST_P(OrganiserEndDuringRunTest, KeepsWholeRecordsOnly) {
  const auto& [c, byExit] = GetParam();
  openOn(c.file, c.bytes);
  whileAtRecord("3", [this, byExit = byExit] {
    if (byExit) {
      QTest::mouseClick(control<QPushButton>(*window_, "Exit"), Qt::LeftButton);
    } else {
      window_->close();
    }
  });
  clickExport();

  runConsole(c.bytes, {}, nullptr, c.file);
  const CalendarParts all = outputParts(consolePath(c.output));
  ASSERT_EQ(all.events.size(), 5u);
  EXPECT_EQ(joinedParts(outputParts(palmPath(c.output)), 99), joinedParts(all, 2));
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(quits_, 1);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->exportRunning());
  EXPECT_EQ(text("ThisRecord"), "3");
}

INSTANTIATE_TEST_SUITE_P(
    EachKindByExitOrClose, OrganiserEndDuringRunTest,
    ::testing::Combine(
        ::testing::Values(OrganiserCase{"Contacts", "Address.dat", contacts(5, false),
                                        "Address.vcf", ""},
                          OrganiserCase{"ToDos", "ToDo.dat", todos(5), "ToDo.ics", ""},
                          OrganiserCase{"Memos", "MemoPad.dat", memos(5), "MemoPad", ""}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<OrganiserCase, bool>>& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) ? "ByExit" : "ByClosingTheWindow");
    });

// The options only the journal reads, with their captions.
constexpr const char* kJournalOnly[] = {"Label3",   "Keywords", "Label6",          "HoursBias",
                                        "WordWrap", "Label4",   "CMBJournalNames", "AlsoCalendar"};
constexpr const char* kAlwaysEnabled[] = {"File1", "ReadDate", "Exit", "Help", "CHK_Description"};

TEST_F(WindowExportTest, JournalOptionsAreDisabledWhileTheFileHoldsContactsToDosOrMemos) {
  const std::pair<const char*, std::string> files[] = {
      {"Address.dat", contacts(1, false)},  {"ToDo.tda", todos(1)},
      {"MemoDB.pdb", handheldMemos({"x"})}, {"Diary.dat", memos(1)},
      {"Address.aba", fiveJournalDays()},   {"notes.txt", "plain text"}};
  for (const auto& [name, bytes] : files) vessory::testing::writeFile(palmPath(name), bytes);
  openOn(fiveJournalDays());

  // Back and forth between the kinds; the name never decides.
  const std::pair<const char*, bool> selections[] = {
      {"Address.dat", true}, {"Datebook.dat", false}, {"ToDo.tda", true}, {"notes.txt", false},
      {"MemoDB.pdb", true},  {"Address.aba", false},  {"Diary.dat", true}};
  for (const auto& [name, organiser] : selections) {
    select(name);
    for (const char* option : kJournalOnly) {
      EXPECT_EQ(control<QWidget>(*window_, option)->isEnabled(), !organiser) << name << option;
    }
    for (const char* other : kAlwaysEnabled) {
      EXPECT_TRUE(control<QWidget>(*window_, other)->isEnabled()) << name << other;
    }
  }
  control<FileList>(*window_, "File1")->clearSelection();
  for (const char* option : kJournalOnly) {
    EXPECT_TRUE(control<QWidget>(*window_, option)->isEnabled()) << option;
  }
}

// A handheld date book with one journal entry at 02:00 on 20 February 2021, its own clock's time.
std::string handheldJournal() {
  vessory::testing::EventPlan entry;
  entry.description = "Daily Journal";
  entry.note = "2:00 am: Up early";
  entry.start = 0x0200;
  entry.end = 0x0300;
  entry.date = vessory::testing::packDate(2021, 2, 20);
  vessory::testing::PdbPlan plan;
  plan.appInfo = vessory::testing::categoryAppInfo({"Unfiled"}, 280);
  plan.records.push_back({vessory::testing::eventRecord(entry), 0x40, 1, {}});
  const vessory::testing::PdbBytes bytes = vessory::testing::buildPdb(plan);
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(WindowExportTest, AHandheldDateBookShowsNoBiasUntilTheUserGivesOne) {
  vessory::testing::writeFile(palmPath("DatebookDB.pdb"), handheldJournal());
  openOn(fiveJournalDays());
  auto* bias = control<QLineEdit>(*window_, "HoursBias");
  ASSERT_EQ(bias->text(), "-4");
  // Back and forth: 0 for the handheld's own times, the box's text again for the desktop's.
  const std::pair<const char*, const char*> selections[] = {
      {"DatebookDB.pdb", "0"}, {"Datebook.dat", "-4"}, {"DatebookDB.pdb", "0"}};
  for (const auto& [name, shown] : selections) {
    select(name);
    EXPECT_EQ(bias->text(), shown) << name;
    EXPECT_TRUE(bias->isEnabled()) << name;
  }
  // A bias the user types for the handheld stays when the selection moves on.
  bias->setText("2");
  select("Datebook.dat");
  EXPECT_EQ(bias->text(), "2");
  select("DatebookDB.pdb");
  bias->setText("0");
  control<QPushButton>(*window_, "ReadDate")->click();
  const std::optional<std::string> csv = vessory::testing::readFile(palmPath("DatebookDB.csv"));
  ASSERT_TRUE(csv.has_value());
  EXPECT_NE(csv->find("2/20/2021"), std::string::npos) << *csv;
}

}  // namespace
}  // namespace vessory::window

namespace vessory::window {
namespace {

// A handheld to-do list with three records whose due date names no day, then a good one.
std::string damagedHandheldTodos() {
  vessory::testing::PdbPlan plan;
  plan.name = "ToDoDB";
  plan.creator = "todo";
  plan.appInfo = vessory::testing::categoryAppInfo({"Unfiled"}, 282);
  for (std::uint32_t id = 1; id <= 4; ++id) {
    const std::uint16_t due = vessory::testing::packDate(2021, id < 4 ? 13 : 3, 1);
    plan.records.push_back({vessory::testing::todoRecord(due, 1, "Task", ""), 0x40, id, {}});
  }
  const vessory::testing::PdbBytes bytes = vessory::testing::buildPdb(plan);
  return std::string(bytes.begin(), bytes.end());
}

// One box for the whole run: the records' messages, one line per kind (its first message as
// the console gives it, then the other records of that kind), above the run's own message,
// where the console gives a line each.
TEST_F(WindowExportTest, DamagedHandheldRecordsGoIntoOneBoxAboveTheFinalMessage) {
  const std::string bytes = damagedHandheldTodos();
  openOn("ToDoDB.pdb", bytes);
  clickExport();
  std::string err;
  runConsole(bytes, {}, &err, "ToDoDB.pdb");
  const std::vector<std::string> lines = messageLines(err);
  ASSERT_EQ(lines.size(), 4u) << err;
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0].toStdString(),
            "3 messages on single records, by kind:\r\n" + lines[0] +
                " Likewise Record 2 (unique id 2); Record 3 (unique id 3).\r\n\r\n" + lines.back());
  EXPECT_EQ(quits_, 1);
}

}  // namespace
}  // namespace vessory::window
