// The address book, to-do list and memo pad export, run over archives held in memory.

#include "export/organiser_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive_identity.h"
#include "calendar/calendar_reading.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

using archive::RecordKind;
using exporting::ExportOutcome;
using exporting::OrganiserSettings;
using exporting::OrganiserTally;

// One kind as the tests use it: where its archive lies and where its output goes by default.
struct KindCase {
  RecordKind kind;
  std::string archive;
  std::string output;
  std::string begin;  // what opens one record's output; empty for memos (a file each)
};

const std::vector<KindCase> kKinds = {
    {RecordKind::kAddress, "/p/address.dat", "/p/address.vcf", "BEGIN:VCARD\r\n"},
    {RecordKind::kTodo, "/p/todo.dat", "/p/todo.ics", "BEGIN:VTODO\r\n"},
    {RecordKind::kMemo, "/p/memopad.dat", "/p/memopad", ""},
};

const std::string kEndedEarly = "The archive ended early - it may be damaged or incomplete.";
const std::string kNothingRead = "No record could be read: nothing was exported.";

std::string traceOf(RecordKind kind) { return std::string(archive::recordKindName(kind)); }

// Records 1..count of `kind`, each marked "Record N" and changed by `change` first. To-dos of
// odd ids are done.
std::string buildArchive(RecordKind kind, int count,
                         const std::function<void(OrganiserRecordPlan&)>& change = {},
                         const OrganiserArchivePlan& plan = {}) {
  std::vector<ContactPlan> contacts;
  std::vector<TodoPlan> todos;
  std::vector<MemoPlan> memos;
  for (int id = 1; id <= count; ++id) {
    const std::string mark = "Record " + std::to_string(id);
    OrganiserRecordPlan basics;
    basics.recordId = static_cast<std::uint32_t>(id);
    if (change) change(basics);
    ContactPlan contact;
    static_cast<OrganiserRecordPlan&>(contact) = basics;
    contact.lastName = mark;
    contact.note = "a note, " + std::string(40, 'n');
    contacts.push_back(contact);
    TodoPlan todo;
    static_cast<OrganiserRecordPlan&>(todo) = basics;
    todo.description = mark;
    todo.completed = id % 2;
    todos.push_back(todo);
    MemoPlan memo;
    static_cast<OrganiserRecordPlan&>(memo) = basics;
    memo.text = mark + "\nsecond line";
    memos.push_back(memo);
  }
  if (kind == RecordKind::kAddress) return buildAddressArchive(plan, contacts);
  if (kind == RecordKind::kTodo) return buildTodoArchive(plan, todos);
  return buildMemoArchive(plan, memos);
}

// A view whose archive path is given whole, so that the tests choose its spelling.
class PathView : public RecordingView {
 public:
  std::string path;
  std::string inputPath() override { return path; }
};

struct Exported {
  ExportOutcome outcome = ExportOutcome::kAlreadyRunning;
  OrganiserTally tally;
  std::vector<std::string> messages;
  bool ended = false;
  MemoryFiles files;

  std::string last() const { return messages.empty() ? "" : messages.back(); }
  bool wroteNothing() const { return files.outputPaths().empty() && files.folders.empty(); }
};

OrganiserSettings testSettings() {
  OrganiserSettings settings;
  settings.zoneName = "UTC";
  settings.stampTime = kStampTime;
  return settings;
}

Exported exportAt(const std::string& path, const std::string& bytes,
                  const OrganiserSettings& settings = testSettings(),
                  const std::function<void(MemoryFiles&)>& prepare = {}) {
  Exported out;
  out.files.archives[path] = bytes;
  if (prepare) prepare(out.files);
  PathView view;
  view.path = path;
  exporting::OrganiserRun run(out.files, settings);
  out.outcome = run.run(view);
  out.tally = run.tally();
  out.messages = view.messages;
  out.ended = view.ended;
  return out;
}

