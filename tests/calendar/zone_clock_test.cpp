// ZoneClock's wall times against libical's own conversion of a 64-bit time_t, which the clock
// does by hand so that a 32-bit time_t (WebAssembly) cannot wrap: every moment of a sweep from
// 1800 to 2200 in zones east, west and south of UTC, and a few dates spelled out.

#include "calendar/zone_clock.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <cstdint>
#include <string>

namespace vessory::calendar {
namespace {

static_assert(sizeof(time_t) == 8, "the reference needs a 64-bit time_t");

std::string text(const WallTime& t) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return buffer;
}

const char* const kZones[] = {"UTC", "Europe/Berlin", "America/New_York", "Australia/Sydney",
                              "Asia/Kolkata"};

TEST(ZoneClockTest, EveryMomentOfFourCenturiesIsTheWallTimeLibicalGives) {
  constexpr std::int64_t kFrom = -5364662400;  // 1800-01-01
  constexpr std::int64_t kTo = 7258118400;     // 2200-01-01
  // A step of a prime number of seconds lands on every time of day and every date in turn.
  constexpr std::int64_t kStep = 86400 * 7 + 3607;
  for (const char* name : kZones) {
    const std::unique_ptr<ZoneClock> clock = ZoneClock::open(name);
    ASSERT_NE(clock, nullptr) << name;
    icaltimezone* zone = icaltimezone_get_builtin_timezone(name);
    for (std::int64_t at = kFrom; at < kTo; at += kStep) {
      const icaltimetype want = icaltime_from_timet_with_zone(static_cast<time_t>(at), 0, zone);
      const WallTime got = clock->wallTime(at);
      const WallTime wanted{want.year, want.month, want.day, want.hour, want.minute, want.second};
      if (text(got) != text(wanted)) {
        ADD_FAILURE() << name << " at " << at << ": " << text(got) << ", libical " << text(wanted);
        break;
      }
    }
  }
}

TEST(ZoneClockTest, DatesAroundTheEdgesOfA32BitClock) {
  struct Case {
    const char* zone;
    std::int64_t utc;
    const char* wall;
  };
  const Case cases[] = {
      {"UTC", -1, "1969-12-31 23:59:59"},
      {"UTC", 2147483647, "2038-01-19 03:14:07"},
      {"UTC", 2147483648, "2038-01-19 03:14:08"},
      {"UTC", -2147483649, "1901-12-13 20:45:51"},
      {"UTC", 951782400, "2000-02-29 00:00:00"},
      {"UTC", 4107542400, "2100-03-01 00:00:00"},
      {"Europe/Berlin", 2194560000, "2039-07-18 02:00:00"},     // summer time, past 2038
      {"America/New_York", 2208988800, "2039-12-31 19:00:00"},  // winter time
  };
  for (const Case& c : cases) {
    const std::unique_ptr<ZoneClock> clock = ZoneClock::open(c.zone);
    ASSERT_NE(clock, nullptr) << c.zone;
    EXPECT_EQ(text(clock->wallTime(c.utc)), c.wall) << c.zone << " " << c.utc;
  }
}

}  // namespace
}  // namespace vessory::calendar
