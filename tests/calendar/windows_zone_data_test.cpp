// libical's zone data as the Windows build ships it: found beside the program, complete, and
// with each zone's history, so that times convert as in the Linux build.

#include <gtest/gtest.h>

#include <string>

#include "calendar/windows_zone_names.h"
#include "calendar/zone_clock.h"

namespace vessory::calendar {
namespace {

// Seconds since 1970 of a UTC date and time.
std::int64_t utc(int year, int month, int day, int hour) {
  icaltimetype t = icaltime_null_time();
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  return icaltime_as_timet_with_zone(t, icaltimezone_get_utc_timezone());
}

int hourIn(const std::string& zone, std::int64_t utcSeconds) {
  auto clock = ZoneClock::open(zone);
  if (!clock) {
    ADD_FAILURE() << "no zone " << zone;
    return -1;
  }
  return clock->wallTime(utcSeconds).hour;
}

TEST(WindowsZoneDataTest, EveryZoneOfTheWindowsTableIsKnown) {
  // CLDR still uses some old names (Asia/Calcutta); the shipped data must answer them too.
  for (const WindowsZoneName& row : windowsZoneNames()) {
    EXPECT_NE(ZoneClock::open(std::string(row.iana)), nullptr) << row.iana;
  }
}

TEST(WindowsZoneDataTest, UnknownZonesAreRefused) {
  EXPECT_EQ(ZoneClock::open("Europe/Atlantis"), nullptr);
  EXPECT_EQ(ZoneClock::open(""), nullptr);
}

TEST(WindowsZoneDataTest, DaylightSavingFollowsTheRulesOfTheDay) {
  // New York moved the start of summer time from April to March in 2007.
  EXPECT_EQ(hourIn("America/New_York", utc(2003, 3, 20, 12)), 7);
  EXPECT_EQ(hourIn("America/New_York", utc(2007, 3, 20, 12)), 8);
  // Berlin's summer time ended in September until 1995, in October from 1996 on.
  EXPECT_EQ(hourIn("Europe/Berlin", utc(1995, 10, 15, 12)), 13);
  EXPECT_EQ(hourIn("Europe/Berlin", utc(1996, 10, 15, 12)), 14);
  // Sydney keeps summer time in January; India is five and a half hours ahead all year.
  EXPECT_EQ(hourIn("Australia/Sydney", utc(2001, 1, 10, 0)), 11);
  auto kolkata = ZoneClock::open("Asia/Kolkata");
  ASSERT_NE(kolkata, nullptr);
  const WallTime noon = kolkata->wallTime(utc(1999, 6, 1, 12));
  EXPECT_EQ(noon.hour * 60 + noon.minute, 17 * 60 + 30);
}

TEST(WindowsZoneDataTest, UtcNeedsNoData) { EXPECT_EQ(hourIn("UTC", utc(2000, 1, 1, 23)), 23); }

}  // namespace
}  // namespace vessory::calendar