// What was written for each record, in record order: a card or a VTODO block of the output
// file, or a memo's path and text.
std::vector<std::string> recordOutputs(const KindCase& kind, const MemoryFiles& files) {
  std::vector<std::string> units;
  if (kind.begin.empty()) {
    // Each memo's text, which starts "Record N", ahead of its path: sorted, in record order.
    for (const std::string& path : files.outputPaths()) units.push_back(files.csv(path) + path);
    std::sort(units.begin(), units.end());
    return units;
  }
  const std::string text = files.csv(kind.output);
  const std::string end = "END:" + kind.begin.substr(6);
  for (std::size_t at = text.find(kind.begin); at != std::string::npos;
       at = text.find(kind.begin, at + 1)) {
    const std::size_t stop = text.find(end, at);
    units.push_back(text.substr(at, stop == std::string::npos ? stop : stop + end.size() - at));
  }
  return units;
}

bool anyHolds(const std::vector<std::string>& units, const std::string& part) {
  return std::any_of(units.begin(), units.end(),
                     [&](const std::string& u) { return u.find(part) != std::string::npos; });
}

TEST(OrganiserOutputPathTest, ExtensionIsReplacedAndArchiveFilesGetTheirOwnName) {
  struct Row {
    std::string archive;
    RecordKind kind;
    std::string output;
  };
  const std::vector<Row> rows = {
      {"/p/address.dat", RecordKind::kAddress, "/p/address.vcf"},
      {"/p/ADDRESS.ABA", RecordKind::kAddress, "/p/ADDRESS-archive.vcf"},
      {"/p/todo.Tda", RecordKind::kTodo, "/p/todo-archive.ics"},
      {"/p/memopad.mpA", RecordKind::kMemo, "/p/memopad-archive"},
      {"/p/todo.DBA", RecordKind::kTodo, "/p/todo-archive.ics"},
      {"/p/memopad.dat", RecordKind::kMemo, "/p/memopad"},
      {"/p/address", RecordKind::kAddress, "/p/address.vcf"},
      {"/p.d/todo", RecordKind::kTodo, "/p.d/todo.ics"},
      {"/p/.aba", RecordKind::kAddress, "/p/.aba.vcf"},
      {"/p/.todo.tda", RecordKind::kTodo, "/p/.todo-archive.ics"},
      {"C:\\Palm\\memo.MPA", RecordKind::kMemo, "C:\\Palm\\memo-archive"},
      {"address.dat", RecordKind::kAddress, "address.vcf"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.archive);
    EXPECT_EQ(exporting::organiserOutputPathFor(row.archive, row.kind), row.output);
    if (row.archive.find('\\') != std::string::npos) continue;
    const Exported out = exportAt(row.archive, buildArchive(row.kind, 1));
    EXPECT_EQ(out.outcome, ExportOutcome::kComplete) << out.last();
    EXPECT_EQ(out.tally.outputName, row.output);
    if (row.kind == RecordKind::kMemo) {
      ASSERT_FALSE(out.files.folders.empty());
      EXPECT_EQ(out.files.folders.front(), row.output);
    } else {
      EXPECT_EQ(out.files.outputPaths(), std::vector<std::string>{row.output});
    }
  }
}

TEST(OrganiserRunTest, DeletedRecordsLeaveALiveFileAndStayInAnArchiveFile) {
  struct Row {
    std::string extension;
    bool includeDeleted;
    bool kept;
  };
  const std::vector<Row> rows = {{".dat", false, false},
                                 {".dat", true, true},
                                 {".ABA", false, true},
                                 {".tda", false, true},
                                 {".mpa", false, true}};
  for (const KindCase& kind : kKinds) {
    for (const Row& row : rows) {
      SCOPED_TRACE(traceOf(kind.kind) + " " + row.extension);
      OrganiserSettings settings = testSettings();
      settings.includeDeleted = row.includeDeleted;
      settings.outputPath = "/out/x";
      const Exported out =
          exportAt("/p/x" + row.extension,
                   buildArchive(kind.kind, 3,
                                [](OrganiserRecordPlan& r) { r.status = r.recordId == 2 ? 4 : 0; }),
                   settings);
      ASSERT_EQ(out.outcome, ExportOutcome::kComplete) << out.last();
      const std::vector<std::string> units =
          recordOutputs({kind.kind, "", "/out/x", kind.begin}, out.files);
      EXPECT_EQ(units.size(), row.kept ? 3u : 2u);
      EXPECT_EQ(anyHolds(units, "Record 2"), row.kept);
      EXPECT_EQ(out.tally.written, row.kept ? 3 : 2);
      EXPECT_EQ(out.tally.deletedLeftOut, row.kept ? 0 : 1);
      EXPECT_EQ(out.last().ends_with(row.kept ? "No records left out."
                                              : "1 record left out: 1 deleted on the desktop."),
                true)
          << out.last();
    }
  }
}

