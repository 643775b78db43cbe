// To-do records as VTODOs: each rule checked on the component as written and read back through
// libical, as a calendar program reads it.

#include "calendar/todo_component.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "calendar/calendar_reading.h"
#include "calendar/calendar_text.h"

namespace vessory::testing {
namespace {

using archive::TodoRecord;
using calendar::ZoneClock;

struct Catalogue : archive::OrganiserCatalogue {
  Catalogue() {
    kind = archive::RecordKind::kTodo;
    categories = {{3, "Work"}, {1, "Haus & Garten"}, {5, "Caf\xE9"}, {6, ""}};
    identity = "0a1b2c3d";
  }
};

// A to-do written with the tests' context, then parsed back from its text.
class TodoTest : public ::testing::Test {
 protected:
  struct Parsed {
    std::string text;
    std::unique_ptr<icalcomponent, calendar::ComponentFree> todo;
    std::string value(icalproperty_kind kind) const { return valueOf(todo.get(), kind); }
    int count(icalproperty_kind kind) const { return countOf(todo.get(), kind); }
  };

  Parsed write(const TodoRecord& record, const std::string& zone = "UTC") {
    const auto clock = ZoneClock::open(zone);
    EXPECT_NE(clock, nullptr) << zone;
    const calendar::TodoContext context{
        *clock, *converter_, catalogue_,
        icaltime_from_timet_with_zone(kStampTime, 0, icaltimezone_get_utc_timezone())};
    Parsed parsed;
    const std::string uid = calendar::todoUids(catalogue_).next(record.recordId);
    calendar::appendComponent(calendar::buildTodo(record, uid, context).get(), parsed.text);
    parsed.todo.reset(icalcomponent_new_from_string(parsed.text.c_str()));
    EXPECT_NE(parsed.todo, nullptr) << parsed.text;
    return parsed;
  }

  Catalogue catalogue_;
  std::unique_ptr<archive::TextConverter> converter_ = [] {
    std::string error;
    return archive::TextConverter::open("windows-1252", error);
  }();
};

TodoRecord moment(std::int64_t seconds) {
  TodoRecord r;
  r.dueMoment = seconds;
  return r;
}

TodoRecord day(int year, int month, int dayOfMonth) {
  TodoRecord r;
  r.dueDate = archive::CalendarDate{year, month, dayOfMonth};
  return r;
}

TEST_F(TodoTest, DueIsTheLocalDayOrNothingForTheDesktopsNoDate) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    TodoRecord record;
    std::string zone;
    std::string due;  // "" for none
  } cases[] = {
      {moment(1074142800), "America/New_York", "20040115"},  // local midnight in winter
      {moment(1088913600), "America/New_York", "20040704"},  // and in summer
      {moment(1078979400), "America/New_York", "20040310"},  // late in the evening
      {moment(1956373200), "America/New_York", "20311230"},  // the last day with a date
      {moment(1956459600), "America/New_York", ""},          // the no-date day
      {moment(1956545999), "America/New_York", ""},          // after it
      {moment(1956441600), "America/New_York", "20311230"},  // 31st in UTC, 30th in New York
      {moment(1956488399), "Australia/Sydney", ""},          // the no-date day in Sydney
      {moment(1117584000), "Australia/Sydney", "20050601"},  // UTC midnight, morning there
      {moment(946616400), "America/New_York", "19991231"},
      {moment(0), "UTC", "19700101"},
      {moment(-86400 * 365), "UTC", ""},  // before 1970: no archive holds it
      {moment(-1), "UTC", ""},
      {moment(kMax), "Pacific/Kiritimati", ""},
      {moment(kMin), "UTC", ""},
      {TodoRecord{}, "UTC", ""},
      {day(2031, 12, 31), "UTC", "20311231"},  // the handheld's own day is taken as it is
      {day(2004, 2, 29), "Australia/Sydney", "20040229"},
      {day(2005, 2, 29), "UTC", ""},
      {day(2005, 13, 1), "UTC", ""},
      {day(0, 1, 1), "UTC", ""},
  };
  for (const auto& c : cases) {
    const Parsed p = write(c.record, c.zone);
    SCOPED_TRACE(p.text);
    if (c.due.empty()) {
      EXPECT_EQ(p.count(ICAL_DUE_PROPERTY), 0);
      continue;
    }
    ASSERT_EQ(p.count(ICAL_DUE_PROPERTY), 1);
    EXPECT_NE(p.text.find("DUE;VALUE=DATE:" + c.due + "\r\n"), std::string::npos);
  }
}

