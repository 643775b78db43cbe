// Built databases, one table per rule: repeats, alarms, exceptions and untimed events, record
// attributes, address fields and labels, to-do priorities and dates, categories, recognition.

#include <gtest/gtest.h>

#include "handheld/handheld_database.h"
#include "support/handheld_builder.h"

namespace vessory::handheld {
namespace {

using testing::buildPdb;
using testing::EventPlan;
using testing::packDate;
using testing::PdbBytes;
using testing::PdbPlan;
using testing::RepeatPlan;

// The whole of a one-kind database of `records`, kept alive for the database that borrows it.
struct Built {
  PdbBytes bytes;
  std::optional<HandheldDatabase> database;

  explicit Built(PdbPlan layout) : bytes(buildPdb(layout)) {
    std::string error;
    database = HandheldDatabase::open(bytes, error);
    EXPECT_TRUE(database.has_value()) << error;
  }
};

PdbPlan datebookOf(std::vector<PdbBytes> records) {
  PdbPlan layout;
  layout.appInfo = testing::categoryAppInfo({"Unfiled", "Work", "", "Travel"}, 280);
  std::uint32_t id = 100;
  for (PdbBytes& data : records) layout.records.push_back({std::move(data), 0x40, id++, {}});
  return layout;
}

archive::EventRecord onlyEvent(const EventPlan& event) {
  Built built(datebookOf({testing::eventRecord(event)}));
  RecordRead<archive::EventRecord> read = built.database->readEvent(0);
  EXPECT_TRUE(read.record.has_value()) << read.leftOut;
  return read.record.value_or(archive::EventRecord{});
}

struct RepeatCase {
  RepeatPlan repeat;
  archive::RepeatEvent expected;
};

TEST(HandheldRecords, RepeatKindsInTheDesktopForm) {
  // The event is on Saturday 2021-02-20; pad bytes carry junk, as in real files.
  const std::int64_t march31 = 1617148800;  // 2021-03-31 00:00
  const auto rule = [](std::int64_t brand, std::int64_t interval, std::int64_t end,
                       std::int64_t week) {
    archive::RepeatEvent r;
    r.isRepeating = brand != 0;
    r.brand = brand;
    r.interval = interval;
    r.endDate = end;
    r.firstDayOfWeek = week;
    return r;
  };
  std::vector<RepeatCase> cases = {
      {{0, 0xFFFF, 0, 0, 0, 0x0F, 0xC0}, rule(0, 0, -1, 0)},
      {{1, packDate(2021, 3, 31), 3, 0, 0, 0x01, 0xC8}, rule(1, 3, march31, 0)},
      {{2, 0xFFFF, 2, 0x2A, 1, 0x0F, 0xC0}, rule(2, 2, -1, 1)},
      {{3, 0xFFFF, 1, 3 * 7 + 1, 0}, rule(3, 1, -1, 0)},  // fourth Monday
      {{3, 0xFFFF, 1, 4 * 7 + 5, 0}, rule(3, 1, -1, 0)},  // last Friday
      {{4, 0xFFFF, 1, 0, 0}, rule(4, 1, -1, 0)},
      {{5, packDate(2030, 2, 20), 1, 0, 0}, rule(5, 1, 1897776000, 0)},
  };
  cases[1].expected.brandDayIndex = 6;
  cases[2].expected.brandDayIndex = 6;
  cases[2].expected.brandDaysMask = 0x2A;
  cases[3].expected.brandDayIndex = 1;
  cases[3].expected.brandWeekIndex = 3;
  cases[4].expected.brandDayIndex = 5;
  cases[4].expected.brandWeekIndex = 4;
  cases[5].expected.brandDayNumber = 20;
  cases[6].expected.brandDayNumber = 20;
  cases[6].expected.brandMonthIndex = 1;
  for (const RepeatCase& c : cases) {
    SCOPED_TRACE(int{c.repeat.kind} * 100 + c.repeat.on);
    EventPlan layout;
    layout.repeat = c.repeat;
    layout.otherFlags = 0x00AA;
    const archive::RepeatEvent got = onlyEvent(layout).repeat;
    const archive::RepeatEvent& want = c.expected;
    EXPECT_EQ(got.isRepeating, want.isRepeating);
    EXPECT_EQ(got.brand, want.brand);
    EXPECT_EQ(got.interval, want.interval);
    EXPECT_EQ(got.endDate, want.endDate);
    EXPECT_EQ(got.firstDayOfWeek, want.firstDayOfWeek);
    EXPECT_EQ(got.brandDayIndex, want.brandDayIndex);
    EXPECT_EQ(got.brandDaysMask, want.brandDaysMask);
    EXPECT_EQ(got.brandWeekIndex, want.brandWeekIndex);
    EXPECT_EQ(got.brandDayNumber, want.brandDayNumber);
    EXPECT_EQ(got.brandMonthIndex, want.brandMonthIndex);
  }
}

TEST(HandheldRecords, AlarmAdvanceAndUnit) {
  struct Case {
    std::array<std::uint8_t, 2> alarm;
    std::int64_t set, units, type;
  };
  const std::vector<Case> cases = {
      {{5, 0}, 1, 5, 0}, {{2, 1}, 1, 2, 1},          {{1, 2}, 1, 1, 2},
      {{0, 0}, 1, 0, 0}, {{0xFF, 0xFF}, 0, -1, 255}, {{7, 9}, 1, 7, 9},
  };
  for (const Case& c : cases) {
    EventPlan layout;
    layout.alarm = c.alarm;
    const archive::EventRecord event = onlyEvent(layout);
    EXPECT_EQ(event.alarmSet, c.set) << int{c.alarm[0]};
    EXPECT_EQ(event.alarmAdvanceUnits, c.units) << int{c.alarm[0]};
    EXPECT_EQ(event.alarmAdvanceType, c.type) << int{c.alarm[0]};
  }
}

TEST(HandheldRecords, UntimedEventsExceptionsAndTexts) {
  EventPlan layout;
  layout.start = layout.end = 0xFFFF;
  layout.repeat = RepeatPlan{1, 0xFFFF, 1};
  layout.exceptions = std::vector<std::uint16_t>{packDate(2021, 2, 22), packDate(2021, 3, 1)};
  layout.description = "Holiday";
  layout.note = "Line one\nline two";
  const archive::EventRecord event = onlyEvent(layout);
  EXPECT_EQ(event.untimed, 1);
  EXPECT_EQ(event.startTime, 1613779200);  // 2021-02-20 00:00
  EXPECT_EQ(event.endTime, event.startTime);
  EXPECT_EQ(event.repeat.exceptionCount, 2);
  EXPECT_EQ(event.repeat.exceptions, (std::vector<std::int64_t>{1613952000, 1614556800}));
  EXPECT_EQ(event.description, "Holiday");
  EXPECT_EQ(event.note, "Line one\nline two");

  EventPlan bare;
  bare.description.reset();
  bare.start = 0x0000;
  bare.end = 0x173B;  // 23:59
  const archive::EventRecord plain = onlyEvent(bare);
  EXPECT_EQ(plain.untimed, 0);
  EXPECT_EQ(plain.description, "");
  EXPECT_EQ(plain.note, "");
  EXPECT_EQ(plain.endTime - plain.startTime, 23 * 3600 + 59 * 60);
  EXPECT_EQ(plain.duration, 23 * 3600 + 59 * 60);
}

TEST(HandheldRecords, AttributesGiveDeletedPrivateAndCategory) {
  struct Case {
    std::uint8_t attributes;
    bool deleted, secret;
    std::int64_t category;
  };
  const std::vector<Case> cases = {
      {0x40, false, false, 0}, {0x13, false, true, 3}, {0x4F, false, false, 15},
      {0x80, true, false, 0},  {0x88, true, false, 0}, {0x28, true, false, 0},
      {0x23, false, false, 0}, {0xD3, true, true, 0},
  };
  PdbPlan events = datebookOf({});
  PdbPlan memos;
  memos.name = "MemoDB";
  memos.creator = "memo";
  memos.appInfo = testing::categoryAppInfo({"Unfiled", "Work"}, 282);
  for (const Case& c : cases) {
    events.records.push_back({testing::eventRecord({}), c.attributes, c.attributes, {}});
    memos.records.push_back({testing::memoRecord("x"), c.attributes, c.attributes, {}});
  }
  // A deleted record whose data is gone still comes out, as deleted.
  memos.records.push_back({{}, 0x80, 0x80, {}});
  const Built datebook(events);
  const Built memo(memos);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(int{c.attributes});
    const archive::EventRecord event = *datebook.database->readEvent(static_cast<int>(i)).record;
    EXPECT_EQ(event.status, c.deleted ? 0x04 : 0);
    EXPECT_EQ(event.isPrivate, c.secret ? 1 : 0);
    EXPECT_EQ(event.category, c.category);
    EXPECT_EQ(event.recordId, c.attributes);
    const archive::MemoRecord note = *memo.database->readMemo(static_cast<int>(i)).record;
    EXPECT_EQ(note.deleted, c.deleted);
    EXPECT_EQ(note.isPrivate, c.secret);
    EXPECT_EQ(note.category, c.category);
  }
  const RecordRead<archive::MemoRecord> dropped = memo.database->readMemo(8);
  ASSERT_TRUE(dropped.record.has_value()) << dropped.leftOut;
  EXPECT_TRUE(dropped.record->deleted);
}

TEST(HandheldRecords, CategoriesForCatalogueAndCalendar) {
  const Built built(datebookOf({testing::eventRecord({})}));
  using Categories = std::vector<std::pair<std::int64_t, std::string>>;
  const archive::OrganiserCatalogue& catalogue = built.database->catalogue();
  EXPECT_EQ(catalogue.categories, (Categories{{0, "Unfiled"}, {1, "Work"}, {3, "Travel"}}));
  EXPECT_EQ(catalogue.categoryName(0), nullptr);
  EXPECT_EQ(*catalogue.categoryName(3), "Travel");
  EXPECT_EQ(catalogue.categoryName(2), nullptr);
  const archive::DatebookHeader header = built.database->datebookHeader();
  EXPECT_EQ(header.categoryIndexes, (std::vector<std::int64_t>{0, 1, 3}));
  EXPECT_EQ(header.categoryLongNames, (std::vector<std::string>{"Unfiled", "Work", "Travel"}));
  EXPECT_EQ(header.recordCount, 1);
}

TEST(HandheldRecords, AddressFieldsLabelsAndReadings) {
  PdbPlan layout;
  layout.name = "AddressDB";
  layout.creator = "addr";
  std::vector<std::string> labels(22, "x");
  labels[14] = "  Birthday ";
  labels[15] = "Spouse";
  labels[16] = "";
  labels[17] = "Exactly15chars!";
  layout.appInfo = testing::addressAppInfo({"Unfiled", "Clients"}, labels);
  testing::PdbContactPlan every;
  for (int i = 0; i < 19; ++i) every.fields[i] = "f" + std::to_string(i);
  every.fields[0] = "\x8E\x52\x93\x63\x01\xD4\xCF\xC0";  // written name, 0x01, reading
  every.fields[1] = "\x91\xBE\x98\x59\x01\xC0\xDB\xB3";
  every.phoneLabels = {0, 1, 2, 3, 4};
  testing::PdbContactPlan sparse;
  sparse.phoneLabels = {5, 6, 7, 15, 0};
  sparse.fields[1] = "Ann";
  sparse.fields[7] = "ann@example.org";
  layout.records = {{testing::contactRecord(every), 0x41, 1, {}},
                    {testing::contactRecord(sparse), 0x50, 2, {}}};
  const Built built(layout);
  const archive::OrganiserCatalogue& catalogue = built.database->catalogue();
  EXPECT_EQ(catalogue.customLabels,
            (std::array<std::string, archive::kMaxCustomFieldCount>{"Birthday", "Spouse", "",
                                                                   "Exactly15chars!"}));
  const archive::ContactRecord full = *built.database->readContact(0).record;
  EXPECT_EQ(full.lastName, "\x8E\x52\x93\x63");
  EXPECT_EQ(full.lastNameReading, "\xD4\xCF\xC0");
  EXPECT_EQ(full.firstName, "\x91\xBE\x98\x59");
  EXPECT_EQ(full.firstNameReading, "\xC0\xDB\xB3");
  const std::vector<std::string> plain = {
      full.company, full.address,   full.city,      full.state,     full.zipCode,   full.country,
      full.title,   full.custom[0], full.custom[1], full.custom[2], full.custom[3], full.note};
  EXPECT_EQ(plain, (std::vector<std::string>{"f2", "f8", "f9", "f10", "f11", "f12", "f13", "f14",
                                             "f15", "f16", "f17", "f18"}));
  for (int p = 0; p < 5; ++p) {
    EXPECT_EQ(full.phones[p].value, "f" + std::to_string(p + 3));
    EXPECT_EQ(full.phones[p].label, p);
  }
  EXPECT_EQ(full.category, 1);
  const archive::ContactRecord few = *built.database->readContact(1).record;
  EXPECT_EQ(few.firstName, "Ann");
  EXPECT_EQ(few.lastName, "");
  EXPECT_EQ(few.lastNameReading, "");
  EXPECT_EQ(few.phones[4].value, "ann@example.org");
  EXPECT_EQ(few.phones[4].label, 0);
  EXPECT_EQ(few.phones[1].label, 6);
  EXPECT_EQ(few.phones[2].label, 7);
  EXPECT_EQ(few.phones[3].label, 15);
  EXPECT_TRUE(few.isPrivate);
}

TEST(HandheldRecords, TodoPriorityCompletedAndDueDate) {
  struct Case {
    std::uint16_t due;
    std::uint8_t flags;
    std::optional<std::array<int, 3>> day;
    std::int64_t priority;
    bool completed;
  };
  const std::vector<Case> cases = {
      {0xFFFF, 1, std::nullopt, 1, false},
      {packDate(2021, 2, 28), 0x85, std::array{2021, 2, 28}, 5, true},
      {packDate(1904, 1, 1), 0x03, std::array{1904, 1, 1}, 3, false},
      {packDate(2031, 12, 31), 0xFF, std::array{2031, 12, 31}, 127, true},
      {packDate(2024, 2, 29), 0x00, std::array{2024, 2, 29}, 0, false},
  };
  PdbPlan layout;
  layout.name = "ToDoDB";
  layout.creator = "todo";
  layout.appInfo = testing::categoryAppInfo({"Unfiled"}, 282);
  for (const Case& c : cases) {
    layout.records.push_back({testing::todoRecord(c.due, c.flags, "Call", ""), 0x40, 1, {}});
  }
  const Built built(layout);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    const archive::TodoRecord todo = *built.database->readTodo(static_cast<int>(i)).record;
    ASSERT_EQ(todo.dueDate.has_value(), cases[i].day.has_value());
    if (todo.dueDate) {
      EXPECT_EQ((std::array{todo.dueDate->year, todo.dueDate->month, todo.dueDate->day}),
                *cases[i].day);
    }
    EXPECT_EQ(todo.priority, cases[i].priority);
    EXPECT_EQ(todo.completed, cases[i].completed);
    EXPECT_EQ(todo.description, "Call");
    EXPECT_EQ(todo.note, "");
  }
}

