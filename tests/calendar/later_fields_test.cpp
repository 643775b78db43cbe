// What a later handheld's records add to the calendar file: zones as VTIMEZONEs built from their
// rules (read back through libical, probed around each change), TZIDs, UNTIL in UTC, location,
// meetings; and to the to-dos: completion, repeats and alarms.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "archive/format.h"
#include "calendar/calendar_event.h"
#include "calendar/calendar_reading.h"
#include "calendar/calendar_text.h"
#include "calendar/todo_component.h"
#include "calendar/zone_rules.h"

namespace vessory::testing {
namespace {

using archive::EventZone;
using archive::ZoneRule;
using calendar::Component;

constexpr std::int64_t k20060305 = 1141516800;  // 2006-03-05 00:00, a Sunday

EventZone berlin() {
  return EventZone{60, 60, ZoneRule{2, 0, 4, 3}, ZoneRule{3, 0, 4, 10}, "Berlin"};
}
EventZone sydney() {
  return EventZone{600, 60, ZoneRule{2, 0, 0, 10}, ZoneRule{3, 0, 0, 4}, "Sydney"};
}
EventZone kolkata() { return EventZone{330, 0, ZoneRule{9, 9, 9, 9}, ZoneRule{}, "Kolkata"}; }

std::unique_ptr<archive::TextConverter> converter() {
  std::string error;
  return archive::TextConverter::open("windows-1252", error);
}

// The offset, in minutes, the VTIMEZONE written for `zone` gives at `utc` (seconds since 1970).
int vtimezoneOffset(const EventZone& zone, std::int64_t utc) {
  auto text = converter();
  calendar::ZoneTable table(*text);
  table.tzid(zone);
  std::string out;
  table.appendNewTimezones(out);
  icalcomponent* component = icalcomponent_new_from_string(out.c_str());
  EXPECT_NE(component, nullptr) << out;
  icaltimezone* parsed = icaltimezone_new();
  icaltimezone_set_component(parsed, component);
  icaltimetype at = icaltime_from_timet_with_zone(static_cast<time_t>(utc), 0,
                                                  icaltimezone_get_utc_timezone());
  int daylight = 0;
  const int offset = icaltimezone_get_utc_offset_of_utc_time(parsed, &at, &daylight);
  icaltimezone_free(parsed, 1);
  return offset / 60;
}

TEST(LaterZones, VtimezoneGivesTheRulesOffsetsAroundEachChange) {
  const struct {
    EventZone zone;
    std::int64_t utc;
    int offset;
  } cases[] = {
      {berlin(), 1143334740, 60},    // 2006-03-26 00:59 UTC
      {berlin(), 1143334860, 120},   // 01:01
      {berlin(), 1162083540, 120},   // 2006-10-29 00:59 UTC
      {berlin(), 1162083660, 60},    // 01:01
      {sydney(), 1143907140, 660},   // 2006-04-01 15:59 UTC: before 3:00 daylight on 04-02
      {sydney(), 1143907260, 600},   // 16:01
      {sydney(), 1159631940, 600},   // 2006-09-30 15:59 UTC: before 2:00 standard on 10-01
      {sydney(), 1159632060, 660},   // 16:01
      {kolkata(), 1150000000, 330},
      // Half-hour offset west of Greenwich, the second Sunday of March: 2007-03-11 05:30 UTC.
      {EventZone{-210, 60, ZoneRule{2, 0, 1, 3}, ZoneRule{2, 0, 0, 11}, ""}, 1173590940, -210},
      {EventZone{-210, 60, ZoneRule{2, 0, 1, 3}, ZoneRule{2, 0, 0, 11}, ""}, 1173591060, -150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zone.name + " " + std::to_string(c.utc));
    EXPECT_EQ(vtimezoneOffset(c.zone, c.utc), c.offset);
  }
}

// Daylight saving ending at midnight on the last `weekday` of February: in a leap year whose
// February starts on that weekday, the 29th.
EventZone februaryEnd(int weekday) {
  return EventZone{-180, 60, ZoneRule{0, 0, 2, 10}, ZoneRule{0, weekday, 4, 2}, "Brasilia"};
}

TEST(LaterZones, OffsetAtTheWallClockAndUniqueNames) {
  const struct {
    EventZone zone;
    calendar::WallTime time;
    std::int64_t offset;
  } cases[] = {
      {berlin(), {2006, 3, 26, 1, 59, 0}, 60},
      {berlin(), {2006, 3, 26, 3, 0, 0}, 120},
      {berlin(), {1969, 7, 1, 12, 0, 0}, 60},  // before 1970 the rules had not begun
      {sydney(), {2006, 1, 1, 9, 0, 0}, 660},
      {sydney(), {2006, 6, 1, 9, 0, 0}, 600},
      {sydney(), {2006, 12, 1, 9, 0, 0}, 660},
      {berlin(), {2006, 11, 1, 9, 0, 0}, 60},
      {kolkata(), {2006, 6, 1, 9, 0, 0}, 330},
      {februaryEnd(4), {2024, 2, 28, 12, 0, 0}, -120},  // ends on the 29th
      {februaryEnd(2), {2000, 2, 28, 12, 0, 0}, -120},
      {februaryEnd(1), {2100, 2, 28, 12, 0, 0}, -180},  // no 29th: ended on the 22nd
      {februaryEnd(3), {2023, 2, 28, 12, 0, 0}, -180},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zone.name + " " + std::to_string(c.time.year));
    EXPECT_EQ(calendar::offsetAt(c.zone, c.time), c.offset);
  }
  auto text = converter();
  calendar::ZoneTable table(*text);
  EventZone other = berlin();
  other.offset = 0;
  EventZone third = berlin();
  third.offset = 120;
  EventZone unnamed = kolkata();
  unnamed.name.clear();
  EXPECT_EQ(table.tzid(berlin()), "Berlin");
  EXPECT_EQ(table.tzid(other), "Berlin (2)");
  EXPECT_EQ(table.tzid(berlin()), "Berlin");
  EXPECT_EQ(table.tzid(third), "Berlin (3)");
  EXPECT_EQ(table.tzid(unnamed), "UTC+05:30");
}

// A weekly zoned meeting in Berlin with an end date, a location and attendees.
TEST(LaterEvents, ZoneMeetingAndLocationReachTheEvent) {
  archive::EventRecord record;
  record.startTime = k20060305 + 9 * 3600;
  record.endTime = record.startTime + 3600;
  record.description = "Review";
  record.note = "Agenda";
  record.location = "Room 1";
  record.zone = berlin();
  record.repeat.isRepeating = true;
  record.repeat.brand = archive::kRepeatWeekly;
  record.repeat.brandDaysMask = 1;
  record.repeat.endDate = k20060305 + 28 * 86400;
  record.repeat.exceptionCount = 1;
  record.repeat.exceptions = {k20060305 + 7 * 86400, k20060305 + 14 * 86400};  // one past the count
  record.meeting = archive::Meeting{
      4, 1, {{0, "Ann", "ann@x.org"}, {1, "Bob, Jr.", "bob@x.org"}, {2, "Cy", ""}, {2, "Dee", ""}}};
  auto text = converter();
  calendar::ZoneTable zones(*text);
  const auto clock = calendar::ZoneClock::open("UTC");
  const archive::DatebookHeader header;
  const calendar::EventContext context{*clock, *text, header,
                                       icaltime_from_timet_with_zone(kStampTime, 0,
                                                                     icaltimezone_get_utc_timezone()),
                                       &zones};
  std::string out;
  calendar::appendComponent(calendar::buildEvent(record, "uid", context).component.get(), out);
  for (const char* line : {"DTSTART;TZID=Berlin:20060305T090000", "DTEND;TZID=Berlin:20060305T100000",
                           "EXDATE;TZID=Berlin:20060312T090000", "UNTIL=20060402T215959Z",
                           "LOCATION:Room 1", "ORGANIZER;CN=Ann:mailto:ann@x.org",
                           "STATUS:CANCELLED", "TRANSP:TRANSPARENT",
                           "DESCRIPTION:Agenda\\nAttendees: Cy\\, Dee"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
  }
  EXPECT_EQ(out.find("20060319T090000"), std::string::npos) << out;
  Component event(icalcomponent_new_from_string(out.c_str()));
  ASSERT_NE(event, nullptr) << out;
  EXPECT_EQ(countOf(event.get(), ICAL_ATTENDEE_PROPERTY), 1);
  icalproperty* attendee = icalcomponent_get_first_property(event.get(), ICAL_ATTENDEE_PROPERTY);
  EXPECT_STREQ(icalproperty_get_attendee(attendee), "mailto:bob@x.org");
  icalparameter* cn = icalproperty_get_first_parameter(attendee, ICAL_CN_PARAMETER);
  ASSERT_NE(cn, nullptr);
  EXPECT_STREQ(icalparameter_get_cn(cn), "Bob, Jr.");
  icalparameter* role = icalproperty_get_first_parameter(attendee, ICAL_ROLE_PARAMETER);
  ASSERT_NE(role, nullptr);
  EXPECT_EQ(icalparameter_get_role(role), ICAL_ROLE_REQPARTICIPANT);
}

// A zone that keeps UTC's offset all year is UTC itself to servers that read through vobject:
// its TZID is never bound, and an EXDATE or RDATE naming it makes them refuse the whole file.
// Such an event with exception or extra days goes in UTC; every other zoned event keeps its TZID.
TEST(LaterEvents, AnEventOfAZoneAtUtcAllYearWithExceptionsIsWrittenInUtc) {
  const EventZone reykjavik{0, 0, ZoneRule{}, ZoneRule{}, "Reykjav\xEDk"};
  EventZone london = berlin();
  london.offset = 0;
  london.name = "London";
  archive::EventRecord base;
  base.startTime = k20060305 + 9 * 3600;
  base.endTime = base.startTime + 3600;
  base.repeat.isRepeating = true;
  base.repeat.brand = archive::kRepeatDaily;
  base.repeat.interval = 1;
  base.repeat.endDate = -1;
  archive::EventRecord excepted = base;
  excepted.repeat.exceptionCount = 1;
  excepted.repeat.exceptions = {k20060305 + 86400};
  // Monthly on the 30th from 30 January: February's last day is an extra day.
  archive::EventRecord thirtieth = base;
  thirtieth.startTime -= 34 * 86400;
  thirtieth.endTime -= 34 * 86400;
  thirtieth.repeat.brand = archive::kRepeatMonthlyByDate;
  thirtieth.repeat.brandDayNumber = 30;
  const struct {
    EventZone zone;
    const archive::EventRecord& record;
    std::vector<std::string> lines;
  } cases[] = {
      {reykjavik, excepted, {"DTSTART:20060305T090000Z", "DTEND:20060305T100000Z",
                             "EXDATE:20060306T090000Z"}},
      {reykjavik, base, {"DTSTART;TZID=Reykjav\xC3\xADk:20060305T090000"}},
      {reykjavik, thirtieth, {"DTSTART:20060130T090000Z", "RDATE:20060228T090000Z"}},
      {london, excepted, {"DTSTART;TZID=London:20060305T090000", "EXDATE;TZID=London:"}},
      {kolkata(), excepted, {"DTSTART;TZID=Kolkata:20060305T090000", "EXDATE;TZID=Kolkata:"}},
  };
  const auto clock = calendar::ZoneClock::open("UTC");
  const archive::DatebookHeader header;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.front());
    archive::EventRecord record = c.record;
    record.zone = c.zone;
    auto text = converter();
    calendar::ZoneTable zones(*text);
    const calendar::EventContext context{
        *clock, *text, header,
        icaltime_from_timet_with_zone(kStampTime, 0, icaltimezone_get_utc_timezone()), &zones};
    std::string out;
    calendar::appendComponent(calendar::buildEvent(record, "uid", context).component.get(), out);
    for (const std::string& line : c.lines) {
      EXPECT_NE(out.find("\r\n" + line), std::string::npos) << line << "\n" << out;
    }
    std::string timezones;
    zones.appendNewTimezones(timezones);
    // A zone no event names gets no VTIMEZONE.
    EXPECT_EQ(timezones.empty(), out.find("TZID") == std::string::npos) << timezones;
  }
}

