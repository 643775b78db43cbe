#ifndef VESSORY_TESTS_CALENDAR_REPEAT_CASES_H_
#define VESSORY_TESTS_CALENDAR_REPEAT_CASES_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "calendar/civil_days.h"
#include "calendar/datebook_rules.h"
#include "support/archive_builder.h"

namespace vessory::testing {

inline constexpr std::uint32_t kNoEnd = 0xFFFFFFFF;
inline constexpr std::uint32_t kDesktopNoEnd = 1956542399;  // 2031-12-31 23:59:59 UTC
inline constexpr int kNine = 9 * 3600;
inline constexpr int kAllDay = -1;
inline constexpr int kSun = 1, kMon = 2, kTue = 4, kWed = 8, kThu = 16, kFri = 32, kSat = 64;

// One repeating record of the repeat tests, its times as the archive holds them (UTC).
struct RepeatCase {
  std::string name;
  Civil start;
  int startSecond = kNine;  // kAllDay for an untimed event
  DatebookRule rule;        // lastDay and exceptions come from the two fields below
  std::uint32_t endDate = kNoEnd;
  std::vector<std::uint32_t> exceptions;
  Civil windowEnd;
};

inline std::ostream& operator<<(std::ostream& out, const RepeatCase& c) { return out << c.name; }

// The archive record of the case.
RecordPlan recordOf(const RepeatCase& c);

DatebookRule daily(int interval = 1);
DatebookRule weekly(int mask, int firstDay, int interval = 1);
DatebookRule monthlyByDay(int weekIndex, int dayIndex, int interval = 1);
DatebookRule monthlyByDate(int dayNumber, int interval = 1);
DatebookRule yearly(int monthIndex, int dayNumber, int interval = 1);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_CALENDAR_REPEAT_CASES_H_
