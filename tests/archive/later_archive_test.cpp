// The later desktop layout's reader: the header and its checks, the columns the schema names and
// the records, read field by field; truncation at every length and flipped bytes.

#include "archive/later_archive.h"
#include "archive/later_format.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive_fakes.h"
#include "support/later_desktop_builder.h"

namespace vessory::testing {
namespace {

using archive::ArchiveKind;
using archive::EventRecord;
using archive::LaterArchive;
using archive::LaterHeaderOutcome;
using archive::RecordKind;
using archive::RecordOutcome;
using archive::TodoRecord;

RecordPlan sampleEvent(std::uint32_t id) {
  RecordPlan r = journalRecord("9:15 am: Woke up", 1018137600 + id * 86400);
  r.recordId = id;
  r.status = id == 2 ? 0x04u : 0u;
  r.category = 1;
  r.alarmSet = 1;
  r.alarmAdvanceUnits = 10;
  r.repeatFlag = 0xFFFF;
  r.brand = 2;
  r.daysMask = 0x22;
  r.exceptions = {1018742400};
  return r;
}

LaterPlan withCategory(LaterPlan plan) {
  plan.categories = {CategoryPlan{}};
  return plan;
}

std::string laterDatebook(const LaterPlan& plan, int records = 2) {
  std::vector<LaterRecord> built;
  for (int k = 1; k <= records; ++k) {
    built.push_back(laterEvent(sampleEvent(static_cast<std::uint32_t>(k)), "Room 1", plan));
  }
  return buildLaterFile(plan, built);
}

struct Read {
  ArchiveKind kind = ArchiveKind::kUnknown;
  LaterHeaderOutcome header = LaterHeaderOutcome::kOk;
  std::string refusal;
  std::vector<EventRecord> events;
  std::vector<TodoRecord> todos;
  RecordOutcome last = RecordOutcome::kWhole;
  std::uint64_t trailing = 0;
  std::vector<std::string> messages;
};

Read readLater(const std::string& bytes, RecordKind kind = RecordKind::kDatebook) {
  Read out;
  OpenArchive open(bytes);
  out.kind = archive::readArchiveKind(open.reader);
  LaterArchive later(open.reader, open.messages, kind);
  out.header = later.readHeader();
  out.refusal = later.refusal();
  if (out.header == LaterHeaderOutcome::kOk) {
    EventRecord event;
    TodoRecord todo;
    for (std::int64_t n = 1; n <= later.recordCount(); ++n) {
      out.last = kind == RecordKind::kTodo ? later.readTodo(n, todo) : later.readEvent(n, event);
      if (out.last != RecordOutcome::kWhole) break;
      if (kind == RecordKind::kTodo) out.todos.push_back(todo);
      if (kind == RecordKind::kDatebook) out.events.push_back(event);
    }
    if (out.last == RecordOutcome::kWhole) out.trailing = later.checkEnd();
  }
  out.messages = open.messages.shown;
  return out;
}

TEST(LaterArchiveTest, ReadsTheDateBookColumnsWhereTheSchemaPutsThem) {
  for (const std::array<std::uint32_t, 3>& positions :
       std::vector<std::array<std::uint32_t, 3>>{{0, 2, 4}, {0, 1, 4}, {1, 2, 3}}) {
    LaterPlan plan = withCategory(laterDatebookPlan());
    plan.positions = positions;
    const Read read = readLater(laterDatebook(plan));
    EXPECT_EQ(read.kind, ArchiveKind::kLaterDatebook);
    ASSERT_EQ(read.header, LaterHeaderOutcome::kOk) << read.refusal;
    ASSERT_EQ(read.events.size(), 2u);
    EXPECT_EQ(read.trailing, 0u);
    const EventRecord& e = read.events[1];
    EXPECT_EQ(e.recordId, 2);
    EXPECT_EQ(e.status, 0x04);
    EXPECT_EQ(e.startTime, 1018137600 + 2 * 86400);
    EXPECT_EQ(e.endTime, sampleEvent(2).endTime);
    EXPECT_EQ(e.description, "Daily Journal");
    EXPECT_EQ(e.note, "9:15 am: Woke up");
    EXPECT_EQ(e.category, 1);
    EXPECT_EQ(e.alarmSet, 1);
    EXPECT_EQ(e.alarmAdvanceUnits, 10);
    EXPECT_EQ(e.location, "Room 1");
    EXPECT_TRUE(e.repeat.isRepeating);
    EXPECT_EQ(e.repeat.brand, 2);
    EXPECT_EQ(e.repeat.brandDaysMask, 0x22);
    ASSERT_EQ(e.repeat.exceptionCount, 1);
    EXPECT_EQ(e.repeat.exceptions[0], 1018742400);
    EXPECT_TRUE(read.messages.empty());
  }
}

TEST(LaterArchiveTest, ReadsTheToDoColumnsAndTheirLaterFields) {
  LaterTodoPlan wanted;
  wanted.recordId = 7;
  wanted.status = 0x04;
  wanted.description = "Pay the rent";
  wanted.dueDate = 1083369600;
  wanted.completed = 1;
  wanted.priority = 2;
  wanted.note = "by cheque";
  wanted.repeatAfterCompletion = 1;
  wanted.completionDate = 1083456000;
  wanted.alarmSet = 1;
  wanted.alarmTime = 32400;
  wanted.alarmDaysBefore = 3;
  wanted.repeat.repeatFlag = 0xFFFF;
  wanted.repeat.className = "CDateOfMonth";
  wanted.repeat.brand = 4;
  wanted.repeat.dayNumber = 1;
  const LaterPlan plan = laterTodoPlan();
  const Read read = readLater(buildLaterFile(plan, {laterTodo(wanted, plan)}), RecordKind::kTodo);
  EXPECT_EQ(read.kind, ArchiveKind::kLaterTodo);
  ASSERT_EQ(read.todos.size(), 1u) << read.refusal;
  const TodoRecord& t = read.todos[0];
  EXPECT_EQ(t.recordId, 7);
  EXPECT_TRUE(t.deleted);
  EXPECT_EQ(t.description, "Pay the rent");
  EXPECT_EQ(t.dueMoment, 1083369600);
  EXPECT_TRUE(t.completed);
  EXPECT_EQ(t.priority, 2);
  EXPECT_EQ(t.note, "by cheque");
  EXPECT_TRUE(t.repeatsAfterCompletion);
  EXPECT_EQ(t.completionMoment, 1083456000);
  EXPECT_TRUE(t.alarmSet);
  EXPECT_EQ(t.alarmMoment, 32400);
  EXPECT_EQ(t.alarmDaysBefore, 3);
  EXPECT_TRUE(t.repeat.isRepeating);
  EXPECT_EQ(t.repeat.brand, 4);
  EXPECT_EQ(t.repeat.brandDayNumber, 1);
}

TEST(LaterArchiveTest, TakesWhatTheLayoutAllows) {
  struct Case {
    const char* what;
    std::function<void(LaterPlan&)> change;
  };
  const std::vector<Case> cases = {
      {"24 columns", [](LaterPlan& p) { p.fieldTypes.resize(24); }},
      {"30 columns",
       [](LaterPlan& p) {
         p.fieldTypes.insert(p.fieldTypes.end(), {1, 5, 8});
       }},
      {"times declared integers", [](LaterPlan& p) { p.fieldTypes[13] = p.fieldTypes[14] = 1; }},
      {"unused columns of every known type",
       [](LaterPlan& p) {
         p.fieldTypes[16] = 0;
         p.fieldTypes[24] = 2;
         p.fieldTypes[25] = 7;
         p.fieldTypes[26] = 8;
         p.fieldTypes[11] = 3;
         p.fieldTypes[12] = 6;
       }},
  };
  for (const Case& c : cases) {
    LaterPlan plan = laterDatebookPlan();
    c.change(plan);
    const Read read = readLater(laterDatebook(plan));
    ASSERT_EQ(read.header, LaterHeaderOutcome::kOk) << c.what << ": " << read.refusal;
    ASSERT_EQ(read.events.size(), 2u) << c.what;
    EXPECT_EQ(read.events[0].location, "Room 1") << c.what;
    EXPECT_EQ(read.events[0].startTime, 1018137600 + 86400) << c.what;
    EXPECT_EQ(read.trailing, 0u) << c.what;
  }
  // A column of unknown four bytes may carry another four-byte code in a record.
  for (std::uint32_t code : {1u, 3u, 64u, 66u, 67u}) {
    const LaterPlan plan = laterDatebookPlan();
    LaterRecord record = laterEvent(sampleEvent(1), "", plan);
    record[10].code = code;
    EXPECT_EQ(readLater(buildLaterFile(plan, {record})).events.size(), 1u) << code;
  }
}

TEST(LaterArchiveTest, RefusesEveryHeaderItDoesNotKnowAndSaysWhat) {
  struct Case {
    RecordKind kind;
    std::function<void(LaterPlan&)> change;
    std::string says;
  };
  const std::vector<Case> cases = {
      {RecordKind::kDatebook, [](LaterPlan& p) { p.zeroRuns[0][11] = 1; }, "among the 12 bytes"},
      {RecordKind::kTodo, [](LaterPlan& p) { p.zeroRuns[1][2] = ' '; }, "among the 8 bytes"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.zeroRuns[2][42] = 1; }, "among the 43 bytes"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.categoryCount = 300; }, "lists 300 categories"},
      {RecordKind::kDatebook,
       [](LaterPlan& p) {
         p.categories = {CategoryPlan{}, CategoryPlan{}};
       },
       "category index 1 twice"},
      {RecordKind::kTodo,
       [](LaterPlan& p) {
         p.categories = {CategoryPlan{}, CategoryPlan{.index = 300}};
       },
       "category index 300, outside 0 to 255"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.fieldCount = 26; }, "27 fields per row but 26"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.fieldTypes.resize(23); }, "23 columns"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.fieldTypes.resize(13); }, "13 columns"},
      {RecordKind::kTodo, [](LaterPlan& p) { p.fieldTypes.resize(24); }, "24 columns"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.fieldTypes[8] = 4; }, "column 9 has type 4"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.positions[1] = 27; }, "status column 28 of 27"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.positions[0] = 15; },
       "column 16 (description) as the record id"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.fieldTypes[2] = 5; },
       "status column 3 has type 5"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.positions[2] = 2; }, "one column for two"},
      {RecordKind::kDatebook, [](LaterPlan& p) { p.entryCount = 55; }, "entry count 55"},
  };
  for (const Case& c : cases) {
    LaterPlan plan = c.kind == RecordKind::kTodo ? laterTodoPlan() : laterDatebookPlan();
    plan.categories = {CategoryPlan{}};
    c.change(plan);
    const Read read = readLater(buildLaterFile(plan, {}), c.kind);
    EXPECT_EQ(read.header, LaterHeaderOutcome::kRefused) << c.says;
    EXPECT_NE(read.refusal.find(c.says), std::string::npos) << read.refusal;
    EXPECT_TRUE(read.messages.empty()) << c.says;
  }
  // A difference is refused alone however soon after it the file ends: nothing past it is read,
  // so no notice of the end comes before the refusal.
  LaterPlan plan = laterDatebookPlan();
  plan.zeroRuns[0][0] = 1;
  const std::string bytes = buildLaterFile(plan, {});
  const std::size_t changed = bytes.find(archive::kLaterDatebookTag) + 4;
  for (std::size_t length = changed + 1; length < bytes.size(); ++length) {
    const Read read = readLater(bytes.substr(0, length));
    EXPECT_EQ(read.header, LaterHeaderOutcome::kRefused) << length;
    EXPECT_TRUE(read.messages.empty()) << length << ": " << read.messages.front();
  }
}

