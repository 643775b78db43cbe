// The Windows zone name table generated from CLDR, and the system's zone through it.

#include "calendar/windows_zone_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calendar/system_zone.h"

namespace vessory::calendar {
namespace {

TEST(WindowsZoneNamesTest, TableHoldsCldrsMainZones) {
  const auto table = windowsZoneNames();
  EXPECT_GT(table.size(), 100u);
  std::set<std::string_view> names;
  for (const WindowsZoneName& row : table) {
    EXPECT_FALSE(row.iana.empty()) << row.windows;
    EXPECT_TRUE(names.insert(row.windows).second) << row.windows << " appears twice";
  }
}

TEST(WindowsZoneNamesTest, KnownWindowsNamesMapToTheirIanaZones) {
  EXPECT_EQ(ianaZoneForWindowsName("W. Europe Standard Time"), "Europe/Berlin");
  EXPECT_EQ(ianaZoneForWindowsName("Eastern Standard Time"), "America/New_York");
  EXPECT_EQ(ianaZoneForWindowsName("AUS Eastern Standard Time"), "Australia/Sydney");
  EXPECT_EQ(ianaZoneForWindowsName("GMT Standard Time"), "Europe/London");
  EXPECT_EQ(ianaZoneForWindowsName("Tokyo Standard Time"), "Asia/Tokyo");
  EXPECT_EQ(ianaZoneForWindowsName("UTC"), "Etc/UTC");
  // Names of one territory only ("Eastern Standard Time (Mexico)") are rows of their own.
  EXPECT_EQ(ianaZoneForWindowsName("Eastern Standard Time (Mexico)"), "America/Cancun");
}

TEST(WindowsZoneNamesTest, UnknownNamesMapToNothing) {
  EXPECT_EQ(ianaZoneForWindowsName("Mars Standard Time"), "");
  EXPECT_EQ(ianaZoneForWindowsName("w. europe standard time"), "");
  EXPECT_EQ(ianaZoneForWindowsName("W. Europe Standard Time "), "");
  EXPECT_EQ(ianaZoneForWindowsName(""), "");
}

TEST(SystemZoneTest, SystemZoneIsOneTheTableGives) {
  const std::string zone = systemZoneName();
  if (zone.empty()) GTEST_SKIP() << "the system's zone has no CLDR name here";
  bool found = false;
  for (const WindowsZoneName& row : windowsZoneNames()) found = found || row.iana == zone;
  EXPECT_TRUE(found) << zone;
}

}  // namespace
}  // namespace vessory::calendar
