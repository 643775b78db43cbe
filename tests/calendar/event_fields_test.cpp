// The fields of an event besides its times' repeat and text: end, alarm, class, category, and
// which records become events at all.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"

namespace vessory::testing {
namespace {

RecordPlan eventRecord(const std::string& description = "Dentist") {
  RecordPlan r;
  r.description = description;
  r.note = "";
  r.startTime = utcSeconds({2024, 6, 3}, 10);
  r.endTime = utcSeconds({2024, 6, 3}, 11);
  return r;
}

RecordPlan withAlarm(std::uint32_t units, std::uint32_t type) {
  RecordPlan r = eventRecord();
  r.alarmSet = 1;
  r.alarmAdvanceUnits = units;
  r.alarmAdvanceType = type;
  return r;
}

// The alarm's trigger in seconds from the start, or a text saying why there is none to read.
std::string triggerOf(icalcomponent* event) {
  if (icalcomponent_count_components(event, ICAL_VALARM_COMPONENT) != 1) return "no alarm";
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  if (valueOf(alarm, ICAL_ACTION_PROPERTY) != "DISPLAY") return "not DISPLAY";
  const char* text = icalcomponent_get_description(alarm);
  if (text == nullptr || std::string(text) != "Dentist") return "no description";
  const icaltriggertype trigger =
      icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
  return std::to_string(icaldurationtype_as_int(trigger.duration));
}

TEST(AlarmTest, AdvanceInMinutesHoursAndDaysBeforeTheStart) {
  const CalendarExport out = exportRecords(
      {withAlarm(15, 0), withAlarm(2, 1), withAlarm(3, 2), withAlarm(0, 0), withAlarm(0, 2)});
  ReadCalendar calendar(out.text);
  ASSERT_TRUE(calendar.clean()) << out.text;
  ASSERT_EQ(calendar.size(), 5u);
  EXPECT_EQ(triggerOf(calendar.event(0)), "-900");
  EXPECT_EQ(triggerOf(calendar.event(1)), "-7200");
  EXPECT_EQ(triggerOf(calendar.event(2)), "-259200");
  EXPECT_EQ(triggerOf(calendar.event(3)), "0");
  EXPECT_EQ(triggerOf(calendar.event(4)), "0");
  EXPECT_TRUE(out.messages.size() == 1) << out.messages.size();
}

TEST(AlarmTest, NoAlarmWithoutTheFlagOrWithAdvanceMinusOne) {
  RecordPlan unset = withAlarm(15, 0);
  unset.alarmSet = 0;
  const CalendarExport out = exportRecords({unset, withAlarm(0xFFFFFFFF, 0)});
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(triggerOf(calendar.event(0)), "no alarm");
  EXPECT_EQ(triggerOf(calendar.event(1)), "no alarm");
}

// A display alarm without a text is not one (libical's reader drops an empty DESCRIPTION).
TEST(AlarmTest, AlarmOfAnEventWithoutDescriptionStillSaysSomething) {
  RecordPlan silent = withAlarm(10, 0);
  silent.description = "";
  const CalendarExport out = exportRecords({silent});
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 1u);
  icalcomponent* alarm =
      icalcomponent_get_first_component(calendar.event(0), ICAL_VALARM_COMPONENT);
  ASSERT_NE(alarm, nullptr);
  const char* text = icalcomponent_get_description(alarm);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(std::string(text), "");
}

TEST(AlarmTest, UnknownUnitIsReportedAndLeavesTheAlarmOut) {
  const CalendarExport out = exportRecords({eventRecord("Plain"), withAlarm(5, 3)});
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(triggerOf(calendar.event(1)), "no alarm");
  ASSERT_EQ(out.messages.size(), 2u);
  EXPECT_EQ(out.messages[0],
            "Record 2 (\"Dentist\"): unknown alarm unit 3; written without an alarm");
}

// An end before the start, or at it (RFC 5545 wants DTEND later than DTSTART), gives no DTEND.
TEST(EventFieldsTest, EndBeforeOrAtTheStartGivesNoEndAndAllDayEndsTheNextDay) {
  RecordPlan backwards = eventRecord(), instant = eventRecord(), yearEnd = eventRecord(),
             leap = eventRecord();
  backwards.endTime = backwards.startTime - 1;
  instant.endTime = instant.startTime;
  yearEnd.untimed = leap.untimed = 1;
  yearEnd.startTime = utcSeconds({2024, 12, 31}, 15);
  leap.startTime = utcSeconds({2024, 2, 28});
  yearEnd.endTime = leap.endTime = 0;  // an all-day event's end is its day, whatever was stored
  ReadCalendar calendar(exportRecords({backwards, instant, yearEnd, leap}).text);
  ASSERT_TRUE(calendar.clean());
  ASSERT_EQ(calendar.size(), 4u);
  EXPECT_EQ(countOf(calendar.event(0), ICAL_DTEND_PROPERTY), 0);
  EXPECT_EQ(countOf(calendar.event(1), ICAL_DTEND_PROPERTY), 0);
  EXPECT_EQ(valueOf(calendar.event(2), ICAL_DTSTART_PROPERTY), "20241231");
  EXPECT_EQ(valueOf(calendar.event(2), ICAL_DTEND_PROPERTY), "20250101");
  EXPECT_EQ(valueOf(calendar.event(3), ICAL_DTEND_PROPERTY), "20240229");
}

TEST(EventFieldsTest, PrivateRecordsAreClassPrivate) {
  RecordPlan secret = eventRecord();
  secret.isPrivate = 1;
  ReadCalendar calendar(exportRecords({eventRecord(), secret}).text);
  ASSERT_EQ(calendar.size(), 2u);
  EXPECT_EQ(countOf(calendar.event(0), ICAL_CLASS_PROPERTY), 0);
  EXPECT_EQ(valueOf(calendar.event(1), ICAL_CLASS_PROPERTY), "PRIVATE");
}

TEST(EventFieldsTest, CategoryIsFoundByTheIndexItsEntryCarries) {
  HeaderPlan header;
  header.categories = {
      CategoryPlan{3, 10, 0, "Personal", "Pers"}, CategoryPlan{1, 11, 0, "Business", "Busi"},
      CategoryPlan{0, 12, 0, "Unfiled", "Unf"}, CategoryPlan{4, 13, 0, "B\xFCro", "B\xFC"},
      CategoryPlan{5, 14, 0, "", ""}};
  std::vector<RecordPlan> records;
  for (std::uint32_t category : {1u, 3u, 2u, 0u, 4u, 0xFFFFFFFFu, 5u}) {
    records.push_back(eventRecord());
    records.back().category = category;
  }
  const std::string text = exportRecords(records, "UTC", header).text;
  EXPECT_EQ(text.find("CATEGORIES:\r\n"), std::string::npos);  // libical's reader drops it
  ReadCalendar calendar(text);
  ASSERT_EQ(calendar.size(), 7u);
  const std::vector<std::string> names = {"Business", "Personal", "", "", "B\u00FCro", "", ""};
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(valueOf(calendar.event(i), ICAL_CATEGORIES_PROPERTY), names[i]) << "record " << i;
    EXPECT_EQ(countOf(calendar.event(i), ICAL_CATEGORIES_PROPERTY), names[i].empty() ? 0 : 1);
  }
}