TEST(LaterArchiveTest, EveryUsedColumnOfAnotherTypeIsRefusedByNumberNameAndBothTypes) {
  for (RecordKind kind : {RecordKind::kDatebook, RecordKind::kTodo}) {
    const LaterPlan base = kind == RecordKind::kTodo ? laterTodoPlan() : laterDatebookPlan();
    int refused = 0;
    for (std::size_t column = 5; column < base.fieldTypes.size(); ++column) {
      const std::string_view name = archive::laterColumnName(kind, static_cast<int>(column));
      if (name == "unknown") continue;
      LaterPlan plan = base;
      plan.fieldTypes[column] = 7;
      const Read read = readLater(buildLaterFile(plan, {}), kind);
      ASSERT_EQ(read.header, LaterHeaderOutcome::kRefused) << column;
      const std::string says = "column " + std::to_string(column + 1) + " (" + std::string(name) +
                               ") has type 7 (bit flags) where it needs ";
      const std::size_t at = read.refusal.find(says);
      EXPECT_NE(at, std::string::npos) << read.refusal;
      const std::string needed = "type " + std::to_string(base.fieldTypes[column]) + " (";
      EXPECT_NE(read.refusal.find(needed, at), std::string::npos) << read.refusal;
      ++refused;
    }
    EXPECT_EQ(refused, kind == RecordKind::kTodo ? 13 : 12);
  }
  EXPECT_EQ(archive::refusalMessage("/p/x.dat", RecordKind::kDatebook, "WHY"),
            "/p/x.dat: this date book's layout (desktop version 4.1.4 or later) is not one this "
            "tool knows: WHY; nothing was exported");
}

