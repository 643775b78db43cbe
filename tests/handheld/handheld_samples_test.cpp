// The six real databases in tests/data/handheld, every record's fields as the bytes give them.
// Offsets are of the file; expected times are the wall times as seconds since 1970 read as UTC.

#include <gtest/gtest.h>

#include <span>

#include "handheld/handheld_database.h"
#include "handheld/sample_files.h"

namespace vessory::handheld {
namespace {

using archive::RecordKind;
using testing::bytesAt;
using testing::loadSample;
using testing::PdbBytes;

HandheldDatabase openSample(const PdbBytes& file) {
  std::string error;
  std::optional<HandheldDatabase> database = HandheldDatabase::open(file, error);
  EXPECT_TRUE(database.has_value()) << error;
  if (!database) std::abort();
  EXPECT_TRUE(database->notices().empty());
  return std::move(*database);
}

using Categories = std::vector<std::pair<std::int64_t, std::string>>;

struct EventExpectation {
  std::int64_t uniqueId;
  std::int64_t start;
  std::int64_t end;
  std::string description;
};

TEST(HandheldSamples, DatebookEvents) {
  const PdbBytes file = loadSample("DatebookDB.pdb");
  const HandheldDatabase database = openSample(file);
  EXPECT_EQ(database.kind(), RecordKind::kDatebook);
  EXPECT_EQ(database.name(), "DatebookDB");
  // FNV-1a of "DatebookDB", NUL, DC 52 D1 8E (creation time at 36).
  EXPECT_EQ(database.catalogue().identity, "5afcab57");
  EXPECT_TRUE(database.catalogue().categories.empty());
  EXPECT_TRUE(database.datebookHeader().categoryLongNames.empty());
  // Entries at 78: 00000180 40 D67004 | 00000197 40 22E001 | 000001A6 40 22E002.
  const std::vector<EventExpectation> expected = {
      // 0x180: 08 00 12 00, EA54 = 2021-02-20, flags 2428 (repeat, description; junk 0x28).
      {0xD67004, 1613808000, 1613844000, "Test 3"},
      // 0x197: 0F 00 10 00, EA51 = 2021-02-17, flags 0432 (description; junk 0x32).
      {0x22E001, 1613574000, 1613577600, "Test 1"},
      // 0x1A6: 11 00 12 00, EA51, flags 0474 (description; junk 0x74).
      {0x22E002, 1613581200, 1613584800, "Test 2"},
  };
  ASSERT_EQ(database.recordCount(), 3);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const RecordRead<archive::EventRecord> read = database.readEvent(static_cast<int>(i));
    ASSERT_TRUE(read.record.has_value()) << read.leftOut;
    const archive::EventRecord& event = *read.record;
    EXPECT_EQ(event.recordId, expected[i].uniqueId);
    EXPECT_EQ(event.startTime, expected[i].start);
    EXPECT_EQ(event.endTime, expected[i].end);
    EXPECT_EQ(event.description, expected[i].description);
    EXPECT_EQ(event.note, "");
    EXPECT_EQ(event.untimed, 0);
    EXPECT_EQ(event.status, 0);  // attribute 0x40: dirty only
    EXPECT_EQ(event.category, 0);
    EXPECT_EQ(event.isPrivate, 0);
    EXPECT_EQ(event.alarmSet, 0);
    EXPECT_EQ(event.repeat.isRepeating, i == 0);
  }
  // 0x188: 02 0F FFFF 01 40 00 C0 -- weekly, pad 0F, no end, every week, Saturday, weeks from
  // Sunday, pad C0.
  const archive::RepeatEvent repeat = database.readEvent(0).record->repeat;
  EXPECT_EQ(repeat.brand, 2);
  EXPECT_EQ(repeat.interval, 1);
  EXPECT_EQ(repeat.endDate, -1);
  EXPECT_EQ(repeat.brandDaysMask, 0x40);
  EXPECT_EQ(repeat.brandDayIndex, 6);  // 2021-02-20 was a Saturday
  EXPECT_EQ(repeat.firstDayOfWeek, 0);
  EXPECT_EQ(repeat.exceptionCount, 0);
}

struct ContactExpectation {
  std::int64_t uniqueId;
  std::array<std::int64_t, 5> labels;
  // (field, offset, length) of each stored text; the fields not listed are empty.
  std::vector<std::tuple<int, std::size_t, std::size_t>> texts;
};

std::string contactField(const archive::ContactRecord& contact, int field) {
  switch (field) {
    case 0:
      return contact.lastName;
    case 2:
      return contact.company;
    case 18:
      return contact.note;
    default:
      return contact.phones[static_cast<std::size_t>(field - 3)].value;
  }
}

void expectContacts(const HandheldDatabase& database, const PdbBytes& file,
                    const std::vector<ContactExpectation>& expected) {
  ASSERT_EQ(database.recordCount(), static_cast<std::int64_t>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const RecordRead<archive::ContactRecord> read = database.readContact(static_cast<int>(i));
    ASSERT_TRUE(read.record.has_value()) << read.leftOut;
    const archive::ContactRecord& contact = *read.record;
    EXPECT_EQ(contact.recordId, expected[i].uniqueId);
    EXPECT_FALSE(contact.deleted);
    for (std::size_t p = 0; p < 5; ++p) EXPECT_EQ(contact.phones[p].label, expected[i].labels[p]);
    std::size_t characters = 0;
    for (const auto& [field, offset, length] : expected[i].texts) {
      EXPECT_EQ(contactField(contact, field), bytesAt(file, offset, length)) << field;
      characters += length;
    }
    std::size_t held = contact.firstName.size() + contact.title.size() + contact.city.size();
    for (int field : {0, 2, 3, 4, 5, 6, 7, 18}) held += contactField(contact, field).size();
    EXPECT_EQ(held, characters);
  }
}

TEST(HandheldSamples, AddressBooks) {
  const PdbBytes english = loadSample("AddressDB-LifeDrive.pdb");
  const HandheldDatabase first = openSample(english);
  EXPECT_EQ(first.kind(), RecordKind::kAddress);
  EXPECT_EQ(first.catalogue().identity, "75733473");  // "AddressDB", NUL, BD FC 09 14
  // App-info at 0x60: labels from 0x62, 16 bytes each; custom labels 14-17 from 0x60 + 282.
  EXPECT_EQ(first.catalogue().categories,
            (Categories{{0, "Unfiled"}, {1, "Business"}, {2, "Personal"}, {3, "QuickList"}}));
  EXPECT_EQ(first.catalogue().customLabels[0], "Custom 1");
  EXPECT_EQ(first.catalogue().customLabels[3], "Custom 4");
  // 0x2DE: options 00054735 (Main, Other, Mobile, E-mail, Main), presence 0004001D.
  expectContacts(
      first, english,
      {{2,
        {5, 3, 7, 4, 5},
        {{0, 0x2E7, 11}, {2, 0x2F3, 13}, {3, 0x301, 15}, {4, 0x311, 27}, {18, 0x32D, 616}}},
       {3,
        {5, 3, 7, 4, 5},
        {{0, 0x59F, 17}, {2, 0x5B1, 13}, {3, 0x5BF, 23}, {4, 0x5D7, 35}, {18, 0x5FB, 82}}}});
  EXPECT_EQ(first.readContact(0).record->lastName, "Accessories");

  const PdbBytes french = loadSample("AddressDB-Palm V-FR.pdb");
  const HandheldDatabase second = openSample(french);
  EXPECT_EQ(second.catalogue().identity, "7932193d");  // "AddressDB", NUL, B2 6C BC 38
  EXPECT_EQ(
      second.catalogue().categories,
      (Categories{{0, "Non class\xE9"}, {1, "Bureau"}, {2, "Domicile"}, {3, "Liste rapide"}}));
  // "D\xE9finir 1 " in the file: the trailing blank is trimmed.
  EXPECT_EQ(second.catalogue().customLabels[1],
            "D\xE9"
            "finir 2");
  // Options 00043210 (Work, Home, Fax, Other, E-mail); presence 00040045, then 000400C5.
  expectContacts(
      second, french,
      {{1, {0, 1, 2, 3, 4}, {{0, 0x2E7, 11}, {2, 0x2F3, 20}, {6, 0x308, 19}, {18, 0x31C, 309}}},
       {2,
        {0, 1, 2, 3, 4},
        {{0, 0x45B, 17}, {2, 0x46D, 20}, {6, 0x482, 19}, {7, 0x496, 16}, {18, 0x4A7, 227}}}});
}

TEST(HandheldSamples, ToDoItems) {
  const PdbBytes file = loadSample("ToDoDB.pdb");
  const HandheldDatabase database = openSample(file);
  EXPECT_EQ(database.kind(), RecordKind::kTodo);
  EXPECT_EQ(database.catalogue().identity, "f51db54b");  // "ToDoDB", NUL, B9 62 EF CA
  EXPECT_EQ(database.catalogue().categories,
            (Categories{{0, "Unfiled"}, {1, "Business"}, {2, "Personal"}}));
  struct Expectation {
    std::int64_t uniqueId;
    std::optional<archive::CalendarDate> due;
    std::size_t description, descriptionLength, note, noteLength;
  };
  // Records at 0x182 (EA55 01), 0x309 (EA56 01), 0x4CE (FFFF 01).
  const std::vector<Expectation> expected = {
      {3, archive::CalendarDate{2021, 2, 21}, 0x185, 43, 0x1B1, 343},
      {2, archive::CalendarDate{2021, 2, 22}, 0x30C, 25, 0x326, 423},
      {4, std::nullopt, 0x4D1, 21, 0x4E7, 322},
  };
  ASSERT_EQ(database.recordCount(), 3);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const RecordRead<archive::TodoRecord> read = database.readTodo(static_cast<int>(i));
    ASSERT_TRUE(read.record.has_value()) << read.leftOut;
    const archive::TodoRecord& todo = *read.record;
    EXPECT_EQ(todo.recordId, expected[i].uniqueId);
    EXPECT_EQ(todo.dueDate.has_value(), expected[i].due.has_value());
    if (todo.dueDate && expected[i].due) {
      EXPECT_EQ(todo.dueDate->year, expected[i].due->year);
      EXPECT_EQ(todo.dueDate->month, expected[i].due->month);
      EXPECT_EQ(todo.dueDate->day, expected[i].due->day);
    }
    EXPECT_FALSE(todo.dueMoment.has_value());
    EXPECT_EQ(todo.priority, 1);
    EXPECT_FALSE(todo.completed);
    EXPECT_EQ(todo.category, 0);
    EXPECT_EQ(todo.description,
              bytesAt(file, expected[i].description, expected[i].descriptionLength));
    EXPECT_EQ(todo.note, bytesAt(file, expected[i].note, expected[i].noteLength));
  }
}