// The header line a handheld journal puts first ("##", two characters, '@' + the category) is
// bookkeeping: it leaves the note, and its category is the event's when the archive has it.
TEST(EventFieldsTest, JournalHeaderLineLeavesTheNoteAndGivesTheCategory) {
  HeaderPlan header;
  header.categories = {CategoryPlan{1, 10, 0, "Business", "Busi"},
                       CategoryPlan{2, 11, 0, "Personal", "Pers"}};
  const struct {
    std::string note;
    std::uint32_t category;
    std::string description;  // "" for none
    std::string categories;   // "" for none
  } rows[] = {
      {"##xyB\n9:00 am: Up", 1, "9:00 am: Up", "Personal"},
      {"##xyB\r\nline one\r\nline two", 0, "line one\nline two", "Personal"},
      {"##xyB\rx", 0, "x", "Personal"},
      {"##xyB", 1, "", "Personal"},
      {"##xyA\n", 2, "", "Business"},
      {"##xyE\nx", 1, "x", "Business"},  // a category the archive lacks: the record's
      {"##xy@\nx", 2, "x", "Personal"},  // Unfiled names none: the record's
      {"## Shopping\nmilk", 0, "## Shopping\nmilk", ""},
      {"##xyBC\nx", 0, "##xyBC\nx", ""},
      {"##xyb\nx", 1, "##xyb\nx", "Business"},
      {"##xyP\nx", 0, "##xyP\nx", ""},
      {"#xyB\nx", 0, "#xyB\nx", ""},
      {"##xB", 0, "##xB", ""},
      {"x\n##xyB\ny", 0, "x\n##xyB\ny", ""},
  };
  std::vector<RecordPlan> records;
  for (const auto& row : rows) {
    records.push_back(eventRecord());
    records.back().note = row.note;
    records.back().category = row.category;
  }
  ReadCalendar calendar(exportRecords(records, "UTC", header).text);
  ASSERT_EQ(calendar.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].note);
    EXPECT_EQ(valueOf(calendar.event(i), ICAL_DESCRIPTION_PROPERTY).empty(),
              rows[i].description.empty());
    const char* text = icalcomponent_get_description(calendar.event(i));
    EXPECT_EQ(text == nullptr ? "" : std::string(text), rows[i].description);
    EXPECT_EQ(valueOf(calendar.event(i), ICAL_CATEGORIES_PROPERTY), rows[i].categories);
  }
}