// Ids repeat in real archives: every card and to-do still gets a UID of its own (servers refuse
// the second of a UID, address books show one of them), numbered in record order after the
// identity as the date book's events are.
TEST(OrganiserRunTest, RecordsThatShareAnIdGetUidsOfTheirOwnInRecordOrder) {
  const std::vector<std::uint32_t> ids = {7, 7, 3, 7, 3, 0xFFFFFFFF, 0xFFFFFFFF, 8};
  const std::vector<std::string> suffixes = {"7", "7", "3", "7", "3", "-1", "-1", "8"};
  const std::vector<std::string> repeats = {"", "-2", "", "-3", "-2", "", "-2", ""};
  OrganiserArchivePlan plan;
  plan.fileName = "C:\\Palm\\User\\same.dat";
  const std::string identity =
      archive::identityHex(archive::desktopArchiveIdentity("c:\\palm\\user\\same.dat"));
  for (const KindCase& kind : {kKinds[0], kKinds[1]}) {
    SCOPED_TRACE(traceOf(kind.kind));
    const auto change = [&](OrganiserRecordPlan& r) { r.recordId = ids[r.recordId - 1]; };
    const Exported out =
        exportAt(kind.archive, buildArchive(kind.kind, static_cast<int>(ids.size()), change, plan));
    ASSERT_EQ(out.outcome, ExportOutcome::kComplete) << out.last();
    const std::vector<std::string> units = recordOutputs(kind, out.files);
    ASSERT_EQ(units.size(), ids.size());
    const std::string word = kind.kind == RecordKind::kAddress ? "address-" : "todo-";
    for (std::size_t i = 0; i < ids.size(); ++i) {
      const std::string uid = "\r\nUID:" + word + suffixes[i] + "-" + identity + repeats[i] +
                              "@vessory\r\n";
      EXPECT_NE(units[i].find(uid), std::string::npos) << i << ": " << units[i];
    }
  }
}

TEST(OrganiserRunTest, FinalMessageCountsWhatWasWrittenAndLeftOut) {
  OrganiserArchivePlan plan;
  plan.categories = {CategoryPlan{}};
  // Record 1 private, 3 deleted, 4 in the category "Business".
  auto change = [](OrganiserRecordPlan& r) {
    r.isPrivate = r.recordId == 1;
    r.status = r.recordId == 3 ? 4 : 0;
    r.category = r.recordId == 4 ? 1 : 0;
  };
  const std::vector<std::string> written = {
      "The contacts have been placed in:\r\n/p/address.vcf\r\n\r\n3 contacts written (1 private).",
      "The to-dos have been placed in:\r\n/p/todo.ics\r\n\r\n3 to-dos written (1 done, 1 private), "
      "due dates as the calendar showed them in UTC.",
      "The memos have been placed in:\r\n/p/memopad\r\n\r\n3 memos written in 2 folders (1 "
      "private)."};
  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    SCOPED_TRACE(traceOf(kKinds[k].kind));
    const std::string whole = buildArchive(kKinds[k].kind, 4, change, plan);
    Exported out = exportAt(kKinds[k].archive, whole);
    EXPECT_EQ(out.outcome, ExportOutcome::kComplete);
    EXPECT_EQ(out.last(), "All Done!\r\n\r\n" + written[k] +
                              "\r\n1 record left out: 1 deleted on the desktop.");
    EXPECT_TRUE(out.ended);
    // Cut inside record 4: the deleted record and the damaged one are both told.
    out = exportAt(kKinds[k].archive, whole.substr(0, whole.size() - 2));
    EXPECT_EQ(out.outcome, ExportOutcome::kEndedEarly);
    std::string two = written[k];
    two.replace(two.find("3 "), 1, "2");
    if (kKinds[k].kind == RecordKind::kMemo) two.replace(two.find("2 folders"), 9, "1 folder");
    EXPECT_EQ(out.last(),
              kEndedEarly + "\r\n\r\nThe records read before that point have been kept.\r\n\r\n" +
                  two +
                  "\r\n2 records left out: 1 deleted on the desktop, 1 cut short by the damage; the archive "
                  "ended after record 3 of 4. Of the 4 records the archive announced, 2 were "
                  "written, 2 left out and 0 not reached.");
  }
  // Cut inside record 2 of 10: the eight records never reached are counted too.
  const std::string ten = buildArchive(RecordKind::kAddress, 10);
  const std::string two = buildArchive(RecordKind::kAddress, 2);
  const Exported cut = exportAt("/p/address.dat", ten.substr(0, two.size() - 2));
  EXPECT_TRUE(cut.last().ends_with("Of the 10 records the archive announced, 1 was written, "
                                   "1 left out and 8 not reached."))
      << cut.last();
  // One of each reads in the singular.
  const Exported one = exportAt("/p/memopad.dat", buildArchive(RecordKind::kMemo, 1));
  EXPECT_NE(one.last().find("\r\n1 memo written in 1 folder (0 private).\r\nNo records left out."),
            std::string::npos)
      << one.last();
}

