// The runs given files of the later desktop layout: the same records give what their classic
// twin gives (the journal byte for byte, the calendar and to-dos line for line, the later
// properties aside), and what is not read is refused with nothing written.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "export/calendar_run.h"
#include "export/export_run.h"
#include "export/export_view.h"
#include "export/organiser_run.h"
#include "support/fake_export.h"
#include "support/later_desktop_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

// Where the fake view says the archive is.
const std::string kPath = RecordingView().inputPath();
constexpr char kStoredName[] = "C:\\Palm\\User\\datebook\\datebook.dat";

std::vector<RecordPlan> twinRecords() {
  RecordPlan journal =
      journalRecord("8:00 am: Up <early>\r\n9:15 am: Breakfast", utcSeconds({2004, 3, 1}, 12));
  journal.recordId = 11;
  journal.category = 1;
  RecordPlan weekly;
  weekly.recordId = 12;
  weekly.description = "Team";
  weekly.note = "";
  weekly.startTime = utcSeconds({2004, 3, 2}, 9);
  weekly.endTime = weekly.startTime + 1800;
  weekly.repeatFlag = 0xFFFF;
  weekly.brand = 2;
  weekly.daysMask = 0x0A;
  weekly.exceptions = {utcSeconds({2004, 3, 9}, 9)};
  weekly.alarmSet = 1;
  weekly.alarmAdvanceUnits = 2;
  weekly.alarmAdvanceType = 1;
  RecordPlan deleted = journalRecord("7:00 pm: gone", utcSeconds({2004, 3, 3}, 12));
  deleted.recordId = 13;
  deleted.status = 0x04;
  RecordPlan allDay;
  allDay.recordId = 14;
  allDay.untimed = 1;
  allDay.description = std::string(300, 'd');
  return {journal, weekly, deleted, allDay};
}

const std::vector<std::string> kLocations = {"Caf\xE9, upstairs", "", "Hall 3", "Line 1\r\nLine 2"};

std::string classicTwin() {
  HeaderPlan header;
  header.fileName = kStoredName;
  header.categories = {CategoryPlan{}};
  return ArchiveBuilder().archive(twinRecords(), header).bytes();
}

std::string laterFile(LaterPlan plan = laterDatebookPlan()) {
  plan.fileName = kStoredName;
  plan.categories = {CategoryPlan{}};
  std::vector<LaterRecord> records;
  const std::vector<RecordPlan> twins = twinRecords();
  for (std::size_t k = 0; k < twins.size(); ++k)
    records.push_back(laterEvent(twins[k], kLocations[k], plan));
  return buildLaterFile(plan, records);
}

// A stray group before the first category's name ("Business"): the reader tells of it and reads
// on, so that a header refused after it has been seen by two rules.
std::string withStrayGroup(std::string bytes) {
  const std::size_t at = bytes.find("\x08"
                                    "Business");
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) bytes.insert(at, std::string("\xFF\x00\x00\x00\x00", 5));
  return bytes;
}

struct JournalRun {
  ExportOutcome outcome = ExportOutcome::kAlreadyRunning;
  std::vector<std::string> messages;
  MemoryFiles files;
};

JournalRun journalOf(const std::string& bytes) {
  JournalRun out;
  out.files.archives[kPath] = bytes;
  RecordingView view;
  exporting::ExportRun run(out.files);
  out.outcome = run.run(view);
  out.messages = view.messages;
  return out;
}

std::string withoutLines(const std::string& text, const std::string& name) {
  std::istringstream in(text);
  std::string line, kept;
  bool skipping = false;
  while (std::getline(in, line)) {
    if (skipping && line.starts_with(" ")) continue;
    skipping = line.starts_with(name);
    if (!skipping) kept += line + "\n";
  }
  return kept;
}

