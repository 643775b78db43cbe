#include "archive/organiser_archive.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/archive_identity.h"
#include "archive/format.h"
#include "organiser_fixtures.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

using archive::EmptyCString;

TEST(ArchiveKindTest, TellsEveryTagWithAndWithoutTheWrapper) {
  const std::string wrapper =
      bytesOf({0xBE, 0xBA, 0xFE, 0xCA, 3, 'a', 'b', 'c', '0', '0', 'R', 'V'});
  // The later layout's tags count only behind the wrapper.
  const auto laterOnly = [](ArchiveKind kind, bool wrapped) {
    return wrapped ? kind : ArchiveKind::kUnknown;
  };
  const std::vector<std::pair<std::string, ArchiveKind>> tags = {
      {bytesOf({0, 1, 'B', 'D'}), ArchiveKind::kDatebook},
      {bytesOf({0, 1, 'B', 'A'}), ArchiveKind::kAddress},
      {bytesOf({0, 1, 'D', 'T'}), ArchiveKind::kTodo},
      {bytesOf({0, 1, 'P', 'M'}), ArchiveKind::kMemo},
      {bytesOf({0, 2, 'D', 'T'}), ArchiveKind::kLaterTodo},
      {bytesOf({0, 2, 'B', 'D'}), ArchiveKind::kLaterDatebook},
      {bytesOf({0, 2, 'B', 'A'}), ArchiveKind::kLaterAddress},
      {bytesOf({0, 2, 'P', 'M'}), ArchiveKind::kLaterMemo},
      {bytesOf({0, 2, 'X', 'Y'}), ArchiveKind::kLaterOther},
      {bytesOf({1, 0, 'A', 'B'}), ArchiveKind::kUnknown},
  };
  for (const auto& [tag, kind] : tags) {
    for (const std::string& prefix : {std::string(), wrapper}) {
      OpenArchive open(prefix + tag + "rest");
      const bool later = tag[1] == 2;
      EXPECT_EQ(archive::readArchiveKind(open.reader), later ? laterOnly(kind, !prefix.empty()) : kind)
          << prefix.size();
      EXPECT_EQ(open.reader.position(), prefix.size() + 4);
    }
    // Cut anywhere inside the tag or the wrapper: unknown, silently.
    const std::string whole = wrapper + tag;
    for (std::size_t length = 0; length < whole.size(); ++length) {
      OpenArchive open(whole.substr(0, length));
      EXPECT_EQ(archive::readArchiveKind(open.reader), ArchiveKind::kUnknown) << length;
      EXPECT_TRUE(open.messages.shown.empty());
    }
  }
}

TEST(ArchiveKindTest, WrappedDatebookReadsOnAsBefore) {
  HeaderPlan layout = HeaderPlan::forRecords(2);
  layout.categories = {{4, 9, 0, "Travel", "Trav"}};
  const std::string bytes = bytesOf({0xBE, 0xBA, 0xFE, 0xCA, 0, '0', '0', 'R', 'V'}) +
                            ArchiveBuilder().tag().header(layout).bytes();
  OpenArchive open(bytes);
  ASSERT_EQ(archive::readArchiveKind(open.reader), ArchiveKind::kDatebook);
  archive::TraceSink trace;
  archive::DatebookHeader header = archive::readArchiveHeader(open.reader, trace);
  EXPECT_EQ(header.recordCount, 2);
  EXPECT_EQ(header.categoryLongNames, std::vector<std::string>{"Travel"});
}

TEST(ArchiveReaderEmptyTest, EmptyCStringReadsAsMarkerOrEmptyOnRequest) {
  const std::string marker(archive::kNullStringMarker);
  struct Case {
    std::string bytes;
    std::string asMarker;
    std::string asEmpty;
  };
  const std::vector<Case> cases = {
      {bytesOf({0}), marker, ""},
      {bytesOf({6}) + marker, marker, marker},
      {bytesOf({0xFF, 0, 0, 0, 0, 0}), marker, ""},  // a stray group, then empty text
      {bytesOf({0xFF, 3, 0}) + "abc", "abc", "abc"},
  };
  for (std::size_t chunk : {0, 1, 2}) {
    for (const Case& c : cases) {
      OpenArchive marked(c.bytes + "z", chunk);
      OpenArchive plain(c.bytes + "z", chunk);
      EXPECT_EQ(marked.reader.readCString(), c.asMarker);
      std::string text = "old";
      plain.reader.readCString(text, EmptyCString::kEmpty);
      EXPECT_EQ(text, c.asEmpty);
      EXPECT_EQ(marked.reader.position(), plain.reader.position());
      EXPECT_EQ(plain.reader.readChars(1), "z");
    }
  }
}