TEST(OrganiserRunTest, ArchiveCutAtEveryLengthKeepsEveryWholeRecordBeforeTheCut) {
  OrganiserArchivePlan plan;
  plan.categories = {CategoryPlan{}};
  auto change = [](OrganiserRecordPlan& r) { r.category = r.recordId == 2 ? 1 : 0; };
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(traceOf(kind.kind));
    const std::string whole = buildArchive(kind.kind, 3, change, plan);
    const Exported full = exportAt(kind.archive, whole);
    ASSERT_EQ(full.outcome, ExportOutcome::kComplete);
    const std::vector<std::string> units = recordOutputs(kind, full.files);
    ASSERT_EQ(units.size(), 3u);
    // Where each record ends: the same header over fewer records is a prefix of the whole.
    std::vector<std::size_t> ends;
    for (int k = 0; k <= 3; ++k) {
      const std::string prefix = buildArchive(kind.kind, k, change, plan);
      // Only the entry count (the last four bytes of the header) differs: patch it back.
      const std::size_t headerEnd = buildArchive(kind.kind, 0, change, plan).size();
      std::string patched = prefix;
      patched.replace(headerEnd - 4, 4, whole.substr(headerEnd - 4, 4));
      ASSERT_EQ(whole.compare(0, patched.size(), patched), 0);
      ends.push_back(patched.size());
    }
    for (std::size_t length = 0; length < whole.size(); ++length) {
      SCOPED_TRACE("cut at " + std::to_string(length));
      const Exported cut = exportAt(kind.archive, whole.substr(0, length));
      if (length < 4) {
        EXPECT_EQ(cut.outcome, ExportOutcome::kNotDatebook);
        EXPECT_TRUE(cut.wroteNothing());
        continue;
      }
      EXPECT_TRUE(cut.ended);
      const auto wholeRecords =
          std::count_if(ends.begin() + 1, ends.end(), [&](std::size_t e) { return e <= length; });
      if (wholeRecords == 0) {  // no record whole: nothing exported, and the outcome says so
        EXPECT_EQ(cut.outcome, ExportOutcome::kNothingRead);
        EXPECT_TRUE(cut.files.outputPaths().empty());
        if (length < ends[0]) {  // inside the header
          EXPECT_TRUE(cut.wroteNothing());
        }
        EXPECT_EQ(cut.last(), kEndedEarly + "\r\n\r\n" + kNothingRead);
        continue;
      }
      ASSERT_EQ(cut.outcome, ExportOutcome::kEndedEarly) << cut.last();
      EXPECT_EQ(recordOutputs(kind, cut.files),
                std::vector<std::string>(units.begin(), units.begin() + wholeRecords));
      EXPECT_EQ(cut.tally.written, wholeRecords);
      EXPECT_EQ(cut.tally.damagedLeftOut, 1);
      EXPECT_NE(cut.last().find("the archive ended after record " +
                                std::to_string(wholeRecords) + " of 3. Of the 3 records the "
                                "archive announced, " + std::to_string(wholeRecords)),
                std::string::npos)
          << cut.last();
      if (kind.kind == RecordKind::kTodo) {
        EXPECT_TRUE(cut.files.csv(kind.output).ends_with("END:VCALENDAR\r\n"));
      }
      for (const std::string& path : cut.files.outputPaths()) EXPECT_TRUE(cut.files.closed(path));
    }
  }
}