TEST(LaterArchiveTest, AFieldThatDoesNotFitTheSchemaStopsTheReading) {
  const LaterPlan plan = laterDatebookPlan();
  struct Case {
    std::size_t column;
    std::uint32_t code;
    std::string says;
  };
  for (const Case& c : std::vector<Case>{{15, 3, "column 16 (description): type 3 (date)"},
                                         {22, 1, "column 23 (repeat): type 1"},
                                         {24, 3, "column 25: type 3"},
                                         {9, 5, "column 10: type 5"}}) {
    std::vector<LaterRecord> records = {laterEvent(sampleEvent(1), "", plan),
                                        laterEvent(sampleEvent(2), "", plan)};
    records[1][c.column].code = c.code;
    const Read read = readLater(buildLaterFile(plan, records));
    EXPECT_EQ(read.events.size(), 1u) << c.says;
    EXPECT_EQ(read.last, RecordOutcome::kBadField) << c.says;
    ASSERT_EQ(read.messages.size(), 1u) << c.says;
    EXPECT_NE(read.messages[0].find("Record 2 (id 2), " + c.says), std::string::npos)
        << read.messages[0];
  }
}

TEST(LaterArchiveTest, ACutFileEndsWhereItIsCutAndFlippedBytesNeverReadPastTheEnd) {
  LaterPlan plan = withCategory(laterDatebookPlan());
  const std::string whole = laterDatebook(plan, 3);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const Read read = readLater(whole.substr(0, length));
    if (read.kind != ArchiveKind::kLaterDatebook) continue;  // inside the wrapper or the tag
    EXPECT_NE(read.header, LaterHeaderOutcome::kHalted) << length;
    if (read.header == LaterHeaderOutcome::kOk) {
      EXPECT_LT(read.events.size(), 3u) << length;
      EXPECT_EQ(read.last, RecordOutcome::kCutShort) << length;
    } else {
      EXPECT_EQ(read.header, LaterHeaderOutcome::kEndedEarly) << length;
    }
  }
  for (std::size_t at = 0; at < whole.size(); ++at) {
    std::string flipped = whole;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x41);
    const Read read = readLater(flipped);
    EXPECT_LE(read.events.size(), 3u) << at;
  }
}