TEST(OrganiserArchiveTest, ContactsMapEveryFieldInDesktopOrderWithAFreshRecordEach) {
  OrganiserArchivePlan plan;
  plan.tableString = "Custom names 0 1 0";
  ContactPlan bare;
  bare.recordId = 8;
  bare.status = 0x04;
  bare.lastName = "Only";
  const std::string bytes = buildAddressArchive(plan, {fullContact(7), bare});
  for (std::size_t chunk : {0, 1, 5, 64}) {
    ReadResult<ContactRecord> read = readAll<ContactRecord>(bytes, chunk);
    ASSERT_EQ(read.records.size(), 2u) << chunk;
    EXPECT_EQ(read.kind, ArchiveKind::kAddress);
    EXPECT_EQ(read.tableString, "Custom names 0 1 0");
    const ContactRecord& c = read.records[0];
    EXPECT_EQ(c.recordId, 7);
    EXPECT_FALSE(c.deleted);
    EXPECT_EQ(c.lastName + "|" + c.firstName + "|" + c.title + "|" + c.company,
              "M\xFCller|Anna|Dr.|Acme; Inc.");
    const std::vector<std::pair<std::int64_t, std::string>> phones = {
        {0, "555-0100"}, {7, "555-0101"}, {4, "anna@example.com"}, {9, "x"}, {6, ""}};
    for (std::size_t i = 0; i < phones.size(); ++i) {
      EXPECT_EQ(c.phones[i].label, phones[i].first);
      EXPECT_EQ(c.phones[i].value, phones[i].second);
    }
    EXPECT_EQ(c.address + "|" + c.city + "|" + c.state + "|" + c.zipCode + "|" + c.country,
              "1 Main St\r\nApt 2|Springfield|IL|62701|USA");
    EXPECT_EQ(c.note, "A note");
    EXPECT_TRUE(c.isPrivate);
    EXPECT_EQ(c.category, 2);
    EXPECT_EQ(c.custom, (std::array<std::string, archive::kMaxCustomFieldCount>{
                            "one", "", "three", "four"}));
    const ContactRecord& b = read.records[1];
    EXPECT_TRUE(b.deleted);
    EXPECT_EQ(b.lastName, "Only");
    EXPECT_TRUE(b.firstName.empty() && b.note.empty() && b.custom[0].empty());
    EXPECT_FALSE(b.isPrivate);
    EXPECT_EQ(b.phones[1].label, 1);
    EXPECT_EQ(read.trailing, 0u);
    EXPECT_TRUE(read.messages.empty());
  }
}

TEST(OrganiserArchiveTest, TodosAndMemosMapTheirFields) {
  ReadResult<TodoRecord> todos = readAll<TodoRecord>(buildTodoArchive({}, someTodos()));
  ASSERT_EQ(todos.records.size(), 3u);
  EXPECT_EQ(todos.kind, ArchiveKind::kTodo);
  const TodoRecord& t = todos.records[0];
  EXPECT_EQ(t.description, "Pay bills");
  EXPECT_EQ(t.dueMoment, 1075593600);
  EXPECT_FALSE(t.dueDate.has_value());
  EXPECT_EQ(t.priority, 2);
  EXPECT_EQ(t.note, "before Friday");
  EXPECT_FALSE(t.completed || t.isPrivate || t.deleted);
  const TodoRecord& n = todos.records[1];
  EXPECT_EQ(n.dueMoment, -1);  // as read: "no date" is the writer's call
  EXPECT_TRUE(n.completed && n.isPrivate && n.deleted);
  EXPECT_EQ(n.category, 3);
  EXPECT_TRUE(n.note.empty());
  EXPECT_FALSE(todos.records[2].deleted);
  EXPECT_EQ(todos.records[2].dueMoment, kNoDueDate);
  EXPECT_TRUE(todos.records[2].description.empty());

  ReadResult<MemoRecord> memos = readAll<MemoRecord>(buildMemoArchive({}, someMemos()));
  ASSERT_EQ(memos.records.size(), 3u);
  EXPECT_EQ(memos.kind, ArchiveKind::kMemo);
  EXPECT_EQ(memos.records[0].text, someMemos()[0].text);
  EXPECT_EQ(memos.records[0].category, 1);
  EXPECT_EQ(memos.records[1].text, "");
  EXPECT_TRUE(memos.records[1].isPrivate);
  EXPECT_EQ(memos.records[2].text, someMemos()[2].text);
  EXPECT_TRUE(memos.messages.empty());
}