TEST(LaterExportTest, TheLaterDateBookGivesItsClassicTwinsJournalAndCalendar) {
  const std::vector<std::uint16_t> all = laterDatebookTypes();
  for (const std::vector<std::uint16_t>& types :
       {all, std::vector<std::uint16_t>(all.begin(), all.begin() + 24)}) {
    LaterPlan plan = laterDatebookPlan();
    plan.fieldTypes = types;
    plan.fieldTypes[13] = 1;  // a start time declared an integer
    const JournalRun classic = journalOf(classicTwin());
    const JournalRun later = journalOf(laterFile(plan));
    ASSERT_EQ(classic.outcome, ExportOutcome::kComplete);
    EXPECT_EQ(later.outcome, ExportOutcome::kComplete);
    const std::string csv = kPath.substr(0, kPath.size() - 4) + ".csv";
    EXPECT_FALSE(classic.files.csv(csv).empty());
    EXPECT_EQ(later.files.csv(csv), classic.files.csv(csv));
    EXPECT_EQ(later.messages, classic.messages);

    exporting::CalendarSettings settings = testSettings("Europe/Berlin");
    settings.includeDeleted = true;
    const CalendarExport a = exportCalendar(classicTwin(), settings);
    const CalendarExport b = exportCalendar(laterFile(plan), settings);
    ASSERT_EQ(b.outcome, ExportOutcome::kComplete) << b.messages.back();
    EXPECT_EQ(withoutLines(b.text, "LOCATION"), a.text);
    EXPECT_NE(b.text.find("LOCATION:Caf\xC3\xA9\\, upstairs\r\n"), std::string::npos);
    EXPECT_NE(b.text.find("LOCATION:Line 1\\nLine 2\r\n"), std::string::npos);
    EXPECT_NE(b.text.find("LOCATION:Hall 3\r\n"), std::string::npos);
    // None for the empty location.
    std::size_t locations = 0;
    for (std::size_t at = b.text.find("LOCATION:"); at != std::string::npos;
         at = b.text.find("LOCATION:", at + 1)) {
      ++locations;
    }
    EXPECT_EQ(locations, 3u);
  }
}

// A later date book cut or halted in its last record ends the journal and the calendar alike.
TEST(LaterExportTest, TheLaterDateBookEndsAsItsFileDoesInBothRuns) {
  const std::string whole = laterFile();
  std::string halted = whole;
  const std::string last = kLocations.back();
  halted.replace(halted.find(last) - 1, last.size() + 1,
                 ArchiveBuilder().sequencingError().bytes());
  const std::pair<std::string, ExportOutcome> cases[] = {
      {whole.substr(0, whole.size() - 3), ExportOutcome::kEndedEarly},
      {halted, ExportOutcome::kSequencingError},
  };
  for (const auto& [bytes, outcome] : cases) {
    EXPECT_EQ(journalOf(bytes).outcome, outcome);
    EXPECT_EQ(exportCalendar(bytes, testSettings("UTC")).outcome, outcome);
  }
}

