// The later desktop layout's reader on damage: numbers below zero, words before a
// text that are not zero, sequencing errors in the header and in a record (the classic memo pad's
// too), a to-do list cut at every length or with a byte flipped, and bytes after the last record.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/later_archive.h"
#include "organiser_fixtures.h"
#include "support/later_desktop_builder.h"

namespace vessory::testing {
namespace {

using archive::LaterArchive;
using archive::LaterHeaderOutcome;
using archive::RecordKind;
using archive::RecordOutcome;

struct Read {
  LaterHeaderOutcome header = LaterHeaderOutcome::kOk;
  std::string refusal;
  int records = 0;
  RecordOutcome last = RecordOutcome::kWhole;
  std::uint64_t trailing = 0;
  std::vector<std::string> messages;
  archive::TodoRecord todo;
};

Read readLater(const std::string& bytes, RecordKind kind) {
  Read out;
  OpenArchive open(bytes);
  archive::readArchiveKind(open.reader);
  LaterArchive later(open.reader, open.messages, kind);
  out.header = later.readHeader();
  out.refusal = later.refusal();
  archive::EventRecord event;
  for (std::int64_t n = 1; out.header == LaterHeaderOutcome::kOk && n <= later.recordCount(); ++n) {
    out.last = kind == RecordKind::kTodo ? later.readTodo(n, out.todo) : later.readEvent(n, event);
    if (out.last != RecordOutcome::kWhole) break;
    ++out.records;
  }
  if (out.header == LaterHeaderOutcome::kOk && out.last == RecordOutcome::kWhole) {
    out.trailing = later.checkEnd();
  }
  out.messages = open.messages.shown;
  return out;
}

LaterPlan planOf(RecordKind kind) {
  return kind == RecordKind::kTodo ? laterTodoPlan() : laterDatebookPlan();
}

std::vector<LaterRecord> recordsOf(RecordKind kind, const LaterPlan& plan, int count) {
  std::vector<LaterRecord> records;
  for (int k = 1; k <= count; ++k) {
    LaterTodoPlan todo;
    todo.recordId = static_cast<std::uint32_t>(k);
    todo.description = "Call " + std::to_string(k);
    todo.note = "Note " + std::to_string(k);
    RecordPlan event = journalRecord("Note " + std::to_string(k));
    event.recordId = static_cast<std::uint32_t>(k);
    records.push_back(kind == RecordKind::kTodo ? laterTodo(todo, plan)
                                                : laterEvent(event, "Hall", plan));
  }
  return records;
}

constexpr std::uint32_t kAllOnes = 0xFFFFFFFF;  // read as -1

TEST(LaterDamageTest, NumbersBelowZeroAreRefusedByWhatTheyCount) {
  struct Case {
    std::function<void(LaterPlan&)> change;
    std::string says;
  };
  const std::vector<Case> cases = {
      {[](LaterPlan& p) { p.categoryCount = kAllOnes; }, "lists -1 categories"},
      {[](LaterPlan& p) { p.categories = {CategoryPlan{.index = kAllOnes}}; },
       "category index -1, outside"},
      {[](LaterPlan& p) { p.positions[0] = kAllOnes; }, "names the record id column 0 of"},
      {[](LaterPlan& p) { p.positions[2] = kAllOnes; }, "names the placement column 0 of"},
      {[](LaterPlan& p) { p.entryCount = kAllOnes; }, "its entry count -1 is no whole number"},
      {[](LaterPlan& p) { p.positions = {2, 2, 4}; }, "one column for two"},
      {[](LaterPlan& p) { p.positions = {4, 2, 4}; }, "one column for two"},
      {[](LaterPlan& p) { p.fieldTypes[30 % p.fieldTypes.size()] = 9; }, "(of no known size)"},
  };
  for (RecordKind kind : {RecordKind::kDatebook, RecordKind::kTodo}) {
    for (const Case& c : cases) {
      LaterPlan plan = planOf(kind);
      c.change(plan);
      const Read read = readLater(buildLaterFile(plan, {}), kind);
      EXPECT_EQ(read.header, LaterHeaderOutcome::kRefused) << c.says;
      EXPECT_NE(read.refusal.find(c.says), std::string::npos) << read.refusal;
    }
  }
}

TEST(LaterDamageTest, AWordBeforeATextThatIsNotZeroIsReportedAndTheTextRead) {
  struct Case {
    RecordKind kind;
    std::size_t column;
    std::string says;
  };
  for (const Case& c : std::vector<Case>{
           {RecordKind::kDatebook, 23, "At Record 2 The Always zero byte was not zero"},
           {RecordKind::kTodo, 13,
            "Record 2 (id 2), column 14 (description): the word before the text is 7, not 0"}}) {
    const LaterPlan plan = planOf(c.kind);
    std::vector<LaterRecord> records = recordsOf(c.kind, plan, 2);
    records[1][c.column] = laterText("Moved", 7);
    const Read read = readLater(buildLaterFile(plan, records), c.kind);
    EXPECT_EQ(read.records, 2) << c.says;
    EXPECT_EQ(read.messages, std::vector<std::string>{c.says});
    if (c.kind == RecordKind::kTodo) {
      EXPECT_EQ(read.todo.description, "Moved");
    }
  }
}

// `bytes` with the short text `text` (its length byte and its characters) made a sequencing error.
std::string halting(std::string bytes, const std::string& text) {
  const std::size_t at = bytes.find(text);
  EXPECT_NE(at, std::string::npos) << text;
  return bytes.replace(at - 1, text.size() + 1, ArchiveBuilder().sequencingError().bytes());
}

TEST(LaterDamageTest, ASequencingErrorHaltsTheHeaderOrTheRecord) {
  for (RecordKind kind : {RecordKind::kDatebook, RecordKind::kTodo}) {
    LaterPlan plan = planOf(kind);
    plan.categories = {CategoryPlan{.longName = "Errands"}};
    const std::string bytes = buildLaterFile(plan, recordsOf(kind, plan, 2));
    for (const std::string& text : {plan.fileName, std::string("Errands")}) {
      EXPECT_EQ(readLater(halting(bytes, text), kind).header, LaterHeaderOutcome::kHalted) << text;
    }
    const Read read = readLater(halting(bytes, "Note 2"), kind);
    EXPECT_EQ(read.records, 1);
    EXPECT_EQ(read.last, RecordOutcome::kHalted);
    EXPECT_EQ(read.messages.back(), "sequencing error");
  }
}

TEST(LaterDamageTest, ASequencingErrorHaltsTheClassicMemoPadToo) {
  OrganiserArchivePlan plan;
  plan.fileName = "C:\\Palm\\memo.dat";
  plan.categories = {CategoryPlan{.longName = "Errands"}};
  plan.trailing = std::string(5000, 'x');  // more than one block
  std::vector<MemoPlan> memos = someMemos();
  memos[1].text = "Memo 2";
  const std::string bytes = buildMemoArchive(plan, memos);
  EXPECT_EQ(readAll<MemoRecord>(bytes).trailing, plan.trailing.size());
  for (const std::string& text : {plan.fileName, std::string("Errands")}) {
    EXPECT_EQ(readAll<MemoRecord>(halting(bytes, text)).header, archive::HeaderOutcome::kHalted);
  }
  const ReadResult<MemoRecord> read = readAll<MemoRecord>(halting(bytes, "Memo 2"));
  EXPECT_EQ(read.records.size(), 1u);
  EXPECT_EQ(read.last, RecordOutcome::kHalted);
}

TEST(LaterDamageTest, AToDoListCutAnywhereOrFlippedLosesOnlyTheRestAndSaysWhere) {
  LaterPlan plan = laterTodoPlan();
  plan.categories = {CategoryPlan{}};
  plan.trailing = std::string(5000, 'x');  // more than one block
  const std::string whole = buildLaterFile(plan, recordsOf(RecordKind::kTodo, plan, 3));
  const Read all = readLater(whole, RecordKind::kTodo);
  EXPECT_EQ(all.records, 3);
  EXPECT_EQ(all.trailing, plan.trailing.size());
  const std::size_t afterTag = whole.find(plan.tag) + plan.tag.size();
  for (std::size_t length = afterTag; length < whole.size() - plan.trailing.size(); ++length) {
    const Read read = readLater(whole.substr(0, length), RecordKind::kTodo);
    if (read.header != LaterHeaderOutcome::kOk) {
      EXPECT_EQ(read.header, LaterHeaderOutcome::kEndedEarly) << length;
      continue;
    }
    EXPECT_LT(read.records, 3) << length;
    ASSERT_EQ(read.last, RecordOutcome::kCutShort) << length;
    ASSERT_FALSE(read.messages.empty()) << length;
    EXPECT_NE(read.messages.back().find(": the file ends here, 3 records were announced"),
              std::string::npos)
        << read.messages.back();
  }
  for (std::size_t at = afterTag; at < whole.size() - plan.trailing.size(); ++at) {
    std::string flipped = whole;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x81);
    EXPECT_LE(readLater(flipped, RecordKind::kTodo).records, 3) << at;
  }
}

}  // namespace
}  // namespace vessory::testing