TEST(OrganiserArchiveTest, StringsOfEveryLengthFormReadWhole) {
  std::vector<MemoPlan> memos;
  for (std::size_t length : {0, 1, 254, 255, 256, 4096, 65535}) {
    MemoPlan memo;
    memo.recordId = static_cast<std::uint32_t>(length);
    for (std::size_t i = 0; i < length; ++i) memo.text += static_cast<char>('a' + i % 26);
    memos.push_back(memo);
  }
  for (std::size_t chunk : {0, 3, 1000}) {
    ReadResult<MemoRecord> read = readAll<MemoRecord>(buildMemoArchive({}, memos), chunk);
    ASSERT_EQ(read.records.size(), memos.size());
    for (std::size_t i = 0; i < memos.size(); ++i) EXPECT_EQ(read.records[i].text, memos[i].text);
  }
}

TEST(OrganiserArchiveTest, CatalogueKeepsCategoriesInOrderAndTheIdentityOfTheStoredName) {
  OrganiserArchivePlan plan;
  plan.fileName = "C:\\Palm\\SmithJ\\address\\Address.DAT";
  plan.categories = {{5, 130, 1, "Family, close", "Fam"}, {2, 1, 0, "", ""}, {1, 2, 0, "Work", ""}};
  ReadResult<ContactRecord> read = readAll<ContactRecord>(buildAddressArchive(plan, {}));
  ASSERT_EQ(read.header, HeaderOutcome::kOk);
  EXPECT_EQ(read.catalogue.kind, RecordKind::kAddress);
  const std::vector<std::pair<std::int64_t, std::string>> expected = {
      {5, "Family, close"}, {2, ""}, {1, "Work"}};
  EXPECT_EQ(read.catalogue.categories, expected);
  EXPECT_EQ(read.catalogue.identity,
            archive::identityHex(archive::desktopArchiveIdentity(plan.fileName)));
  EXPECT_EQ(*read.catalogue.categoryName(5), "Family, close");

  // A count that claims more entries than the archive holds ends the header early.
  plan.categoryCount = 40;
  ReadResult<ContactRecord> lying = readAll<ContactRecord>(buildAddressArchive(plan, {}));
  EXPECT_EQ(lying.header, HeaderOutcome::kEndedEarly);
  EXPECT_TRUE(anyMessageHas(lying.messages, "ends inside its header"));
}

TEST(OrganiserArchiveTest, SchemaThatDoesNotFitTheKindIsRefusedNamingTheDifference) {
  struct Case {
    const char* name;
    std::function<void(OrganiserArchivePlan&)> change;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"too few fields",
       [](OrganiserArchivePlan& s) {
         s.fieldsPerRow = 9;
         s.fieldTypes = std::vector<std::uint16_t>{1, 1, 1, 5, 3, 6, 1, 6, 1};
       },
       "9 fields per row where 10 are expected"},
      {"count unlike fields per row", [](OrganiserArchivePlan& s) { s.fieldCount = 11; },
       "a field count of 11 where 10 is expected"},
      {"due date an integer",
       [](OrganiserArchivePlan& s) {
         s.fieldTypes = std::vector<std::uint16_t>{1, 1, 1, 5, 1, 6, 1, 6, 1, 5};
       },
       "type code 1 (integer) for field 5 (due date) where type code 3 (date) is expected"},
      {"unknown code",
       [](OrganiserArchivePlan& s) {
         s.fieldTypes = std::vector<std::uint16_t>{1, 1, 1, 5, 3, 6, 1, 6, 1, 64};
       },
       "unknown type code 64 for field 10 (note)"},
  };
  for (const Case& c : cases) {
    OrganiserArchivePlan plan;
    c.change(plan);
    const ReadSummary read = readThree(RecordKind::kTodo, plan, {});
    EXPECT_EQ(read.header, HeaderOutcome::kSchemaMisfit) << c.name;
    EXPECT_EQ(read.whole, 0u);
    EXPECT_TRUE(anyMessageHas(read.messages, c.message)) << c.name;
  }
}