TEST(EventFieldsTest, CalendarCarriesItsProductStampAndVersion) {
  const CalendarExport out = exportRecords({eventRecord()});
  ASSERT_EQ(out.text.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_NE(out.text.find("\r\nPRODID:-//Vessory//Vessory 1.0//EN\r\n"), std::string::npos);
  EXPECT_NE(out.text.find("\r\nVERSION:2.0\r\n"), std::string::npos);
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_DTSTAMP_PROPERTY), "20231114T221320Z");
  EXPECT_TRUE(out.text.ends_with("END:VEVENT\r\nEND:VCALENDAR\r\n"));
}

std::vector<RecordPlan> withStatuses(const std::vector<std::uint32_t>& statuses) {
  std::vector<RecordPlan> records;
  for (std::uint32_t status : statuses) {
    records.push_back(eventRecord("status " + std::to_string(status)));
    records.back().status = status;
  }
  return records;
}

TEST(DeletedRecordsTest, AreLeftOutUnlessAskedForAndCounted) {
  const std::vector<RecordPlan> records = withStatuses({0, 4, 1, 5, 2, 0x0C, 8});
  const CalendarExport out = exportRecords(records);
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string kept = icalcomponent_get_summary(calendar.event(i));
    EXPECT_TRUE(kept == "status 0" || kept == "status 1" || kept == "status 2" ||
                kept == "status 8")
        << kept;
  }
  EXPECT_EQ(out.tally.deletedLeftOut, 3);
  EXPECT_EQ(out.messages.back(),
            "All Done!\r\n\r\nThe calendar has been placed in:\r\n" + kCalendarPath +
                "\r\n\r\n4 events written (0 repeating, 0 all-day), times as the clock showed "
                "them in UTC.\r\n3 records left out: 3 deleted on the desktop.");

  exporting::CalendarSettings settings = testSettings();
  settings.includeDeleted = true;
  const CalendarExport all = exportCalendar(ArchiveBuilder().archive(records).bytes(), settings);
  EXPECT_EQ(ReadCalendar(all.text).size(), 7u);
  EXPECT_EQ(all.tally.deletedLeftOut, 0);
}

TEST(DeletedRecordsTest, SummaryCountsRepeatingAndAllDayEventsInTheSingular) {
  RecordPlan daily = eventRecord();
  daily.repeatFlag = 0xFFFF;
  daily.untimed = 1;
  const CalendarExport out = exportRecords({daily});
  EXPECT_EQ(out.messages.back(),
            "All Done!\r\n\r\nThe calendar has been placed in:\r\n" + kCalendarPath +
                "\r\n\r\n1 event written (1 repeating, 1 all-day), times as the clock showed "
                "them in UTC.\r\nNo records left out.");
}

}  // namespace
}  // namespace vessory::testing
