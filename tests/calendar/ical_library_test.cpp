#include "calendar/ical_library.h"

#include <gtest/gtest.h>

#include "calendar/zone_clock.h"

namespace vessory::calendar {
namespace {

// libical is looked for when a calendar is first written; a library that is missing or is not
// libical is named in the run's refusal instead of being called.
TEST(IcalLibraryTest, ALibraryThatIsNotLibicalIsRefusedByName) {
#ifdef _WIN32
  GTEST_SKIP() << "libical is linked into the Windows programs";
#else
  struct Row {
    const char* library;
    const char* problemStart;
  };
  const Row rows[] = {
      {"libvessory-none.so.0", "The calendar library libvessory-none.so.0 cannot be loaded: "},
      {"libm.so.6",
       "The calendar library libm.so.6 lacks icalcomponent_add_component; it is not the version "
       "this program was built with"},
  };
  for (const Row& row : rows) {
    EXPECT_TRUE(icalProblemWith(row.library).starts_with(row.problemStart))
        << row.library << ": " << icalProblemWith(row.library);
  }
  // The library the program was built with loads, and zones are refused for themselves.
  EXPECT_EQ(icalProblem(), "");
  EXPECT_EQ(ZoneClock::refusal("Mars/Base"), "Unknown time zone Mars/Base");
#endif
}

}  // namespace
}  // namespace vessory::calendar