TEST(OrganiserRunTest, DamageThatStopsTheReadingKeepsTheRecordsBeforeIt) {
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(traceOf(kind.kind));
    // Record 2's third column holds a number where the schema has text (or text for a number).
    const Exported bad =
        exportAt(kind.archive, buildArchive(kind.kind, 3, [](OrganiserRecordPlan& r) {
                   if (r.recordId == 2) r.faults.typeCodes[3] = 6;
                 }));
    EXPECT_EQ(bad.outcome, ExportOutcome::kDamagedRecords);
    const std::vector<std::string> units = recordOutputs(kind, bad.files);
    ASSERT_EQ(units.size(), 1u);
    EXPECT_TRUE(anyHolds(units, "Record 1"));
    EXPECT_EQ(bad.last().rfind("The records read before that point have been kept.\r\n\r\n", 0),
              0u);
    EXPECT_TRUE(
        bad.last().ends_with("1 cut short by the damage; the archive could not be read after record 1 of 3. "
                             "Of the 3 records the archive announced, 1 was written, 1 left out "
                             "and 1 not reached."))
        << bad.last();
    EXPECT_TRUE(bad.ended);

    // A schema of another layout: nothing is read, nothing is made.
    OrganiserArchivePlan misfit;
    misfit.fieldsPerRow = 7;
    const Exported odd = exportAt(kind.archive, buildArchive(kind.kind, 2, {}, misfit));
    EXPECT_EQ(odd.outcome, ExportOutcome::kDamagedRecords);
    EXPECT_TRUE(odd.wroteNothing());
    ASSERT_EQ(odd.messages.size(), 2u);
    EXPECT_NE(odd.messages[0].find("cannot be read: its schema has 7 fields per row"),
              std::string::npos);
    EXPECT_EQ(odd.last(), kNothingRead);

    // A sequencing error where the file's name or record 2's first text starts: the reading halts.
    const std::string whole = buildArchive(kind.kind, 3);
    for (const auto& [text, written] : {std::pair<std::string, std::size_t>{"C:\\Palm", 0},
                                        std::pair<std::string, std::size_t>{"Record 2", 1}}) {
      std::string bytes = whole;
      bytes.replace(bytes.find(text) - 1, 1, ArchiveBuilder().sequencingError().bytes());
      const Exported halted = exportAt(kind.archive, bytes);
      EXPECT_EQ(halted.outcome, ExportOutcome::kSequencingError) << text << halted.last();
      EXPECT_EQ(recordOutputs(kind, halted.files).size(), written) << text;
    }
  }
}

