#include "calendar/component_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace vessory::calendar {
namespace {

// The component's text as libical itself writes it, and as appendComponentLines does.
struct BothTexts {
  std::string libical;
  std::string ours;
};

BothTexts bothTexts(icalcomponent* component) {
  BothTexts texts;
  char* text = icalcomponent_as_ical_string_r(component);
  if (text != nullptr) texts.libical = text;
  std::free(text);
  appendComponentLines(component, texts.ours);
  icalcomponent_free(component);
  return texts;
}

#define EXPECT_SAME_AS_LIBICAL(component, what)     \
  do {                                              \
    const BothTexts texts = bothTexts(component);   \
    EXPECT_EQ(texts.ours, texts.libical) << (what); \
  } while (false)

icaltimetype dateTime(int year, int month, int day, int hour, int minute, int second, bool utc) {
  icaltimetype time = icaltime_null_time();
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  if (utc) time.zone = icaltimezone_get_utc_timezone();
  return time;
}

icaltimetype date(int year, int month, int day) {
  icaltimetype time = icaltime_null_date();
  time.year = year;
  time.month = month;
  time.day = day;
  return time;
}

icalproperty* withParameter(icalproperty* property, icalparameter* parameter) {
  icalproperty_add_parameter(property, parameter);
  return property;
}

icalproperty* trigger(int minutesBefore) {
  icaltriggertype when;
  when.time = icaltime_null_time();
  when.duration = icaldurationtype_from_int(-60 * minutesBefore);
  return withParameter(icalproperty_new_trigger(when), icalparameter_new_related(ICAL_RELATED_END));
}

icalproperty* rule(const char* text) {
  return icalproperty_new_rrule(icalrecurrencetype_from_string(text));
}

icalproperty* rdate(icaltimetype day) {
  icaldatetimeperiodtype when;
  when.time = day;
  when.period = icalperiodtype_null_period();
  return icalproperty_new_rdate(when);
}

icalproperty* extra(const char* name, const char* value) {
  icalproperty* property = icalproperty_new_x(value);
  icalproperty_set_x_name(property, name);
  return property;
}

// Every kind of property the calendar and the to-do list write, with the values and parameters
// they take, and ones outside the plain layout (years past 9999, fields past two digits, negative
// numbers, a VALUE parameter, a value of another type, none, an extension property), which
// libical writes.
TEST(ComponentLinesTest, EveryPropertyIsWrittenAsLibicalWritesIt) {
  const std::vector<std::pair<const char*, std::function<icalproperty*()>>> rows = {
      {"uid", [] { return icalproperty_new_uid("todo-1-5ae256a2@vessory"); }},
      {"stamp", [] { return icalproperty_new_dtstamp(dateTime(2026, 12, 10, 1, 9, 56, true)); }},
      {"floating start",
       [] { return icalproperty_new_dtstart(dateTime(2006, 1, 2, 9, 0, 0, false)); }},
      {"start in a zone",
       [] {
         return withParameter(icalproperty_new_dtstart(dateTime(2006, 1, 2, 9, 30, 5, false)),
                              icalparameter_new_tzid("Europe/Paris"));
       }},
      {"all-day end", [] { return icalproperty_new_dtend(date(2006, 1, 3)); }},
      {"due day", [] { return icalproperty_new_due(date(2031, 12, 30)); }},
      {"due moment", [] { return icalproperty_new_due(dateTime(1, 1, 1, 0, 0, 0, true)); }},
      {"completed",
       [] { return icalproperty_new_completed(dateTime(2006, 1, 2, 12, 0, 0, true)); }},
      {"exception day", [] { return icalproperty_new_exdate(date(2006, 2, 28)); }},
      {"exception moment",
       [] { return icalproperty_new_exdate(dateTime(2006, 2, 28, 23, 59, 59, true)); }},
      {"extra day", [] { return rdate(date(2006, 3, 1)); }},
      {"priorities", [] { return icalproperty_new_priority(9); }},
      {"negative number", [] { return icalproperty_new_priority(-2147483647 - 1); }},
      {"percent", [] { return icalproperty_new_percentcomplete(100); }},
      {"sequence", [] { return icalproperty_new_sequence(0); }},
      {"status", [] { return icalproperty_new_status(ICAL_STATUS_NEEDSACTION); }},
      {"cancelled", [] { return icalproperty_new_status(ICAL_STATUS_CANCELLED); }},
      {"class", [] { return icalproperty_new_class(ICAL_CLASS_PRIVATE); }},
      {"transparent", [] { return icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT); }},
      {"action", [] { return icalproperty_new_action(ICAL_ACTION_DISPLAY); }},
      {"trigger", [] { return trigger(870); }},
      {"trigger at a moment",
       [] {
         icaltriggertype when;
         when.time = dateTime(2006, 1, 2, 8, 0, 0, true);
         when.duration = icaldurationtype_null_duration();
         return icalproperty_new_trigger(when);
       }},
      {"repeat", [] { return rule("FREQ=MONTHLY;UNTIL=20070101;BYDAY=-1FR;WKST=SU"); }},
      {"location", [] { return icalproperty_new_location("Room 4; floor 2, east"); }},
      {"category", [] { return icalproperty_new_categories("Errands, misc;x\\y"); }},
      {"comment", [] { return icalproperty_new_comment("a\nb"); }},
      {"zone id", [] { return icalproperty_new_tzid("Eastern Standard Time"); }},
      {"zone name", [] { return icalproperty_new_tzname("EST"); }},
      {"offset", [] { return icalproperty_new_tzoffsetfrom(-5 * 3600); }},
      {"organiser",
       [] {
         return withParameter(icalproperty_new_organizer("mailto:a@example.com"),
                              icalparameter_new_cn("Smith, Ann"));
       }},
      {"attendee",
       [] {
         icalproperty* attendee = icalproperty_new_attendee("mailto:b@example.com");
         icalproperty_add_parameter(attendee, icalparameter_new_cn("Bob \"B\" Jones"));
         icalproperty_add_parameter(attendee, icalparameter_new_role(ICAL_ROLE_OPTPARTICIPANT));
         return attendee;
       }},
      {"year past 9999", [] { return icalproperty_new_due(date(10000, 1, 1)); }},
      {"negative year",
       [] { return icalproperty_new_dtstart(dateTime(-1, 1, 1, 0, 0, 0, false)); }},
      {"hour past 99",
       [] { return icalproperty_new_dtstart(dateTime(2006, 1, 1, 100, 0, 0, true)); }},
      {"month past 99", [] { return icalproperty_new_due(dateTime(2006, 100, 1, 0, 0, 0, true)); }},
      {"day past 99", [] { return icalproperty_new_due(date(2006, 1, 100)); }},
      {"minute past 99",
       [] { return icalproperty_new_dtstart(dateTime(2006, 1, 1, 0, 100, 0, false)); }},
      {"second past 99",
       [] { return icalproperty_new_dtstart(dateTime(2006, 1, 1, 0, 0, 100, false)); }},
      {"VALUE parameter",
       [] {
         return withParameter(icalproperty_new_dtstart(date(2006, 1, 2)),
                              icalparameter_new_value(ICAL_VALUE_DATE));
       }},
      {"date-time on a date property", [] { return icalproperty_new_dtstamp(date(2006, 1, 2)); }},
      {"extension", [] { return extra("X-WR-NAME", "a, b; c"); }},
      {"empty text", [] { return icalproperty_new_summary(""); }},
      {"date on a text property",
       [] {
         icalproperty* summary = icalproperty_new_summary("");
         icalproperty_set_value(summary, icalvalue_new_date(date(2006, 1, 2)));
         return summary;
       }},
      {"no value", [] { return icalproperty_new(ICAL_SUMMARY_PROPERTY); }},
      {"parameter without a value",
       [] {
         return withParameter(icalproperty_new_uid("u"), icalparameter_new(ICAL_CN_PARAMETER));
       }},
  };
  for (const auto& [what, make] : rows) {
    for (icalcomponent_kind kind :
         {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT, ICAL_XDAYLIGHT_COMPONENT}) {
      icalcomponent* component = icalcomponent_new(kind);
      icalcomponent_add_property(component, make());
      icalcomponent_add_property(component, make());
      EXPECT_SAME_AS_LIBICAL(component, what);
    }
  }
}

