// The system's zone as the TZ variable, the /etc/localtime link and /etc/timezone name it
// (POSIX systems).

#include "calendar/system_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "calendar/calendar_reading.h"

namespace vessory::testing {
namespace {

// Sets TZ for one test and puts back what was there.
class TzVariableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("TZ")) saved_ = value;
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
  }
  void setTz(const char* value) { setenv("TZ", value, 1); }

  std::optional<std::string> saved_;
};

TEST_F(TzVariableTest, NamedZoneInAnyOfItsFormsIsTheSystemsZone) {
  setTz("Asia/Kolkata");
  EXPECT_EQ(calendar::systemZoneName(), "Asia/Kolkata");
  setTz(":Europe/Berlin");
  EXPECT_EQ(calendar::systemZoneName(), "Europe/Berlin");
  setTz("/usr/share/zoneinfo/America/New_York");
  EXPECT_EQ(calendar::systemZoneName(), "America/New_York");
}

TEST_F(TzVariableTest, RuleStringsAndUnknownNamesArePassedOver) {
  setTz("CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_NE(calendar::systemZoneName(), "CET-1CEST,M3.5.0,M10.5.0/3");
  setTz("Nowhere/At_All");
  EXPECT_NE(calendar::systemZoneName(), "Nowhere/At_All");
}

TEST_F(TzVariableTest, ExportWithoutAZoneUsesTheSystemsZone) {
  setTz("Asia/Kolkata");
  RecordPlan r;
  r.startTime = r.endTime = 0;
  exporting::CalendarSettings settings = testSettings("");
  const CalendarExport out = exportCalendar(ArchiveBuilder().archive({r}).bytes(), settings);
  EXPECT_EQ(out.tally.zoneName, "Asia/Kolkata");
  EXPECT_FALSE(out.tally.zoneFallback);
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_DTSTART_PROPERTY), "19700101T053000");
}

// Where each source of the zone stands in one case; empty for a source that is not there.
struct ZoneFiles {
  std::string name;
  std::string tz;
  std::string linkTarget;    // what /etc/localtime links to
  std::string timezoneText;  // the whole of /etc/timezone
  std::string expected;
};

std::ostream& operator<<(std::ostream& out, const ZoneFiles& c) { return out << c.name; }

class ZoneFilesTest : public ::testing::TestWithParam<ZoneFiles> {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vessory-zone-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

TEST_P(ZoneFilesTest, VariableThenLinkThenNameFile) {
  const ZoneFiles& c = GetParam();
  const auto link = folder_ / "localtime";
  const auto timezone = folder_ / "timezone";
  if (!c.linkTarget.empty()) std::filesystem::create_symlink(c.linkTarget, link);
  if (!c.timezoneText.empty()) std::ofstream(timezone, std::ios::binary) << c.timezoneText;
  EXPECT_EQ(calendar::systemZoneName(c.tz, link, timezone), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ZoneFilesTest,
    ::testing::Values(
        // timedatectl replaced the link and left the name file as it was.
        ZoneFiles{"LinkOverStaleNameFile", "", "/usr/share/zoneinfo/Europe/Berlin", "Etc/UTC\n",
                  "Europe/Berlin"},
        ZoneFiles{"RelativeLink", "", "../usr/share/zoneinfo/Asia/Tokyo", "Etc/UTC\n",
                  "Asia/Tokyo"},
        ZoneFiles{"VariableOverBoth", "America/New_York", "/usr/share/zoneinfo/Europe/Berlin",
                  "Etc/UTC\n", "America/New_York"},
        ZoneFiles{"RuleStringFallsToTheLink", "CET-1CEST,M3.5.0,M10.5.0/3",
                  "/usr/share/zoneinfo/Europe/Berlin", "", "Europe/Berlin"},
        ZoneFiles{"LinkOutsideZoneinfoFallsToTheNameFile", "", "/etc/some-copy",
                  "Europe/Paris \r\n", "Europe/Paris"},
        ZoneFiles{"NameFileAlone", "", "", "Europe/Paris\n", "Europe/Paris"},
        ZoneFiles{"NothingToTell", "", "", "", ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vessory::testing
