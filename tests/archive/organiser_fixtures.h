#ifndef VESSORY_TESTS_ARCHIVE_ORGANISER_FIXTURES_H_
#define VESSORY_TESTS_ARCHIVE_ORGANISER_FIXTURES_H_

// Reading built address, to-do and memo archives the way an export run does, and the records
// the organiser tests share.

#include <string>
#include <type_traits>
#include <vector>

#include "archive/organiser_archive.h"
#include "archive_fakes.h"
#include "support/organiser_builder.h"

namespace vessory::testing {

using archive::ArchiveKind;
using archive::ContactRecord;
using archive::HeaderOutcome;
using archive::MemoRecord;
using archive::OrganiserArchive;
using archive::OrganiserCatalogue;
using archive::RecordKind;
using archive::RecordOutcome;
using archive::TodoRecord;

inline RecordOutcome readOne(OrganiserArchive& a, std::int64_t n, ContactRecord& r) {
  return a.readContact(n, r);
}
inline RecordOutcome readOne(OrganiserArchive& a, std::int64_t n, TodoRecord& r) {
  return a.readTodo(n, r);
}
inline RecordOutcome readOne(OrganiserArchive& a, std::int64_t n, MemoRecord& r) {
  return a.readMemo(n, r);
}

template <typename Record>
constexpr RecordKind kindOf() {
  if constexpr (std::is_same_v<Record, ContactRecord>) return RecordKind::kAddress;
  if constexpr (std::is_same_v<Record, TodoRecord>) return RecordKind::kTodo;
  return RecordKind::kMemo;
}

// How reading one archive went, whatever its kind: how far it got, how it ended and what was
// shown.
struct ReadSummary {
  ArchiveKind kind = ArchiveKind::kUnknown;
  HeaderOutcome header = HeaderOutcome::kOk;
  OrganiserCatalogue catalogue;
  std::size_t whole = 0;
  RecordOutcome last = RecordOutcome::kWhole;
  std::uint64_t trailing = 0;
  std::vector<std::string> messages;
  std::string tableString;
};

// And the whole records. One record object serves the whole archive, as in a run.
template <typename Record>
struct ReadResult : ReadSummary {
  std::vector<Record> records;
};

template <typename Record>
inline ReadResult<Record> readAll(const std::string& bytes, std::size_t chunkSize = 0) {
  ReadResult<Record> out;
  OpenArchive open(bytes, chunkSize);
  out.kind = archive::readArchiveKind(open.reader);
  OrganiserArchive organiser(open.reader, open.messages, kindOf<Record>());
  out.header = organiser.readHeader(out.catalogue);
  out.tableString = organiser.tableString();
  if (out.header == HeaderOutcome::kOk) {
    Record record;
    for (std::int64_t n = 1; n <= organiser.recordCount(); ++n) {
      out.last = readOne(organiser, n, record);
      if (out.last != RecordOutcome::kWhole) break;
      out.records.push_back(record);
    }
    if (out.last == RecordOutcome::kWhole) out.trailing = organiser.checkEnd();
  }
  out.whole = out.records.size();
  out.messages = open.messages.shown;
  return out;
}

inline bool anyMessageHas(const std::vector<std::string>& messages, const std::string& part) {
  for (const std::string& m : messages) {
    if (m.find(part) != std::string::npos) return true;
  }
  return false;
}

inline ContactPlan fullContact(std::uint32_t id) {
  ContactPlan c;
  c.recordId = id;
  c.lastName = "M\xFCller";
  c.firstName = "Anna";
  c.title = "Dr.";
  c.company = "Acme; Inc.";
  c.phones = {{{0, "555-0100"}, {7, "555-0101"}, {4, "anna@example.com"}, {9, "x"}, {6, ""}}};
  c.address = "1 Main St\r\nApt 2";
  c.city = "Springfield";
  c.state = "IL";
  c.zipCode = "62701";
  c.country = "USA";
  c.note = "A note";
  c.isPrivate = 1;
  c.category = 2;
  c.custom = {"one", "", "three", "four"};
  return c;
}

inline std::vector<TodoPlan> someTodos() {
  std::vector<TodoPlan> todos(3);
  todos[0].recordId = 11;
  todos[0].description = "Pay bills";
  todos[0].dueDate = 1075593600;
  todos[0].priority = 2;
  todos[0].note = "before Friday";
  todos[1].recordId = 12;
  todos[1].description = "No date";
  todos[1].dueDate = 0xFFFFFFFF;
  todos[1].completed = 1;
  todos[1].isPrivate = 1;
  todos[1].category = 3;
  todos[1].status = 0x04;
  todos[2].recordId = 13;
  todos[2].status = 0x08 | 0x01;  // pending and added: not deleted
  todos[2].priority = 5;
  return todos;
}

inline std::vector<MemoPlan> someMemos() {
  std::vector<MemoPlan> memos(3);
  memos[0].recordId = 21;
  memos[0].text = "Plans\r\n" + std::string(300, 'x');
  memos[0].category = 1;
  memos[1].recordId = 22;  // empty memo
  memos[1].isPrivate = 1;
  memos[2].recordId = 23;
  memos[2].text =
      "\xAB"
      "NULL"
      "\xBB";  // the date book's marker, as real text
  return memos;
}

// Three records of `kind` with ids 1 to 3, the second with `faults`.
inline ReadSummary readThree(RecordKind kind, const OrganiserArchivePlan& archive,
                             FieldFaults faults) {
  auto numbered = [&](auto plans) {
    for (std::size_t i = 0; i < plans.size(); ++i) plans[i].recordId = std::uint32_t(i + 1);
    plans[1].faults = faults;
    return plans;
  };
  if (kind == RecordKind::kAddress) {
    return readAll<ContactRecord>(
        buildAddressArchive(archive, numbered(std::vector<ContactPlan>(3))));
  }
  if (kind == RecordKind::kTodo) {
    return readAll<TodoRecord>(buildTodoArchive(archive, numbered(someTodos())));
  }
  return readAll<MemoRecord>(buildMemoArchive(archive, numbered(someMemos())));
}

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_ARCHIVE_ORGANISER_FIXTURES_H_