// Components inside components, in their order: an event's alarms, a zone's rules, and an
// extension component, which libical writes.
TEST(ComponentLinesTest, InnerComponentsFollowTheProperties) {
  icalcomponent* todo = icalcomponent_new_vtodo();
  icalcomponent_add_property(todo, icalproperty_new_summary("Call"));
  for (int minutes : {0, 15, 1440 * 3 + 7}) {
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, trigger(minutes));
    icalcomponent_add_component(todo, alarm);
  }
  icalcomponent_add_property(todo, icalproperty_new_uid("u"));
  EXPECT_SAME_AS_LIBICAL(todo, "to-do with alarms");

  icalcomponent* zone = icalcomponent_new_vtimezone();
  icalcomponent_add_property(zone, icalproperty_new_tzid("Zone"));
  for (icalcomponent_kind kind : {ICAL_XSTANDARD_COMPONENT, ICAL_XDAYLIGHT_COMPONENT}) {
    icalcomponent* part = icalcomponent_new(kind);
    icalcomponent_add_property(part,
                               icalproperty_new_dtstart(dateTime(1970, 3, 29, 2, 0, 0, false)));
    icalcomponent_add_property(part, icalproperty_new_tzoffsetto(3600 * 2 + 1800));
    icalcomponent_add_property(part, rule("FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"));
    icalcomponent_add_component(zone, part);
  }
  EXPECT_SAME_AS_LIBICAL(zone, "zone");

  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent* extension = icalcomponent_new_x("X-PART");
  icalcomponent_add_property(extension, icalproperty_new_summary("inner"));
  icalcomponent_add_component(event, extension);
  EXPECT_SAME_AS_LIBICAL(event, "extension component");
  EXPECT_SAME_AS_LIBICAL(icalcomponent_new_x("X-ALONE"), "extension component alone");
}