class LaterTodos : public ::testing::Test {
 protected:
  std::string write(const archive::TodoRecord& record) {
    const auto clock = calendar::ZoneClock::open("America/Los_Angeles");
    const calendar::TodoContext context{
        *clock, *text_, catalogue_,
        icaltime_from_timet_with_zone(kStampTime, 0, icaltimezone_get_utc_timezone())};
    std::string out;
    calendar::appendComponent(calendar::buildTodo(record, "uid", context).get(), out);
    return out;
  }
  archive::OrganiserCatalogue catalogue_;
  std::unique_ptr<archive::TextConverter> text_ = converter();
};

TEST_F(LaterTodos, CompletionRepeatAndAlarm) {
  archive::TodoRecord done;
  done.description = "Pay";
  done.completed = true;
  done.completionDate = archive::CalendarDate{2000, 2, 29};
  archive::TodoRecord repeating;
  repeating.description = "Water";
  repeating.note = "the plants";
  repeating.dueDate = archive::CalendarDate{2006, 2, 2};
  repeating.repeatStart = archive::CalendarDate{2006, 2, 1};
  repeating.repeat.isRepeating = true;
  repeating.repeat.brand = archive::kRepeatMonthlyByDate;
  repeating.repeat.brandDayNumber = 31;
  repeating.repeat.endDate = -1;
  repeating.repeatsAfterCompletion = true;
  repeating.alarm = archive::TodoRecord::Alarm{16, 45, 5};
  archive::TodoRecord noDue;
  noDue.alarm = archive::TodoRecord::Alarm{9, 0, 0};
  // A day of completion on a task not done, and more days of warning than a trigger can hold.
  archive::TodoRecord open = repeating;
  open.completionDate = archive::CalendarDate{2006, 2, 3};
  open.alarm = archive::TodoRecord::Alarm{9, 0, 100000};
  // On the 30th: February's last day is added; one day is left out, the second past the count.
  archive::TodoRecord skipping = repeating;
  skipping.repeat.brandDayNumber = 30;
  skipping.repeat.exceptions = {1143676800, 1146355200};  // 2006-03-30 and -04-30, UTC
  skipping.repeat.exceptionCount = 1;
  // An alarm with no description to show, and alarms that cannot be placed.
  archive::TodoRecord silent;
  silent.dueDate = archive::CalendarDate{2006, 2, 2};
  silent.alarm = archive::TodoRecord::Alarm{9, 0, 0};
  archive::TodoRecord early = silent;
  early.alarm->daysBefore = -1;
  archive::TodoRecord unplaced = silent;
  unplaced.alarm.reset();
  unplaced.alarmSet = true;
  const struct {
    archive::TodoRecord record;
    std::vector<std::string> has;
    std::vector<std::string> lacks;
  } cases[] = {
      {done, {"COMPLETED:20000229T120000Z", "STATUS:COMPLETED"}, {"VALARM", "RRULE"}},
      {repeating,
       {"DTSTART;VALUE=DATE:20060201", "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1",
        "DESCRIPTION:the plants\\nRepeats after it is completed", "TRIGGER;RELATED=END:-P4DT7H15M",
        "ACTION:DISPLAY", "DESCRIPTION:Water"},
       {"COMPLETED"}},
      {skipping,
       {"RRULE:FREQ=MONTHLY;BYMONTHDAY=30", "RDATE;VALUE=DATE:20060228",
        "EXDATE;VALUE=DATE:20060330"},
       {"20060430"}},
      {noDue, {}, {"VALARM", "DTSTART"}},
      {open, {"STATUS:NEEDS-ACTION", "RRULE:FREQ=MONTHLY"}, {"COMPLETED:", "VALARM"}},
      {silent, {"TRIGGER;RELATED=END:PT9H", "DESCRIPTION:Reminder"}, {}},
      {early, {"DUE;VALUE=DATE:20060202"}, {"VALARM"}},
      {unplaced, {"DUE;VALUE=DATE:20060202"}, {"VALARM"}},
  };
  for (const auto& c : cases) {
    const std::string out = write(c.record);
    for (const std::string& line : c.has) EXPECT_NE(out.find(line), std::string::npos) << line << out;
    for (const std::string& line : c.lacks) EXPECT_EQ(out.find(line), std::string::npos) << line << out;
  }
}

}  // namespace
}  // namespace vessory::testing
