// A handheld's to-do carries its days as year, month and day: a day no calendar has (a month 13,
// an April 31, a February 29 of a common year, a year past 9999) writes no DUE, no COMPLETED and
// no repeat, and the day next to it does.

#include <gtest/gtest.h>

#include <string>

#include "archive/format.h"
#include "calendar/calendar_reading.h"
#include "calendar/calendar_text.h"
#include "calendar/todo_component.h"

namespace vessory::testing {
namespace {

using archive::CalendarDate;

std::string written(const archive::TodoRecord& record) {
  std::string error;
  const auto text = archive::TextConverter::open("windows-1252", error);
  const auto clock = calendar::ZoneClock::open("UTC");
  const archive::OrganiserCatalogue catalogue;
  const calendar::TodoContext context{
      *clock, *text, catalogue,
      icaltime_from_timet_with_zone(kStampTime, 0, icaltimezone_get_utc_timezone())};
  std::string out;
  calendar::appendComponent(calendar::buildTodo(record, "uid", context).get(), out);
  return out;
}

TEST(TodoDays, ADayNoCalendarHasWritesNoDateAndItsNeighbourDoes) {
  const struct {
    CalendarDate day;
    bool real;
  } cases[] = {{{0, 1, 1}, false},     {{10000, 1, 1}, false}, {{2006, 12, 31}, true},
               {{2006, 0, 1}, false},  {{2006, 13, 1}, false}, {{2006, 1, 0}, false},
               {{2006, 4, 31}, false}, {{2006, 4, 30}, true},  {{2006, 2, 29}, false},
               {{2004, 2, 29}, true},  {{1900, 2, 29}, false}, {{2000, 2, 29}, true}};
  for (const auto& c : cases) {
    const std::string at = std::to_string(c.day.year) + "-" + std::to_string(c.day.month) + "-" +
                           std::to_string(c.day.day);
    archive::TodoRecord due;
    due.dueDate = c.day;
    EXPECT_EQ(written(due).find("\r\nDUE;VALUE=DATE:") != std::string::npos, c.real) << at;
    archive::TodoRecord done;
    done.completed = true;
    done.completionDate = c.day;
    EXPECT_EQ(written(done).find("\r\nCOMPLETED:") != std::string::npos, c.real) << at;
    archive::TodoRecord repeating = due;
    repeating.dueDate = CalendarDate{2006, 5, 1};
    repeating.repeatStart = c.day;
    repeating.repeat.isRepeating = true;
    repeating.repeat.brand = archive::kRepeatDaily;
    repeating.repeat.endDate = -1;
    EXPECT_EQ(written(repeating).find("\r\nRRULE:") != std::string::npos, c.real) << at;
  }
}

}  // namespace
}  // namespace vessory::testing