// What texts are made of: the octets that matter to escaping (each separator libical folds at,
// each escaped or dropped octet, a quote), characters of one to four octets, octets that start
// no character, and pieces mixing them.
// clang-format off
const std::vector<std::string_view> kPieces = {
    "a", " ", ";", ":", ",", "\\", "\n", "\t", "\r", "\b", "\f", "\"",
    "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\x80", "\xFF",
    "ab ", "x\xC3\xA9;", "\xE2\x82\xAC:"};
// clang-format on

// Texts of every length up to three lines, made of one piece repeated after a run of plain
// octets, put folds at every place: before and after each separator libical folds at, inside
// and between characters of one to four octets, on the escapes and next to the line's CR LF.
TEST(ComponentLinesTest, TextsAreEscapedAndFoldedAsLibicalDoes) {
  for (const std::string_view piece : kPieces) {
    for (std::size_t lead = 0; lead < 8; ++lead) {
      for (std::size_t count = 0; count * piece.size() < 230; ++count) {
        std::string text(lead, 'q');
        for (std::size_t i = 0; i < count; ++i) text.append(piece);
        for (auto make : {icalproperty_new_summary, icalproperty_new_description,
                          icalproperty_new_categories, icalproperty_new_location}) {
          icalcomponent* event = icalcomponent_new_vevent();
          icalcomponent_add_property(event, make(text.c_str()));
          EXPECT_SAME_AS_LIBICAL(event, "\"" + text + "\"");
        }
      }
    }
  }
}

// Texts drawn at random from the same pieces.
TEST(ComponentLinesTest, MixedTextsAreWrittenAsLibicalWritesThem) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t length = random() % 200;
    for (std::size_t i = 0; i < length; ++i) text.append(kPieces[random() % kPieces.size()]);
    icalcomponent* todo = icalcomponent_new_vtodo();
    icalcomponent_add_property(todo, icalproperty_new_summary(text.c_str()));
    icalcomponent_add_property(todo, icalproperty_new_categories(text.c_str()));
    icalcomponent_add_property(todo,
                               withParameter(icalproperty_new_description(text.c_str()),
                                             icalparameter_new_altrep("http://example.com/a")));
    EXPECT_SAME_AS_LIBICAL(todo, "\"" + text + "\"");
  }
}

}  // namespace
}  // namespace vessory::calendar
