// Damaged databases lose as little as they can: a header or record list that cannot be read
// fails the opening, a missing or short app-info block loses only the names, and a record that
// cannot be read is left out alone. Truncation at every length and byte flips of the real
// samples never crash and give sane records.

#include <gtest/gtest.h>

#include <algorithm>

#include "handheld/handheld_database.h"
#include "handheld/sample_files.h"
#include "support/handheld_builder.h"

namespace vessory::handheld {
namespace {

using archive::RecordKind;
using testing::EventPlan;
using testing::packDate;
using testing::PdbBytes;
using testing::PdbPlan;
using testing::RepeatPlan;

constexpr std::int64_t kFirstDay = -2082844800;     // 1904-01-01 00:00
constexpr std::int64_t kAfterLastDay = 1956614400;  // 2032-01-01 00:00

std::size_t offsetOf(const PdbBytes& file, std::int64_t index) {
  const std::size_t at = 78 + 8 * static_cast<std::size_t>(index);
  return std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
         std::size_t{file[at + 2]} << 8 | file[at + 3];
}

// Record `index` as one line: its fields when read, else the message that left it out.
std::string nonEmpty(const std::string& message) {
  EXPECT_FALSE(message.empty());
  return message;
}

std::string summary(const HandheldDatabase& database, std::int64_t index) {
  std::string out;
  const auto add = [&out](const auto&... parts) { ((out += parts, out += '|'), ...); };
  switch (database.kind()) {
    case RecordKind::kDatebook: {
      const auto read = database.readEvent(index);
      if (!read.record) return nonEmpty(read.leftOut);
      const archive::EventRecord& e = *read.record;
      add(std::to_string(e.startTime), std::to_string(e.endTime), e.description, e.note,
          std::to_string(e.repeat.brand), std::to_string(e.repeat.exceptionCount));
      EXPECT_TRUE(e.startTime >= kFirstDay && e.startTime < kAfterLastDay) << e.startTime;
      EXPECT_TRUE(e.untimed == 0 || e.untimed == 1);
      EXPECT_LE(e.repeat.brand, 5);
      return out;
    }
    case RecordKind::kAddress: {
      const auto read = database.readContact(index);
      if (!read.record) return nonEmpty(read.leftOut);
      const archive::ContactRecord& c = *read.record;
      add(c.lastName, c.firstName, c.company, c.note);
      for (const archive::Phone& phone : c.phones) {
        EXPECT_TRUE(phone.label >= 0 && phone.label <= 15);
        add(std::to_string(phone.label), phone.value);
      }
      return out;
    }
    case RecordKind::kTodo: {
      const auto read = database.readTodo(index);
      if (!read.record) return nonEmpty(read.leftOut);
      const archive::TodoRecord& t = *read.record;
      add(t.description, t.note, std::to_string(t.priority), t.dueDate ? "due" : "none");
      EXPECT_TRUE(t.priority >= 0 && t.priority <= 127);
      if (t.dueDate) {
        EXPECT_TRUE(t.dueDate->month >= 1 && t.dueDate->month <= 12);
      }
      return out;
    }
    case RecordKind::kMemo: {
      const auto read = database.readMemo(index);
      if (!read.record) return nonEmpty(read.leftOut);
      EXPECT_EQ(read.record->text.find('\0'), std::string::npos);
      return read.record->text;
    }
  }
  return out;
}

bool leftOut(const HandheldDatabase& database, std::int64_t index) {
  return summary(database, index).rfind("Record " + std::to_string(index + 1), 0) == 0;
}

TEST(HandheldDamage, HeaderOrRecordListNotWholeFailsTheOpening) {
  PdbPlan layout;
  for (int i = 0; i < 5; ++i) layout.records.push_back({testing::eventRecord({}), 0x40, 1, {}});
  const PdbBytes whole = testing::buildPdb(layout);
  const std::vector<std::pair<std::size_t, std::string>> cases = {
      {0,
       "The file is too short for a handheld database: 0 bytes, where the header alone takes 78."},
      {77,
       "The file is too short for a handheld database: 77 bytes, where the header alone takes 78."},
      {78,
       "The database \"DatebookDB\" lists 5 records, but the file ends inside that list "
       "(78 bytes of the 118 it needs)."},
      {117,
       "The database \"DatebookDB\" lists 5 records, but the file ends inside that list "
       "(117 bytes of the 118 it needs)."},
  };
  for (const auto& [size, message] : cases) {
    std::string error;
    EXPECT_FALSE(HandheldDatabase::open(std::span(whole).first(size), error).has_value());
    EXPECT_EQ(error, message);
  }
}

TEST(HandheldDamage, AppInfoMissingOrShortLosesOnlyTheNames) {
  struct Case {
    std::string creator;
    std::optional<PdbBytes> appInfo;
    std::size_t appInfoField;  // written over the header's app-info offset when not 0
    std::uint32_t nextList;
    std::string notice;
  };
  const std::vector<Case> cases = {
      {"date", std::nullopt, 0, 0,
       "has no app-info block: records are read without category names."},
      {"date", testing::categoryAppInfo({"Unfiled", "Work"}, 279), 0, 0,
       "has an app-info block of 279 bytes, where the date book writes 280: records"},
      {"addr", testing::categoryAppInfo({"Unfiled", "Work"}, 637), 0, 0,
       "where the address book writes 638: records are read without category names or custom "
       "labels."},
      {"memo", testing::categoryAppInfo({"Unfiled", "Work"}, 282), 0xFFFFFF00, 0,
       "has its app-info offset 4294967040 outside its data"},
      {"todo", testing::categoryAppInfo({"Unfiled", "Work"}, 282), 20, 0,
       "has its app-info offset 20 outside its data"},
      {"todo", testing::categoryAppInfo({"Unfiled", "Work"}, 282), 0, 1234,
       "points to a further record list, which is not read."},
  };
  for (const Case& c : cases) {
    PdbPlan layout;
    layout.creator = c.creator;
    layout.appInfo = c.appInfo;
    layout.nextRecordList = c.nextList;
    const PdbBytes record = c.creator == "date"   ? testing::eventRecord({})
                            : c.creator == "addr" ? testing::contactRecord({})
                            : c.creator == "todo" ? testing::todoRecord(0xFFFF, 1, "a", "")
                                                  : testing::memoRecord("a");
    layout.records.push_back({record, 0x41, 7, {}});
    PdbBytes bytes = testing::buildPdb(layout);
    for (int i = 0; c.appInfoField != 0 && i < 4; ++i) {
      bytes[52 + i] = static_cast<unsigned char>(c.appInfoField >> (24 - 8 * i));
    }
    std::string error;
    const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
    ASSERT_TRUE(database.has_value()) << error;
    EXPECT_TRUE(database->incomplete());
    ASSERT_EQ(database->notices().size(), 1u);
    EXPECT_NE(database->notices()[0].find(c.notice), std::string::npos) << database->notices()[0];
    if (c.nextList == 0) {
      EXPECT_TRUE(database->catalogue().categories.empty());
      EXPECT_EQ(database->catalogue().customLabels,
                (std::array<std::string, archive::kMaxCustomFieldCount>{}));
    }
    EXPECT_FALSE(leftOut(*database, 0)) << summary(*database, 0);
  }
}

// The middle record of three carries the fault; its neighbours read as ever.
struct RecordFault {
  std::string creator;
  PdbBytes middle;
  std::optional<std::uint32_t> offset;
  std::string reason;
};

PdbBytes without(PdbBytes bytes, std::size_t count) {
  bytes.resize(bytes.size() - std::min(count, bytes.size()));
  return bytes;
}

std::vector<RecordFault> recordFaults() {
  const auto event = [](auto change) {
    EventPlan layout;
    change(layout);
    return testing::eventRecord(layout);
  };
  testing::PdbContactPlan contact;
  contact.fields[0] = "Lee";
  contact.fields[1] = "Ann";
  contact.extraPresence = 1u << 18;
  return {
      {"date", {}, 0xFFFFFF00, "its offset 4294967040 lies outside the file"},
      {"date", {}, 10, "its offset 10 lies inside the header"},
      {"date", {}, 103, "its offset 103 lies before the previous record's"},
      {"date", PdbBytes(7, 0), {}, "it is shorter than an event's fixed 8 bytes"},
      {"date", without(event([](EventPlan&) {}), 1), {}, "its description lacks its closing NUL"},
      {"date",
       without(event([](EventPlan& s) { s.note = "n"; }), 1),
       {},
       "its note lacks its closing NUL"},
      {"date",
       event([](EventPlan& s) { s.date = packDate(2021, 0, 5); }),
       {},
       "its date EA05 names no day"},
      {"date",
       event([](EventPlan& s) { s.date = packDate(2021, 13, 5); }),
       {},
       "its date EBA5 names no day"},
      {"date",
       event([](EventPlan& s) { s.date = packDate(2021, 2, 0); }),
       {},
       "its date EA40 names no day"},
      {"date",
       event([](EventPlan& s) { s.date = packDate(2021, 2, 29); }),
       {},
       "its date EA5D names no day"},
      {"date", event([](EventPlan& s) { s.start = 0x1800; }), {}, "its time 1800 is no time"},
      {"date", event([](EventPlan& s) { s.end = 0x0A3C; }), {}, "its time 0A3C is no time"},
      {"date",
       event([](EventPlan& s) { s.repeat = RepeatPlan{6}; }),
       {},
       "its repeat kind 6 is unknown"},
      {"date",
       event([](EventPlan& s) {
         s.repeat = RepeatPlan{1, packDate(2022, 4, 31)};
       }),
       {},
       "its repeat end date EC9F names no day"},
      {"date",
       event([](EventPlan& s) { s.exceptions = std::vector<std::uint16_t>{0}; }),
       {},
       "an exception date 0000 names no day"},
      {"date",
       without(event([](EventPlan& s) {
                 s.exceptions = std::vector<std::uint16_t>{packDate(2021, 3, 6)};
                 s.description.reset();
               }),
               1),
       {},
       "its exceptions run past the record's end"},
      {"date",
       without(event([](EventPlan& s) {
                 s.repeat = RepeatPlan{};
                 s.description.reset();
               }),
               1),
       {},
       "its repeat runs past the record's end"},
      {"date",
       without(event([](EventPlan& s) {
                 s.alarm = std::array<std::uint8_t, 2>{5, 0};
                 s.description.reset();
               }),
               1),
       {},
       "its alarm runs past the record's end"},
      {"addr",
       testing::contactRecord(contact),
       {},
       "its presence bits promise 3 texts; it holds 2"},
      {"addr", PdbBytes(8, 0), {}, "it is shorter than an address's fixed 9 bytes"},
      {"todo",
       testing::todoRecord(packDate(2021, 13, 1), 1, "a", ""),
       {},
       "its due date EBA1 names no day"},
      {"todo",
       without(testing::todoRecord(0xFFFF, 1, "a", ""), 1),
       {},
       "its note lacks its closing NUL"},
      {"todo", PdbBytes{0xFF, 0xFF, 1, 'a'}, {}, "its description lacks its closing NUL"},
      {"memo", PdbBytes{'a', 'b'}, {}, "its text lacks its closing NUL"},
      {"memo", PdbBytes{}, {}, "its text lacks its closing NUL"},
  };
}

TEST(HandheldDamage, RecordThatCannotBeReadIsLeftOutAlone) {
  for (const RecordFault& fault : recordFaults()) {
    SCOPED_TRACE(fault.reason);
    PdbPlan layout;
    layout.creator = fault.creator;
    const PdbBytes good = fault.creator == "date"   ? testing::eventRecord({})
                          : fault.creator == "addr" ? testing::contactRecord({})
                          : fault.creator == "todo" ? testing::todoRecord(0xFFFF, 2, "b", "c")
                                                    : testing::memoRecord("memo");
    layout.records = {
        {good, 0x40, 500, {}}, {fault.middle, 0x40, 501, fault.offset}, {good, 0x40, 502, {}}};
    const PdbBytes bytes = testing::buildPdb(layout);
    std::string error;
    const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
    ASSERT_TRUE(database.has_value()) << error;
    EXPECT_EQ(summary(*database, 1), "Record 2 (unique id 501) left out: " + fault.reason + ".");
    EXPECT_EQ(summary(*database, 0), summary(*database, 2));
    EXPECT_FALSE(leftOut(*database, 0)) << summary(*database, 0);
  }
}

TEST(HandheldDamage, AskingOutsideTheDatabaseOrOfAnotherKind) {
  PdbPlan layout;
  layout.records = {{testing::eventRecord({}), 0x40, 500, {}}};
  const PdbBytes bytes = testing::buildPdb(layout);
  std::string error;
  const HandheldDatabase database = *HandheldDatabase::open(bytes, error);
  EXPECT_EQ(database.readEvent(1).leftOut,
            "Record 2 does not exist: the database holds 1 records.");
  EXPECT_EQ(database.readEvent(-1).leftOut,
            "Record 0 does not exist: the database holds 1 records.");
  EXPECT_EQ(database.readMemo(0).leftOut, "Record 1 (unique id 500) is not a memo pad record.");
  EXPECT_FALSE(database.readContact(0).record.has_value());
  EXPECT_FALSE(database.readTodo(0).record.has_value());
}

// Each sample cut at every length: the opening fails only inside the header or record list,
// a record wholly before the cut reads as in the whole file, and any other is read or left out.
TEST(HandheldDamage, SamplesTruncatedAtEveryLength) {
  for (const std::string& name : testing::sampleNames()) {
    if (name == "ExpenseDB.pdb") continue;
    SCOPED_TRACE(name);
    const PdbBytes file = testing::loadSample(name);
    std::string error;
    const HandheldDatabase whole = *HandheldDatabase::open(file, error);
    const std::size_t listEnd = 78 + 8 * static_cast<std::size_t>(whole.recordCount());
    std::vector<std::string> expected;
    std::vector<std::size_t> ends;
    for (std::int64_t i = 0; i < whole.recordCount(); ++i) {
      expected.push_back(summary(whole, i));
      ends.push_back(i + 1 < whole.recordCount() ? offsetOf(file, i + 1) : file.size());
    }
    for (std::size_t size = 0; size <= file.size(); ++size) {
      const std::optional<HandheldDatabase> cut =
          HandheldDatabase::open(std::span(file).first(size), error);
      ASSERT_EQ(cut.has_value(), size >= listEnd) << size;
      if (!cut) continue;
      // Every sample's app-info block is exactly the size its application writes.
      EXPECT_EQ(cut->incomplete(), size < offsetOf(file, 0)) << size;
      for (std::int64_t i = 0; i < cut->recordCount(); ++i) {
        const std::string got = summary(*cut, i);
        if (ends[i] <= size) {
          EXPECT_EQ(got, expected[i]) << size;
        } else if (got != expected[i]) {
          EXPECT_TRUE(leftOut(*cut, i)) << size << ": " << got;
        }
      }
    }
  }
}

// Each byte of each sample flipped two ways: never a crash, every record read or left out with
// a message, and the values the summary checks in range.
TEST(HandheldDamage, SamplesWithAByteFlipped) {
  for (const std::string& name : testing::sampleNames()) {
    SCOPED_TRACE(name);
    const PdbBytes file = testing::loadSample(name);
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (unsigned char mask : {0xFF, 0x21}) {
        PdbBytes flipped = file;
        flipped[at] ^= mask;
        std::string error;
        const std::optional<HandheldDatabase> database = HandheldDatabase::open(flipped, error);
        if (!database) {
          EXPECT_FALSE(error.empty());
          continue;
        }
        for (std::int64_t i = 0; i < database->recordCount(); ++i) summary(*database, i);
      }
    }
  }
}

}  // namespace
}  // namespace vessory::handheld