TEST(LaterArchiveTest, NamesWhatItDoesNotRead) {
  const std::string wrapper("\xBE\xBA\xFE\xCA\x0FPalmSG Database00RV", 24);
  struct Case {
    std::string bytes;
    ArchiveKind kind;
    std::string says;
  };
  const std::vector<Case> cases = {
      {wrapper + std::string("\x00\x02"
                             "BA",
                             4),
       ArchiveKind::kLaterAddress,
       "/u/ADDRESS.DAT is an address book of desktop version 4.1.4 or later, whose layout is not "
       "known well enough to read it. The handheld's own databases hold the same contacts: "
       "export the user folder with --all (it reads the Backup folder), or export the "
       "handheld's AddressDB.pdb or ContactsDB-PAdd.pdb."},
      {wrapper + std::string("\x00\x02"
                             "PM",
                             4),
       ArchiveKind::kLaterMemo, "/u/ADDRESS.DAT is a memo pad of desktop version 4.1.4 or later"},
      {wrapper + std::string("\x00\x02"
                             "XY",
                             4),
       ArchiveKind::kLaterOther, "/u/ADDRESS.DAT is a file of desktop version 4.1.4 or later"},
      {std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20), ArchiveKind::kVersion6,
       "/u/ADDRESS.DAT, the address book, is a database of desktop version 6, which this tool "
       "does not read. In that program, export the date book as a Date Book Archive (.dba) and "
       "export that, or export the handheld's own databases from the Backup folder."},
      {std::string("\x00\x01\x00\x00Standard ACE DB\x00", 20), ArchiveKind::kUnknown, ""},
  };
  for (const Case& c : cases) {
    OpenArchive open(c.bytes + "rest");
    const ArchiveKind kind = archive::readArchiveKind(open.reader);
    EXPECT_EQ(kind, c.kind) << c.says;
    EXPECT_EQ(archive::namedNotRead(kind), !c.says.empty());
    if (!c.says.empty()) {
      EXPECT_TRUE(archive::notReadMessage("/u/ADDRESS.DAT", kind).starts_with(c.says))
          << archive::notReadMessage("/u/ADDRESS.DAT", kind);
    }
  }
  EXPECT_TRUE(archive::notReadMessage("C:\\x\\DateBook.mdb", ArchiveKind::kVersion6)
                  .starts_with("C:\\x\\DateBook.mdb, the date book, is a database"));
  EXPECT_TRUE(archive::notReadMessage("old.mdb", ArchiveKind::kVersion6)
                  .starts_with("old.mdb is a database of desktop version 6"));
}

}  // namespace
}  // namespace vessory::testing