FieldFaults typeCode(int column, std::uint32_t code) {
  FieldFaults faults;
  faults.typeCodes[column] = code;
  return faults;
}

FieldFaults rawValue(int column, std::string bytes) {
  FieldFaults faults;
  faults.rawValues[column] = std::move(bytes);
  return faults;
}

// A field of another type stops the archive after the whole records; faults inside a string
// field are reported and read past, or halt the reader, as the shared string reader decides.
TEST(OrganiserArchiveTest, FieldFaultsInTheSecondRecord) {
  struct Case {
    RecordKind kind;
    FieldFaults faults;
    std::size_t whole;
    RecordOutcome last;
    std::string message;
  };
  FieldFaults zero_word;
  zero_word.zeroWords[3] = 7;
  const std::vector<Case> cases = {
      {RecordKind::kAddress, typeCode(8, 1), 1, RecordOutcome::kBadField,
       "Record 2 (id 2), field 9 (phone 1): type code 1 (integer) where the schema has type "
       "code 5 (string)"},
      {RecordKind::kAddress, typeCode(0, 99), 1, RecordOutcome::kBadField,
       "Record 2, field 1 (record id): unknown type code 99 where the schema has type code 1"},
      {RecordKind::kTodo, typeCode(4, 1), 1, RecordOutcome::kBadField,
       "Record 2 (id 2), field 5 (due date): type code 1 (integer)"},
      {RecordKind::kMemo, typeCode(3, 8), 1, RecordOutcome::kBadField,
       "Record 2 (id 2), field 4 (text): type code 8 (repeat event)"},
      {RecordKind::kMemo, typeCode(5, 4), 1, RecordOutcome::kBadField,
       "field 6 (category): unknown type code 4"},
      {RecordKind::kMemo, zero_word, 3, RecordOutcome::kWhole,
       "Record 2 (id 2), field 4 (text): the word before the text is 7, not 0"},
      {RecordKind::kTodo, rawValue(9, bytesOf({0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 2, 'o', 'k'})), 3,
       RecordOutcome::kWhole, "Unexpected Long before cString found"},
      {RecordKind::kAddress, rawValue(3, bytesOf({0, 0, 0, 0, 0xFF, 0, 0, 1, 0})), 1,
       RecordOutcome::kHalted, "sequencing error"},
  };
  for (const Case& c : cases) {
    const ReadSummary read = readThree(c.kind, {}, c.faults);
    EXPECT_EQ(read.whole, c.whole) << c.message;
    EXPECT_EQ(read.last, c.last) << c.message;
    EXPECT_TRUE(anyMessageHas(read.messages, c.message)) << c.message;
  }
}

TEST(OrganiserArchiveTest, EntryCountAndTrailingBytesAreHeldAgainstTheData) {
  struct Case {
    std::optional<std::uint32_t> entryCount;
    std::string trailing;
    std::size_t whole;
    RecordOutcome last;
    std::uint64_t extra;
  };
  const MemoPlan one = someMemos()[0];
  const std::size_t memoBytes =
      buildMemoArchive({}, {one}).size() - buildMemoArchive({}, {}).size();
  const std::vector<Case> cases = {
      {std::nullopt, "", 3, RecordOutcome::kWhole, 0},
      {std::nullopt, " left over", 3, RecordOutcome::kWhole, 10},
      {12, "", 2, RecordOutcome::kWhole, memoBytes},  // claims two of three
      {13, "", 2, RecordOutcome::kWhole, memoBytes},  // not a multiple of six
      {24, "", 3, RecordOutcome::kCutShort, 0},       // claims four
      {0xFFFFFFFF, "", 0, RecordOutcome::kWhole, 3 * memoBytes},
  };
  for (const Case& c : cases) {
    OrganiserArchivePlan plan;
    plan.entryCount = c.entryCount;
    plan.trailing = c.trailing;
    ReadResult<MemoRecord> read = readAll<MemoRecord>(buildMemoArchive(plan, {one, one, one}));
    EXPECT_EQ(read.records.size(), c.whole) << c.entryCount.value_or(18);
    EXPECT_EQ(read.last, c.last);
    EXPECT_EQ(read.trailing, c.extra);
    EXPECT_EQ(anyMessageHas(read.messages, "bytes follow the last"), c.extra > 0);
  }
}

}  // namespace
}  // namespace vessory::testing