TEST(LaterExportTest, ARefusedLayoutOrAFileNamedNotReadWritesNothingInEveryRun) {
  LaterPlan wrongType = laterDatebookPlan();
  wrongType.fieldTypes[15] = 3;
  LaterPlan fewColumns = laterDatebookPlan();
  fewColumns.fieldTypes.resize(23);
  const std::string wrapper("\xBE\xBA\xFE\xCA\x0FPalmSG Database00RV", 24);
  struct Case {
    std::string bytes;
    std::string says;
  };
  const std::vector<Case> cases = {
      {laterFile(wrongType), "column 16 (description) has type 3 (date) where it needs type 5"},
      {laterFile(fewColumns), "23 columns where a date book has at least 24"},
      {withStrayGroup(laterFile(wrongType)), "column 16 (description) has type 3"},
      {wrapper + std::string("\x00\x02"
                             "BA",
                             4),
       "is an address book of desktop version 4.1.4"},
      {std::string("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21),
       ", the date book, is a database of desktop version 6"},
  };
  for (const Case& c : cases) {
    const JournalRun journal = journalOf(c.bytes);
    EXPECT_EQ(journal.outcome, ExportOutcome::kNotDatebook) << c.says;
    ASSERT_EQ(journal.messages.size(), 1u) << c.says;
    EXPECT_TRUE(journal.messages[0].starts_with(kPath)) << journal.messages[0];
    EXPECT_NE(journal.messages[0].find(c.says), std::string::npos) << journal.messages[0];
    EXPECT_TRUE(journal.files.outputPaths().empty());
    const CalendarExport calendar = exportCalendar(c.bytes, testSettings());
    EXPECT_EQ(calendar.outcome, ExportOutcome::kNotDatebook);
    EXPECT_TRUE(calendar.text.empty());
    ASSERT_EQ(calendar.messages.size(), 1u);
    EXPECT_NE(calendar.messages[0].find(c.says), std::string::npos);
  }
}

struct TodoRun {
  ExportOutcome outcome = ExportOutcome::kAlreadyRunning;
  std::vector<std::string> messages;
  std::string text;
  bool wroteNothing = false;
};

// The archive as the run names it, with this platform's separator.
const std::string kTodoPath = exporting::joinPath("/p", "ToDo.dat");

TodoRun todosOf(const std::string& bytes, const std::string& zone = "America/New_York") {
  MemoryFiles files;
  files.archives[kTodoPath] = bytes;
  RecordingView view;
  view.folder = "/p";
  view.fileName = "ToDo.dat";
  exporting::OrganiserSettings settings;
  settings.zoneName = zone;
  settings.stampTime = 1700000000;
  exporting::OrganiserRun run(files, settings);
  TodoRun out;
  out.outcome = run.run(view);
  out.messages = view.messages;
  out.text = files.csv(exporting::joinPath("/p", "ToDo.ics"));
  out.wroteNothing = files.outputPaths().empty();
  return out;
}

std::vector<LaterTodoPlan> laterTodos() {
  LaterTodoPlan done;
  done.recordId = 21;
  done.description = "Pay";
  done.note = "by cheque";
  done.dueDate = utcSeconds({2004, 5, 10}, 4);  // local midnight in New York
  done.completed = 1;
  done.completionDate = utcSeconds({2004, 5, 9}, 20);
  done.alarmSet = 1;
  done.alarmTime = utcSeconds({1971, 1, 1}, 14, 30);  // 9:30 in New York
  done.alarmDaysBefore = 2;
  LaterTodoPlan repeating;
  repeating.recordId = 22;
  repeating.description = "Water";
  repeating.dueDate = utcSeconds({2004, 3, 1}, 5);
  repeating.repeatAfterCompletion = 1;
  repeating.repeat.repeatFlag = 0xFFFF;
  repeating.repeat.brand = 1;
  repeating.repeat.interval = 3;
  LaterTodoPlan open;
  open.recordId = 23;
  open.description = "Nothing due";
  open.alarmSet = 1;
  open.alarmTime = utcSeconds({1971, 1, 1}, 14, 30);
  open.alarmDaysBefore = 0;
  open.completionDate = utcSeconds({2004, 5, 9}, 20);  // not done: no COMPLETED
  return {done, repeating, open};
}

TEST(LaterExportTest, TheLaterToDoListGivesTheClassicVtodosAndItsOwnProperties) {
  const LaterPlan plan = laterTodoPlan();
  std::vector<LaterRecord> records;
  std::vector<TodoPlan> classic;
  for (const LaterTodoPlan& wanted : laterTodos()) {
    records.push_back(laterTodo(wanted, plan));
    classic.push_back(wanted);
  }
  OrganiserArchivePlan twin;
  twin.fileName = plan.fileName;
  const TodoRun a = todosOf(buildTodoArchive(twin, classic));
  const TodoRun b = todosOf(buildLaterFile(plan, records));
  ASSERT_EQ(a.outcome, ExportOutcome::kComplete);
  ASSERT_EQ(b.outcome, ExportOutcome::kComplete) << b.messages.back();
  EXPECT_EQ(b.messages, a.messages);
  std::string rest = b.text;
  for (const char* name : {"COMPLETED", "DTSTART", "RRULE", "BEGIN:VALARM", "ACTION", "TRIGGER",
                           "DESCRIPTION:Pay", "END:VALARM"}) {
    rest = withoutLines(rest, name);
  }
  const std::string line = "DESCRIPTION:Repeats after it is completed\r\n";
  ASSERT_NE(rest.find(line), std::string::npos) << b.text;
  rest.erase(rest.find(line), line.size());
  EXPECT_EQ(rest, withoutLines(a.text, "X-"));  // the same lines, the later ones aside
  EXPECT_NE(b.text.find("COMPLETED:20040509T120000Z\r\n"), std::string::npos) << b.text;
  EXPECT_EQ(b.text.find("COMPLETED:", b.text.find("UID:todo-23")), std::string::npos);
  EXPECT_NE(b.text.find("TRIGGER;RELATED=END:-P1DT14H30M\r\n"), std::string::npos) << b.text;
  EXPECT_NE(b.text.find("DTSTART;VALUE=DATE:20040301\r\nRRULE:FREQ=DAILY;INTERVAL=3\r\n"),
            std::string::npos)
      << b.text;
  EXPECT_EQ(b.text.find("BEGIN:VALARM", b.text.find("UID:todo-23")), std::string::npos);
}

TEST(LaterExportTest, TheLaterToDoRunEndsAsItsFileDoes) {
  const LaterPlan plan = laterTodoPlan();
  std::vector<LaterRecord> records;
  for (const LaterTodoPlan& wanted : laterTodos()) records.push_back(laterTodo(wanted, plan));
  const std::string whole = buildLaterFile(plan, records);
  // A sequencing error where a text (with its length) stands.
  const auto halted = [&](const std::string& text) {
    std::string bytes = whole;
    return bytes.replace(bytes.find(text) - 1, text.size() + 1,
                         ArchiveBuilder().sequencingError().bytes());
  };
  const struct {
    const char* name;
    std::string bytes;
    ExportOutcome outcome;
    std::string told;  // a message shown
  } cases[] = {
      {"halted in the header", halted(plan.fileName), ExportOutcome::kSequencingError,
       "No record could be read: nothing was exported."},
      {"halted in the last record", halted("Nothing due"), ExportOutcome::kSequencingError,
       "The records read before that point have been kept."},
      {"cut in the header", whole.substr(0, 60), ExportOutcome::kNothingRead,
       "The to-do list archive ends inside its header"},
      {"cut in the last record", whole.substr(0, whole.size() - 3), ExportOutcome::kEndedEarly,
       "Just read char past EOF"},
      {"bytes after the last record", whole + "xyz", ExportOutcome::kDataAfterEnd,
       "3 bytes follow the last of the 3 records the header announces"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TodoRun run = todosOf(c.bytes);
    EXPECT_EQ(run.outcome, c.outcome);
    EXPECT_EQ(std::count_if(run.messages.begin(), run.messages.end(),
                            [&](const std::string& m) { return m.starts_with(c.told); }),
              1)
        << ::testing::PrintToString(run.messages);
  }
}

TEST(LaterExportTest, TheToDoRunRefusesALaterLayoutItDoesNotKnowAndNamesTheOthers) {
  LaterPlan wrong = laterTodoPlan();
  wrong.fieldTypes[24] = 5;
  LaterPlan zeros = laterTodoPlan();
  zeros.zeroRuns[1][0] = 1;
  LaterPlan categorised = wrong;
  categorised.categories = {CategoryPlan{}};
  const std::string wrapper("\xBE\xBA\xFE\xCA\x0FPalmSG Database00RV", 24);
  for (const auto& [bytes, says] : std::vector<std::pair<std::string, std::string>>{
           {buildLaterFile(wrong, {}),
            "column 25 (repeat) has type 5 (string) where it needs type 8"},
           {buildLaterFile(zeros, {}), "among the 8 bytes"},
           {withStrayGroup(buildLaterFile(categorised, {})), "column 25 (repeat) has type 5"},
           {wrapper + std::string("\x00\x02"
                                  "PM",
                                  4),
            kTodoPath + " is a memo pad of desktop version 4.1.4"},
           {std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20),
            kTodoPath + ", the to-do list, is a database"}}) {
    const TodoRun run = todosOf(bytes);
    EXPECT_EQ(run.outcome, ExportOutcome::kLaterVersion) << says;
    EXPECT_TRUE(run.wroteNothing);
    ASSERT_EQ(run.messages.size(), 1u) << says;
    EXPECT_NE(run.messages[0].find(says), std::string::npos) << run.messages[0];
  }
}

}  // namespace
}  // namespace vessory::testing
