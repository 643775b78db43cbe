// The system's zone as the TZ variable names it (POSIX systems).

#include "calendar/system_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
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
  RecordSpec r;
  r.startTime = r.endTime = 0;
  exporting::CalendarSettings settings = testSettings("");
  const CalendarExport out = exportCalendar(ArchiveBuilder().archive({r}).bytes(), settings);
  EXPECT_EQ(out.tally.zoneName, "Asia/Kolkata");
  EXPECT_FALSE(out.tally.zoneFallback);
  ReadCalendar calendar(out.text);
  ASSERT_EQ(calendar.size(), 1u);
  EXPECT_EQ(valueOf(calendar.event(0), ICAL_DTSTART_PROPERTY), "19700101T053000");
}

}  // namespace
}  // namespace vessory::testing