TEST_F(TodoTest, PriorityStatusClassCategoryAndUidFollowTheRecord) {
  const struct {
    std::int64_t id, priority;
    bool completed, isPrivate;
    std::int64_t category;
    std::string priorityValue, status, percent, klass, categories;  // "" for none
  } cases[] = {
      {0, 0, false, false, 0, "", "NEEDS-ACTION", "", "", ""},
      {1, 1, true, false, 3, "1", "COMPLETED", "100", "", "Work"},
      {9830401, 2, true, true, 1, "3", "COMPLETED", "100", "PRIVATE", "Haus & Garten"},
      {4294967295, 3, false, true, 5, "5", "NEEDS-ACTION", "", "PRIVATE", "Caf\u00E9"},
      {2, 4, false, false, 6, "7", "NEEDS-ACTION", "", "", ""},  // an empty name
      {3, 5, false, false, 2, "9", "NEEDS-ACTION", "", "", ""},  // an index the list lacks
      {4, 6, false, false, 0, "", "NEEDS-ACTION", "", "", ""},
      {5, -1, false, false, 0, "", "NEEDS-ACTION", "", "", ""},
  };
  for (const auto& c : cases) {
    TodoRecord r;
    r.recordId = c.id;
    r.priority = c.priority;
    r.completed = c.completed;
    r.isPrivate = c.isPrivate;
    r.category = c.category;
    const Parsed p = write(r);
    SCOPED_TRACE(p.text);
    EXPECT_EQ(p.value(ICAL_UID_PROPERTY), "todo-" + std::to_string(c.id) + "-0a1b2c3d@vessory");
    EXPECT_EQ(timeText(icalcomponent_get_dtstamp(p.todo.get())), "2023-11-14 22:13:20Z");
    const std::pair<icalproperty_kind, std::string> properties[] = {
        {ICAL_PRIORITY_PROPERTY, c.priorityValue},
        {ICAL_STATUS_PROPERTY, c.status},
        {ICAL_PERCENTCOMPLETE_PROPERTY, c.percent},
        {ICAL_CLASS_PROPERTY, c.klass},
        {ICAL_CATEGORIES_PROPERTY, c.categories}};
    for (const auto& [kind, value] : properties) {
      EXPECT_EQ(p.value(kind), value);
      EXPECT_EQ(p.count(kind), value.empty() ? 0 : 1);
    }
  }
}

TEST_F(TodoTest, TextIsUtf8WithNewlinesAndAnEmptyNoteIsLeftOut) {
  const struct {
    std::string description, note, summary, text;  // text "" for no DESCRIPTION
  } cases[] = {
      {"Buy milk, eggs; bread \\ butter", "shop;\r\nopen till 8\r\n",
       "Buy milk, eggs; bread \\ butter", "shop;\nopen till 8\n"},
      {"Caf\xE9 \x80 \x81",
       "\xAB"
       "NULL\xBB",
       "Caf\u00E9 \u20AC \uFFFD", ""},
      {"", "A to-do without a description", "", "A to-do without a description"},
  };
  for (const auto& c : cases) {
    TodoRecord r;
    r.description = c.description;
    r.note = c.note;
    const Parsed p = write(r);
    SCOPED_TRACE(p.text);
    // libical's reader drops an empty SUMMARY, so its line is looked for in the text.
    EXPECT_NE(p.text.find("\r\nSUMMARY:" + c.summary.substr(0, 4)), std::string::npos);
    const auto text = [](const char* t) { return std::string(t == nullptr ? "" : t); };
    EXPECT_EQ(text(icalcomponent_get_summary(p.todo.get())), c.summary);
    EXPECT_EQ(text(icalcomponent_get_description(p.todo.get())), c.text);
    EXPECT_EQ(p.count(ICAL_DESCRIPTION_PROPERTY), c.text.empty() ? 0 : 1);
  }
}

}  // namespace
}  // namespace vessory::testing