TEST(OrganiserRunTest, NothingIsMadeForALaterToDoFileOfAnUnknownLayoutOrAnUncreatableOutput) {
  OrganiserArchivePlan later;
  later.tag = std::string(
      "\x00\x02"
      "DT",
      4);
  later.wrapped = true;  // the later layout comes behind the wrapper
  const Exported todo = exportAt("/p/todo.dat", buildArchive(RecordKind::kTodo, 2, {}, later));
  EXPECT_EQ(todo.outcome, ExportOutcome::kLaterVersion);
  EXPECT_TRUE(todo.wroteNothing());
  EXPECT_FALSE(todo.ended);
  // The classic header after the later tag: no later header the reader knows.
  EXPECT_EQ(todo.last(),
            "/p/todo.dat: this to-do list's layout (desktop version 4.1.4 or later) is not one "
            "this tool knows: its header holds a non-zero byte among the 12 bytes that are zero "
            "in every file described; nothing was exported");
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(traceOf(kind.kind));
    const Exported out =
        exportAt(kind.archive, buildArchive(kind.kind, 2), testSettings(),
                 [&](MemoryFiles& f) { f.uncreatable[kind.output] = "Permission denied"; });
    EXPECT_EQ(out.outcome, ExportOutcome::kCannotCreate);
    EXPECT_EQ(out.last(), "Cannot create " + kind.output + ": Permission denied");
    EXPECT_TRUE(out.wroteNothing());
    EXPECT_FALSE(out.ended);
  }
  // A category folder that cannot be made stops the export part-way.
  const Exported memos = exportAt(
      "/p/memopad.dat", buildArchive(RecordKind::kMemo, 2), testSettings(),
      [](MemoryFiles& f) {
        f.uncreatable[exporting::joinPath("/p/memopad", "Unfiled")] = "Read-only file system";
      });
  EXPECT_EQ(memos.outcome, ExportOutcome::kCannotWrite);
  EXPECT_EQ(memos.last(), "Cannot write " + exporting::joinPath("/p/memopad", "Unfiled") +
                              ": Read-only file system");
}

// With details shown, each record is named as the archive holds it: a contact by its names,
// or its company when it has none; a to-do by its description; a memo by its first line.
TEST(OrganiserRunTest, DetailsNameEachRecordAsTheArchiveHoldsIt) {
  const struct {
    const char *first, *last, *company, *shown;
  } contacts[] = {
      {"Ann", "Bell", "Acme", "Ann Bell"}, {"Ann", "", "Acme", "Ann"},
      {"", "Bell", "Acme", "Bell"},        {"", "", "Acme", "Acme"},
  };
  std::vector<ContactPlan> cards;
  std::vector<std::string> expected;
  for (const auto& c : contacts) {
    ContactPlan card;
    card.recordId = static_cast<std::uint32_t>(cards.size() + 1);
    card.firstName = c.first;
    card.lastName = c.last;
    card.company = c.company;
    cards.push_back(card);
    expected.push_back(std::string("description: ") + c.shown);
  }
  MemoryFiles files;
  files.archives["/p/address.dat"] = buildAddressArchive({}, cards);
  PathView view;
  view.path = "/p/address.dat";
  view.details = exporting::kChecked;
  ASSERT_EQ(exporting::OrganiserRun(files, testSettings()).run(view), ExportOutcome::kComplete);
  std::vector<std::string> shown;
  for (const std::string& event : view.events) {
    if (event.rfind("description: ", 0) == 0) shown.push_back(event);
  }
  EXPECT_EQ(shown, expected);
  for (const KindCase& kind : {kKinds[1], kKinds[2]}) {
    SCOPED_TRACE(traceOf(kind.kind));
    MemoryFiles other;
    other.archives[kind.archive] = buildArchive(kind.kind, 1);
    PathView detailed;
    detailed.path = kind.archive;
    detailed.details = exporting::kChecked;
    exporting::OrganiserRun(other, testSettings()).run(detailed);
    EXPECT_NE(std::find(detailed.events.begin(), detailed.events.end(), "description: Record 1"),
              detailed.events.end());
  }
}

