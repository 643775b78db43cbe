// Writes the seed corpus of the export fuzzer, and with a second folder that of the organiser
// fuzzer, and with a third the later handhelds' databases for the handheld database fuzzer:
// make_fuzz_corpus DIR [ORGANISER_DIR [HANDHELD_DIR]].
//
// Each seed is two option bytes and a small archive from the test archive builders: ordinary
// journals (contacts, to-dos, memos), the faults the readers cope with, and archives cut short or
// run long.

#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "export_check.h"
#include "support/archive_builder.h"
#include "support/later_builder.h"
#include "support/later_desktop_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {
namespace {

struct Seed {
  std::string name;
  std::string options;
  std::string archive;
};

std::string archiveOf(const std::vector<RecordPlan>& records, HeaderPlan header = {}) {
  return ArchiveBuilder().archive(records, std::move(header)).bytes();
}

std::vector<RecordPlan> journalDays() {
  return {
      journalRecord("7:05 am: Woke up <early>\r\n9:15 am: Tea with \"Ann\"\r\nsecond line"),
      journalRecord("##  C\r\n10:30: Meeting\n11.45 Lunch\r\n 1:00 pm: Back", 1018224000),
      journalRecord("no time at all", 1018310400, "  daily JOURNAL "),
  };
}

RecordPlan repeating() {
  RecordPlan event;
  event.description = "Weekly review";
  event.repeatFlag = 0xFFFF;
  event.brand = 2;
  event.daysMask = 0x22;
  event.exceptions = {1018137600, 1018742400};
  return event;
}

std::vector<Seed> seeds() {
  const std::string plain = encodeExportOptions(2, 0, 0, 0);  // "<>", wrap on, bias -4
  std::vector<Seed> all;
  std::vector<RecordPlan> days = journalDays();
  const std::string ordinary = archiveOf(days);
  all.push_back({"journals", plain, ordinary});
  // The same archive under other options and chunk sizes.
  all.push_back({"journals-no-keywords-wrap-off", encodeExportOptions(3, 0, 1, 0), ordinary});
  all.push_back({"journals-one-delimiter-live", encodeExportOptions(7, 1, 3, 1), ordinary});
  all.push_back({"journals-bias-huge-details", encodeExportOptions(14, 1, 6, 2), ordinary});

  RecordPlan appointment;
  appointment.description = "Dentist";
  appointment.note = "";
  all.push_back({"mixed", plain, archiveOf({days[0], appointment, repeating(), days[1]})});

  HeaderPlan categories;
  categories.categories = {{1, 1, 0, "Business", "Busi"}, {2, 2, 1, "Personal", "Pers"}};
  all.push_back({"categories", plain, archiveOf({days[0]}, categories)});
  all.push_back({"no-records", plain, archiveOf({})});

  RecordPlan stray = days[0];
  stray.rawDescription = std::string("\xFF\x00\x00\x00\x00", 5) +
                         "\x0D"
                         "Daily Journal";
  all.push_back({"stray-group", plain, archiveOf({stray, days[1]})});

  RecordPlan stop = days[0];
  stop.rawNote = std::string("\xFF\x00\x00\x01\x00", 5);
  all.push_back({"sequencing-error", plain, archiveOf({days[1], stop, days[2]})});

  RecordPlan oddWords = days[1];
  oddWords.descriptionZeroWord = 7;
  oddWords.noteZeroWord = 1;
  RecordPlan oddClass = repeating();
  oddClass.classConstant = 3;
  all.push_back({"odd-words", plain, archiveOf({oddWords, oddClass})});

  RecordPlan longNote = journalRecord(std::string(300, 'x') + "\r\n8:00: " + std::string(40, '"'));
  all.push_back({"long-note", encodeExportOptions(5, 0, 7, 0), archiveOf({longNote})});

  RecordPlan empty = journalRecord("");
  empty.description = "";
  all.push_back({"empty-texts", plain, archiveOf({empty, days[0]})});

  ArchiveBuilder cut;
  cut.archive(days);
  all.push_back({"cut-in-record", plain, cut.truncated(cut.size() - 40)});
  all.push_back({"cut-in-header", plain, cut.truncated(30)});
  all.push_back({"data-after-end", plain, ordinary + "\x01"});
  all.push_back(
      {"count-too-large", plain,
       ArchiveBuilder().tag().header(HeaderPlan::forRecords(60000)).record(days[0]).bytes()});
  // The later desktop layout: whole, cut inside a record, with a field the schema does not
  // give, and a schema the reader refuses.
  LaterPlan later = laterDatebookPlan();
  later.categories = {{1, 1, 0, "Business", "Busi"}};
  std::vector<LaterRecord> laterRecords;
  for (const RecordPlan& day : days) laterRecords.push_back(laterEvent(day, "Room 1", later));
  laterRecords.push_back(laterEvent(repeating(), "", later));
  const std::string laterFile = buildLaterFile(later, laterRecords);
  all.push_back({"later-datebook", plain, laterFile});
  all.push_back({"later-datebook-cut", plain, laterFile.substr(0, laterFile.size() - 50)});
  laterRecords[1][15].code = 3;
  all.push_back({"later-datebook-bad-field", plain, buildLaterFile(later, laterRecords)});
  later.fieldTypes[22] = 5;
  all.push_back({"later-datebook-refused", plain, buildLaterFile(later, {})});
  all.push_back({"wrong-tag", plain,
                 "\x00\x01"
                 "BE" +
                     ordinary.substr(4)});
  return all;
}

// The organiser fuzzer's seeds: option byte 0 puts the kind's tag (0 address book, 1 to-do
// list, 2 memo pad) before the rest, so the seed leaves its own tag out; 3 takes the archive
// whole.
Seed organiserSeed(std::string name, int kind, const std::string& archive, int more = 0) {
  const std::string options = {static_cast<char>(kind + 4 * more), '\x03'};
  return {std::move(name), options, kind == 3 ? archive : archive.substr(4)};
}

// A later desktop to-do list with every later field.
std::string laterTodos() {
  LaterTodoPlan todo;
  todo.description = "Water the plants";
  todo.dueDate = 1018137600;
  todo.completed = 1;
  todo.completionDate = 1018224000;
  todo.alarmSet = 1;
  todo.alarmTime = 32400;
  todo.alarmDaysBefore = 1;
  todo.repeatAfterCompletion = 1;
  todo.repeat.repeatFlag = 0xFFFF;
  todo.repeat.brand = 1;
  const LaterPlan plan = laterTodoPlan();
  return buildLaterFile(plan, {laterTodo(todo, plan), laterTodo(LaterTodoPlan{}, plan)});
}

std::vector<Seed> organiserSeeds() {
  OrganiserArchivePlan plan;
  plan.categories = {{1, 1, 0, "Business", "Busi"}, {2, 2, 0, "../..", "up"}};
  ContactPlan contact;
  contact.lastName = "Smith, \"Jo\"";
  contact.firstName = "J\xFCrgen";
  contact.phones[0] = {0, "555 0100"};
  contact.note = std::string(120, 'n') + "\r\nline";
  contact.category = 1;
  ContactPlan deleted = contact;
  deleted.recordId = 2;
  deleted.status = 4;
  deleted.isPrivate = 1;
  TodoPlan todo;
  todo.description = "Call; back, soon";
  todo.dueDate = 1018137600;
  todo.completed = 1;
  todo.note = "note";
  todo.category = 2;
  TodoPlan open;
  open.recordId = 2;
  open.priority = 5;
  MemoPlan memo;
  memo.text = "../../x\nbody";
  memo.category = 2;
  MemoPlan same = memo;
  same.recordId = 2;
  same.text = "CON.txt";
  MemoPlan empty;
  empty.recordId = 3;
  ContactPlan bad = contact;
  bad.faults.typeCodes[3] = 6;
  OrganiserArchivePlan wrapped = plan;
  wrapped.wrapped = true;
  OrganiserArchivePlan later;
  later.tag = std::string(
      "\x00\x02"
      "DT",
      4);
  const std::string contacts = buildAddressArchive(plan, {contact, deleted});
  const std::string memos = buildMemoArchive(plan, {memo, same, empty});
  return {
      organiserSeed("contacts", 0, contacts),
      organiserSeed("contacts-archive-file-utf8", 0, contacts, 6),
      organiserSeed("contacts-cut", 0, contacts.substr(0, contacts.size() - 30)),
      organiserSeed("contacts-bad-field", 0, buildAddressArchive(plan, {bad, contact})),
      organiserSeed("todos", 1, buildTodoArchive(plan, {todo, open}), 1),
      organiserSeed("memos", 2, memos),
      organiserSeed("memos-data-after-end", 2, memos + "\x01"),
      organiserSeed("todos-wrapped", 3, buildTodoArchive(wrapped, {todo})),
      organiserSeed("todos-later", 3, buildTodoArchive(later, {todo})),
      organiserSeed("todos-later-layout", 3, laterTodos()),
  };
}

// A later database of each kind with records that use every part: zones, meetings, locations,
// pictures, anniversaries, alarms and repeats, and a junk tail.
std::vector<Seed> laterSeeds() {
  auto database = [](const std::string& creator, std::vector<PdbBytes> records) {
    std::vector<PdbRecordPlan> recordPlans;
    for (std::size_t i = 0; i < records.size(); ++i) {
      recordPlans.push_back({std::move(records[i]), 0x40, static_cast<std::uint32_t>(i + 1), {}});
    }
    const PdbBytes bytes = buildPdb(laterPdb(creator, std::move(recordPlans)));
    return std::string(bytes.begin(), bytes.end());
  };
  auto joined = [](PdbBytes a, const PdbBytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  EventPlan event;
  event.alarm = std::array<std::uint8_t, 2>{10, 0};
  event.repeat = RepeatPlan{2, 0xFFFF, 1, 0x22};
  event.exceptions = std::vector<std::uint16_t>{packDate(2021, 2, 27)};
  event.note = "note";
  const PdbBytes blobs = joined(zoneBlob({}), meetingBlob(1, 1, {{0, "Ann", "a@x"}, {2, "B", ""}}));
  LaterContactPlan contact;
  contact.fields[0] = "Last";
  contact.fields[8] = "e@x";
  contact.fields[11] = "aim";
  contact.fields[33] = "street";
  contact.birthday = packDate(1970, 1, 1);
  contact.birthdayFlags = 1;
  contact.reminderDays = 2;
  contact.tail = joined(blob("Bd00", {0, 0, 0xFF, 0xD8, 1, 2}), blob("Bd01", {0xC6, 0x6C, 0, 0}));
  TaskPlan task;
  task.due = packDate(2006, 3, 1);
  task.completion = packDate(2006, 3, 2);
  task.alarm = std::array<std::uint8_t, 4>{9, 0, 0, 1};
  task.repeatStart = task.due;
  task.repeat = RepeatPlan{3, packDate(2007, 1, 1), 1, 4 * 7 + 5};
  task.description = "task";
  return {
      {"later-calendar", "",
       database("PDat", {calendarRecord(event, "Room", blobs),
                         calendarRecord(EventPlan{}, {}, {1, 2, 3})})},
      {"later-contacts", "", database("PAdd", {laterContactRecord(contact)})},
      {"later-tasks", "", database("PTod", {taskRecord(task)})},
      {"later-memos", "", database("PMem", {memoRecord("Memo\nline")})},
  };
}

void writeSeeds(const std::string& folder, const std::vector<Seed>& seeds) {
  for (const Seed& seed : seeds) writeFile(folder + "/" + seed.name, seed.options + seed.archive);
}

}  // namespace
}  // namespace vessory::testing

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: make_fuzz_corpus DIR [ORGANISER_DIR [HANDHELD_DIR]]\n");
    return 2;
  }
  try {
    vessory::testing::writeSeeds(argv[1], vessory::testing::seeds());
    if (argc >= 3) vessory::testing::writeSeeds(argv[2], vessory::testing::organiserSeeds());
    if (argc == 4) vessory::testing::writeSeeds(argv[3], vessory::testing::laterSeeds());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_fuzz_corpus: %s\n", e.what());
    return 1;
  }
  return 0;
}