TEST(HandheldRecords, RecognitionByTypeAndCreator) {
  struct Case {
    std::string type, creator, message;
  };
  const std::vector<Case> cases = {
      // The later applications' creators under another name than their records' database.
      {"DATA", "PDat", "is another database of the later handhelds' Calendar"},
      {"DATA", "PAdd", "is another database of the later handhelds' Contacts"},
      {"DATA", "PTod", "is another database of the later handhelds' Tasks"},
      {"DATA", "PMem", "is another database of the later handhelds' Memos"},
      {"TEXt", "REAd", "(type TEXt, creator REAd) is not a date book"},
      {"appl", "date", "(type appl, creator date) is not a date book"},
      {std::string("DA\0\x9A", 4), "date", "(type DA\\x00\\x9A, creator date)"},
  };
  for (const Case& c : cases) {
    PdbPlan layout;
    layout.name = "SomeDB-" + c.creator;
    layout.type = c.type;
    layout.creator = c.creator;
    const PdbBytes bytes = buildPdb(layout);
    std::string error;
    EXPECT_FALSE(HandheldDatabase::open(bytes, error).has_value());
    EXPECT_NE(error.find("The database \"SomeDB-" + c.creator + "\""), std::string::npos) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(looksLikeHandheldDatabase(bytes), c.type[2] != '\0');
  }
  const std::string desktop = std::string(
                                  "\x00\x01"
                                  "BD",
                                  4) +
                              std::string(200, 'x');
  EXPECT_FALSE(looksLikeHandheldDatabase(
      std::span(reinterpret_cast<const unsigned char*>(desktop.data()), desktop.size())));
}

}  // namespace
}  // namespace vessory::handheld