TEST(OrganiserRunTest, MemoPathsStayInsideTheOutputFolderWhateverTheArchiveSays) {
  const std::vector<std::string> hostile = {"../../x", "/etc/passwd", "C:\\x",     "..",
                                            ".",       "CON.txt",     "a/../../b", "\\\\server\\s"};
  OrganiserArchivePlan plan;
  std::vector<MemoPlan> memos;
  for (std::size_t k = 0; k < hostile.size(); ++k) {
    CategoryPlan category;
    category.index = category.id = static_cast<std::uint32_t>(k + 1);
    category.longName = hostile[k];
    plan.categories.push_back(category);
    for (std::uint32_t inCategory : {0u, static_cast<std::uint32_t>(k + 1)}) {
      MemoPlan memo;
      memo.recordId = static_cast<std::uint32_t>(memos.size() + 1);
      memo.category = inCategory;
      memo.text = hostile[k] + "\nbody";
      memos.push_back(memo);
    }
  }
  const Exported out = exportAt("/p/memopad.dat", buildMemoArchive(plan, memos));
  ASSERT_EQ(out.outcome, ExportOutcome::kComplete) << out.last();
  EXPECT_EQ(out.files.outputPaths().size(), memos.size());  // none written over another
  auto safeComponent = [](const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos && stem != "con" && stem != "nul";
  };
  std::vector<std::string> paths = out.files.outputPaths();
  paths.insert(paths.end(), out.files.folders.begin() + 1, out.files.folders.end());
  for (std::string path : paths) {
    SCOPED_TRACE(path);
    // Joined with the platform's separator; a safe name holds none of its own.
    std::replace(path.begin(), path.end(), '\\', '/');
    ASSERT_EQ(path.rfind("/p/memopad/", 0), 0u);
    std::string rest = path.substr(11);
    const std::size_t slash = rest.find('/');
    EXPECT_TRUE(safeComponent(rest.substr(0, slash)));
    if (slash != std::string::npos) {
      EXPECT_TRUE(safeComponent(rest.substr(slash + 1)));
    }
  }
}

TEST(OrganiserRunTest, WriteFailureStopsTheReadingAndSaysWhy) {
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(traceOf(kind.kind));
    const Exported out = exportAt(kind.archive, buildArchive(kind.kind, 3), testSettings(),
                                  [](MemoryFiles& f) { f.failWritesAfter = 5; });
    EXPECT_EQ(out.outcome, ExportOutcome::kCannotWrite);
    // A memo's failure names the memo.
    const std::string failed =
        kind.begin.empty()
            ? exporting::joinPath(exporting::joinPath(kind.output, "Unfiled"), "Record 1.txt")
            : kind.output;
    EXPECT_EQ(out.last(), "Cannot write " + failed + ": No space left on device");
    EXPECT_TRUE(out.ended);
    EXPECT_TRUE(out.files.outputPaths().empty());  // nothing part-written is left
  }
  // Part-way through a large file: the earlier file stays whole, the message says so, and the
  // rest of the archive is not read.
  for (const KindCase& kind : {kKinds[0], kKinds[1]}) {
    SCOPED_TRACE(traceOf(kind.kind));
    const Exported big = exportAt(kind.archive, buildArchive(kind.kind, 2000), testSettings(),
                                  [&](MemoryFiles& f) {
                                    f.failWritesAfter = 100000;
                                    f.earlier(kind.output, "earlier file");
                                  });
    EXPECT_EQ(big.outcome, ExportOutcome::kCannotWrite);
    EXPECT_EQ(big.last(), "Cannot write " + kind.output + ": No space left on device; the earlier " +
                              kind.output + " was left as it was");
    EXPECT_EQ(big.files.csv(kind.output), "earlier file");
    EXPECT_LT(big.tally.lastWhole, 2000);
  }
  // A memo file that cannot be made stops the export there, and names the memo.
  const Exported memo = exportAt("/p/memopad.dat", buildArchive(RecordKind::kMemo, 3),
                                 testSettings(), [](MemoryFiles& f) {
                                   f.uncreatable[exporting::joinPath(
                                       exporting::joinPath("/p/memopad", "Unfiled"),
                                       "Record 2.txt")] = "Permission denied";
                                 });
  EXPECT_EQ(memo.outcome, ExportOutcome::kCannotWrite);
  EXPECT_EQ(memo.last(),
            "Cannot write " +
                exporting::joinPath(exporting::joinPath("/p/memopad", "Unfiled"), "Record 2.txt") +
                ": Permission denied");
  EXPECT_EQ(memo.files.outputPaths(),
            std::vector<std::string>{exporting::joinPath(
                exporting::joinPath("/p/memopad", "Unfiled"), "Record 1.txt")});
}

}  // namespace
}  // namespace vessory::testing
