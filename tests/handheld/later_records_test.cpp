// Later databases built by the test writer from the format note: every field, blob, label code
// and flag reaches the record; damage costs only what it touches; truncation at every length
// and byte flips of a database of each kind never crash.

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "handheld/handheld_database.h"
#include "support/later_builder.h"

namespace vessory::handheld {
namespace {

using testing::AttendeePlan;
using testing::EventPlan;
using testing::LaterContactPlan;
using testing::packDate;
using testing::PdbBytes;
using testing::PdbRecordPlan;
using testing::RepeatPlan;
using testing::TaskPlan;
using testing::ZonePlan;

// Blobs and parts one after the other.
PdbBytes operator+(PdbBytes a, const PdbBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

PdbBytes bigEndian(std::uint16_t word) {
  return {static_cast<unsigned char>(word >> 8), static_cast<unsigned char>(word)};
}

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t k20060401 = 1143849600;

// The database reads the bytes in place: they must outlive it, so a temporary is refused.
HandheldDatabase openBuilt(PdbBytes&&) = delete;
HandheldDatabase openBuilt(const PdbBytes& bytes) {
  std::string error;
  std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
  EXPECT_TRUE(database) << error;
  return std::move(*database);
}

PdbBytes database(const std::string& creator, const std::vector<PdbBytes>& records) {
  std::vector<PdbRecordPlan> recordPlans;
  for (std::size_t i = 0; i < records.size(); ++i) {
    recordPlans.push_back({records[i], 0x40, static_cast<std::uint32_t>(100 + i), std::nullopt});
  }
  return testing::buildPdb(testing::laterPdb(creator, std::move(recordPlans)));
}

EventPlan event(std::uint16_t start, std::uint16_t end) {
  EventPlan wanted;
  wanted.start = start;
  wanted.end = end;
  wanted.date = packDate(2006, 4, 1);
  return wanted;
}

TEST(LaterCalendar, EveryPartAndBlob) {
  const PdbBytes zone = testing::zoneBlob(ZonePlan{});
  const PdbBytes meeting =
      testing::meetingBlob(4, 1, {{0, "Ann", "ann@x"}, {1, "Bob", "bob@x"}, {2, "Dee", ""}});
  const PdbBytes unknown = testing::blob("XyZ1", {1, 2, 3});
  const PdbBytes bytes = database(
      "PDat", {testing::calendarRecord(event(0x0900, 0x0A00), "Room 1", zone + unknown + meeting),
               testing::calendarRecord(event(0x1700, 0x0000), std::nullopt),
               testing::calendarRecord(event(0xFEFE, 0xFEFE), std::nullopt, zone),
               testing::calendarRecord(event(0x0900, 0x0A00), "", {0x42, 0x64, 0x30}),
               testing::calendarRecord(event(0x0000, 0x0000), std::nullopt)});
  const HandheldDatabase db = openBuilt(bytes);
  EXPECT_TRUE(db.later());
  EXPECT_EQ(db.kind(), archive::RecordKind::kDatebook);

  const RecordRead<archive::EventRecord> full = db.readEvent(0);
  ASSERT_TRUE(full.record) << full.leftOut;
  EXPECT_EQ(full.record->location, "Room 1");
  ASSERT_TRUE(full.record->zone);
  const archive::EventZone& z = *full.record->zone;
  EXPECT_EQ(std::tie(z.offset, z.adjustment, z.name), std::make_tuple(60, 60, "Berlin"));
  EXPECT_EQ(z.daylightStart, (archive::ZoneRule{2, 0, 4, 3}));
  EXPECT_EQ(z.daylightEnd, (archive::ZoneRule{3, 0, 4, 10}));
  ASSERT_TRUE(full.record->meeting);
  EXPECT_EQ(full.record->meeting->status, 4);
  EXPECT_EQ(full.record->meeting->showAs, 1);
  ASSERT_EQ(full.record->meeting->attendees.size(), 3u);
  EXPECT_EQ(full.record->meeting->attendees[1].email, "bob@x");
  EXPECT_EQ(full.record->meeting->attendees[2].role, 2);
  EXPECT_FALSE(full.remarks.junkTail || full.remarks.badBlob);

  // Midnight is stored as 00:00: the end of the start's day.
  const RecordRead<archive::EventRecord> midnight = db.readEvent(1);
  ASSERT_TRUE(midnight.record);
  EXPECT_EQ(midnight.record->endTime, k20060401 + kDay);

  // From midnight to midnight: the whole day.
  const RecordRead<archive::EventRecord> wholeDay = db.readEvent(4);
  ASSERT_TRUE(wholeDay.record);
  EXPECT_EQ(wholeDay.record->endTime - wholeDay.record->startTime, kDay);

  // A start hour above 23 is no time of day; the day keeps no zone.
  const RecordRead<archive::EventRecord> untimed = db.readEvent(2);
  ASSERT_TRUE(untimed.record);
  EXPECT_EQ(untimed.record->untimed, 1);
  EXPECT_FALSE(untimed.record->zone);

  const RecordRead<archive::EventRecord> junk = db.readEvent(3);
  ASSERT_TRUE(junk.record);
  EXPECT_TRUE(junk.remarks.junkTail);
  EXPECT_EQ(junk.record->startTime, k20060401 + 9 * 3600);
}

TEST(LaterCalendar, BlobsThatDoNotHoldTogetherAreSkipped) {
  PdbBytes noNul = testing::zoneBlob(ZonePlan{});
  noNul.back() = 'x';
  ZonePlan badRule;
  badRule.start = {2, 7, 4, 3};  // weekday 7
  ZonePlan unusedRules;
  unusedRules.adjustment = 0;
  unusedRules.start = {99, 99, 99, 99};
  const PdbBytes shortMeeting = testing::blob("Bd01", {0, 0, 0, 1, 1, 'A', 0});
  const struct {
    PdbBytes tail;
    bool zone;
    bool bad;
    bool junk;
  } cases[] = {{noNul, false, true, false},
               {testing::zoneBlob(badRule), false, true, false},
               {testing::zoneBlob(unusedRules), true, false, false},
               {shortMeeting, false, true, false},
               {PdbBytes{'B', 'd', '0', '0', 0, 40, 1, 2}, false, false, true}};
  for (const auto& c : cases) {
    const PdbBytes dbBytes =
        database("PDat", {testing::calendarRecord(event(0x0900, 0x0A00), "", c.tail)});
    const HandheldDatabase db = openBuilt(dbBytes);
    const RecordRead<archive::EventRecord> read = db.readEvent(0);
    ASSERT_TRUE(read.record) << read.leftOut;
    EXPECT_EQ(read.record->zone.has_value(), c.zone);
    EXPECT_EQ(read.remarks.badBlob, c.bad);
    EXPECT_EQ(read.remarks.junkTail, c.junk);
  }
}

TEST(LaterContacts, EveryFieldByThePresenceBits) {
  LaterContactPlan wanted;
  for (int i = 0; i < 39; ++i) wanted.fields[i] = "f" + std::to_string(i);
  wanted.fields[0] = std::string("Suzuki\x01suzuki");
  wanted.phoneLabels = {7, 6, 5, 4, 3, 2, 1};
  wanted.addressLabels = {1, 2, 0};
  wanted.imLabels = {4, 0};
  wanted.addressReserved = 0xF000;
  wanted.imReserved = 0xFF00;
  wanted.companyOffset = 200;  // wrong: never used
  wanted.birthday = packDate(1970, 5, 12);
  wanted.birthdayFlags = 1;
  wanted.reminderDays = 3;
  const PdbBytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 9, 9};
  wanted.tail = testing::blob("Bd00", PdbBytes{0, 0} + jpeg) +
                testing::blob("Bd01", bigEndian(packDate(1999, 3, 12)) + PdbBytes{0, 0, 0, 0});
  const PdbBytes dbBytes = database("PAdd", {testing::laterContactRecord(wanted)});
  const HandheldDatabase db = openBuilt(dbBytes);
  const RecordRead<archive::ContactRecord> read = db.readContact(0);
  ASSERT_TRUE(read.record) << read.leftOut;
  const archive::ContactRecord& c = *read.record;
  EXPECT_EQ(std::tie(c.lastName, c.lastNameReading, c.firstName, c.company, c.title),
            std::make_tuple("Suzuki", "suzuki", "f1", "f2", "f3"));
  for (int p = 0; p < 7; ++p) {
    EXPECT_EQ(c.phones[p].value, "f" + std::to_string(4 + p));
    EXPECT_EQ(c.phones[p].label, 7 - p);
  }
  EXPECT_EQ(c.instantMessages[0].value, "f11");
  EXPECT_EQ(c.instantMessages[0].label, 4);
  EXPECT_EQ(c.instantMessages[1].label, 0);
  EXPECT_EQ(c.webSite, "f13");
  for (int i = 0; i < 9; ++i) EXPECT_EQ(c.custom[i], "f" + std::to_string(14 + i));
  EXPECT_EQ(std::tie(c.address, c.city, c.state, c.zipCode, c.country),
            std::make_tuple("f23", "f24", "f25", "f26", "f27"));
  EXPECT_EQ(c.addressLabel, 1);
  EXPECT_EQ(c.moreAddresses[0].street, "f28");
  EXPECT_EQ(c.moreAddresses[0].label, 2);
  EXPECT_EQ(c.moreAddresses[1].country, "f37");
  EXPECT_EQ(c.moreAddresses[1].label, 0);
  EXPECT_EQ(c.note, "f38");
  ASSERT_TRUE(c.birthday && c.anniversary);
  EXPECT_EQ(std::tie(c.birthday->year, c.birthday->month, c.birthday->day),
            std::make_tuple(1970, 5, 12));
  EXPECT_EQ(std::tie(c.anniversary->year, c.anniversary->month, c.anniversary->day),
            std::make_tuple(1999, 3, 12));
  EXPECT_EQ(c.photo, std::string(jpeg.begin(), jpeg.end()));
}

TEST(LaterContacts, PicturesAndAnniversariesOnlyWhenTheyAreWhatTheySay) {
  const struct {
    PdbBytes tail;
    bool photo;
    bool anniversary;
    bool junk;
  } cases[] = {{testing::blob("Bd00", {0, 0, 0x89, 'P', 'N', 'G'}), false, false, false},
               {testing::blob("Bd00", {0, 0}), false, false, false},
               {testing::blob("Bd01", {0xFF, 0xFF, 0, 0, 0, 0, 0, 1}), false, false, false},
               {testing::blob("Bd01", bigEndian(packDate(1999, 13, 1))), false, false, false},
               {testing::blob("Bd00", {0, 0, 0xFF, 0xD8}) + PdbBytes{1, 2, 3}, true, false, true}};
  for (const auto& c : cases) {
    LaterContactPlan wanted;
    wanted.fields[0] = "Name";
    wanted.tail = c.tail;
    const PdbBytes dbBytes = database("PAdd", {testing::laterContactRecord(wanted)});
    const HandheldDatabase db = openBuilt(dbBytes);
    const RecordRead<archive::ContactRecord> read = db.readContact(0);
    ASSERT_TRUE(read.record) << read.leftOut;
    EXPECT_EQ(!read.record->photo.empty(), c.photo);
    EXPECT_EQ(read.record->anniversary.has_value(), c.anniversary);
    EXPECT_EQ(read.remarks.junkTail, c.junk);
  }
}

TEST(LaterTasks, EveryPartTheFlagsAnnounce) {
  TaskPlan full;
  full.recordFlags = 0x0003;
  full.priority = 4;
  full.due = packDate(2006, 3, 1);
  full.completion = packDate(2006, 3, 4);
  full.alarm = std::array<std::uint8_t, 4>{9, 30, 0, 2};
  full.repeatStart = packDate(2006, 2, 27);
  full.repeat = RepeatPlan{3, 0xFFFF, 1, 4 * 7 + 5, 0, 0, 0};  // the last Friday
  full.description = "Pay";
  full.note = "rent";
  TaskPlan none;
  none.due = 0xFFFF;
  none.description = "x";
  none.tail = {0};
  const PdbBytes dbBytes = database("PTod", {testing::taskRecord(full), testing::taskRecord(none)});
  const HandheldDatabase db = openBuilt(dbBytes);
  const RecordRead<archive::TodoRecord> read = db.readTodo(0);
  ASSERT_TRUE(read.record) << read.leftOut;
  const archive::TodoRecord& t = *read.record;
  EXPECT_TRUE(t.completed);
  EXPECT_TRUE(t.repeatsAfterCompletion);
  EXPECT_EQ(t.priority, 4);
  ASSERT_TRUE(t.dueDate && t.completionDate && t.alarm && t.repeatStart);
  EXPECT_EQ(t.completionDate->day, 4);
  EXPECT_EQ(std::tie(t.alarm->hour, t.alarm->minute, t.alarm->daysBefore),
            std::make_tuple(9, 30, 2));
  EXPECT_EQ(t.repeatStart->day, 27);
  EXPECT_EQ(t.repeat.brand, 3);
  EXPECT_EQ(t.repeat.brandWeekIndex, 4);
  EXPECT_EQ(t.repeat.brandDayIndex, 5);
  EXPECT_EQ(std::tie(t.description, t.note), std::make_tuple("Pay", "rent"));

  const RecordRead<archive::TodoRecord> empty = db.readTodo(1);
  ASSERT_TRUE(empty.record) << empty.leftOut;
  EXPECT_FALSE(empty.record->dueDate);
  EXPECT_TRUE(empty.remarks.junkTail);
}

TEST(LaterTasks, RecordsThatCannotBeReadAreLeftOutAlone) {
  TaskPlan month13;
  month13.due = 0xC1AC;
  TaskPlan kind7;
  kind7.due = packDate(2006, 1, 1);
  kind7.repeat = RepeatPlan{7};
  TaskPlan good;
  good.description = "kept";
  const PdbBytes dbBytes = database(
      "PTod",
      {testing::taskRecord(month13), testing::taskRecord(kind7), testing::taskRecord(good)});
  const HandheldDatabase db = openBuilt(dbBytes);
  EXPECT_NE(db.readTodo(0).leftOut.find("names no day"), std::string::npos);
  EXPECT_NE(db.readTodo(1).leftOut.find("repeat kind 7"), std::string::npos);
  ASSERT_TRUE(db.readTodo(2).record);
  EXPECT_EQ(db.readTodo(2).record->description, "kept");
}

TEST(LaterDatabases, RecognisedByCreatorAndName) {
  testing::PdbPlan index = testing::laterPdb("PAdd", {});
  index.name = "ContactsANIndex-PAdd";
  std::string error;
  EXPECT_FALSE(HandheldDatabase::open(testing::buildPdb(index), error));
  EXPECT_NE(error.find("ContactsANIndex-PAdd"), std::string::npos);

  testing::PdbPlan version = testing::laterPdb("PMem", {{testing::memoRecord("m"), 0x40, 1, {}}});
  version.version = 0;
  const PdbBytes oldBytes = testing::buildPdb(version);
  const HandheldDatabase old = openBuilt(oldBytes);
  EXPECT_TRUE(old.incomplete());
  EXPECT_EQ(old.readMemo(0).record->text, "m");

  // Below the Contacts' 1092 bytes: no category names or custom labels.
  const PdbBytes shortInfo = testing::buildPdb(
      testing::laterPdb("PAdd", {}, testing::contactsAppInfo({"Unfiled", "Business"}, {}, 1000)));
  EXPECT_TRUE(openBuilt(shortInfo).incomplete());
  const PdbBytes larger = testing::buildPdb(testing::laterPdb(
      "PAdd", {}, testing::contactsAppInfo({"Unfiled"}, std::vector<std::string>(23, "L"), 1200)));
  const HandheldDatabase big = openBuilt(larger);
  EXPECT_FALSE(big.incomplete());
  EXPECT_EQ(big.catalogue().customLabels[8], "L");
}

// Every prefix of a database of each kind, and every byte flipped: opening either fails with a
// message or gives records that are read or left out with one.
TEST(LaterDamage, TruncatedAndFlippedDatabasesOfEachKind) {
  LaterContactPlan contact;
  contact.fields[0] = "A";
  contact.fields[38] = "note";
  contact.birthday = packDate(1980, 1, 1);
  contact.tail = testing::blob("Bd00", {0, 0, 0xFF, 0xD8, 1});
  TaskPlan task;
  task.due = packDate(2006, 1, 1);
  task.alarm = std::array<std::uint8_t, 4>{9, 0, 0, 1};
  task.repeat = RepeatPlan{};
  task.description = "t";
  EventPlan repeating = event(0x0900, 0x0A00);
  repeating.repeat = RepeatPlan{};
  repeating.exceptions = std::vector<std::uint16_t>{packDate(2006, 4, 2)};
  const PdbBytes meeting = testing::meetingBlob(0, 0, {{1, "B", "b@x"}});
  const std::vector<PdbBytes> databases = {
      database("PDat", {testing::calendarRecord(repeating, "L", testing::zoneBlob({}) + meeting)}),
      database("PAdd", {testing::laterContactRecord(contact)}),
      database("PTod", {testing::taskRecord(task)}),
      database("PMem", {testing::memoRecord("memo")})};
  auto readAll = [](const PdbBytes& bytes) {
    std::string error;
    const std::optional<HandheldDatabase> db = HandheldDatabase::open(bytes, error);
    if (!db) {
      EXPECT_FALSE(error.empty());
      return;
    }
    for (std::int64_t i = 0; i < db->recordCount(); ++i) {
      bool read = false;
      std::string leftOut;
      switch (db->kind()) {
        case archive::RecordKind::kDatebook: {
          const auto r = db->readEvent(i);
          read = r.record.has_value();
          leftOut = r.leftOut;
          if (read && r.record->zone) {
            EXPECT_LT(std::abs(r.record->zone->offset), 1440);
          }
          break;
        }
        case archive::RecordKind::kAddress: {
          const auto r = db->readContact(i);
          read = r.record.has_value();
          leftOut = r.leftOut;
          break;
        }
        case archive::RecordKind::kTodo: {
          const auto r = db->readTodo(i);
          read = r.record.has_value();
          leftOut = r.leftOut;
          if (read && r.record->dueDate) {
            EXPECT_LE(r.record->dueDate->month, 12);
          }
          break;
        }
        case archive::RecordKind::kMemo: {
          const auto r = db->readMemo(i);
          read = r.record.has_value();
          leftOut = r.leftOut;
          break;
        }
      }
      EXPECT_NE(read, !leftOut.empty());
    }
  };
  for (const PdbBytes& whole : databases) {
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      readAll(PdbBytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    }
    for (std::size_t at = 0; at < whole.size(); ++at) {
      for (unsigned char flip : {0x01, 0x80, 0xFF}) {
        PdbBytes damaged = whole;
        damaged[at] ^= flip;
        readAll(damaged);
      }
    }
  }
}

}  // namespace
}  // namespace vessory::handheld