TEST(HandheldSamples, Memos) {
  const PdbBytes file = loadSample("MemoDB.pdb");
  const HandheldDatabase database = openSample(file);
  EXPECT_EQ(database.kind(), RecordKind::kMemo);
  EXPECT_EQ(database.catalogue().identity, "7a2f0c7a");  // "MemoDB", NUL, B9 82 A9 E5
  const std::vector<std::tuple<std::int64_t, std::size_t, std::size_t, std::string>> expected = {
      {2, 0x192, 602, "Handheld Basics\n\n\x95 Press"},
      {3, 0x3ED, 516, "Four Ways to Enter Text\n"},
      {4, 0x5F2, 704, "Download Free Applications\n"},
      {5, 0x8B3, 1552, "Power Tips\n\n\x95 To"},
      {6, 0xEC4, 1308, "Navigator Button Tips\n"},
  };
  ASSERT_EQ(database.recordCount(), 5);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [uniqueId, offset, length, opening] = expected[i];
    const RecordRead<archive::MemoRecord> read = database.readMemo(static_cast<int>(i));
    ASSERT_TRUE(read.record.has_value()) << read.leftOut;
    EXPECT_EQ(read.record->recordId, uniqueId);
    EXPECT_EQ(read.record->text, bytesAt(file, offset, length));
    EXPECT_EQ(read.record->text.substr(0, opening.size()), opening);
  }
}

TEST(HandheldSamples, OtherApplicationDeclinedByName) {
  const PdbBytes file = loadSample("ExpenseDB.pdb");
  EXPECT_TRUE(looksLikeHandheldDatabase(file));
  std::string error;
  EXPECT_FALSE(HandheldDatabase::open(file, error).has_value());
  EXPECT_EQ(error,
            "The database \"ExpenseDB\" (type DATA, creator exps) is not a date book, address "
            "book, to-do list or memo pad database.");
}

}  // namespace
}  // namespace vessory::handheld
