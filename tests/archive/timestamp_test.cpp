#include "archive/timestamp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_fakes.h"

namespace vessory::testing {
namespace {

using archive::formatTimestamp;
using archive::kUnrepresentableTimestamp;
using archive::leadingNumber;

struct TimestampCase {
  std::int64_t start;
  const char* bias;
  const char* expected;
};

void expectTimestamps(const std::vector<TimestampCase>& cases) {
  for (const TimestampCase& c : cases) {
    EXPECT_EQ(formatTimestamp(c.start, c.bias), c.expected)
        << "start " << c.start << ", bias \"" << c.bias << "\"";
  }
}

TEST(FormatTimestampTest, GivesTheCalendarTextOfTheShiftedTime) {
  expectTimestamps({
      {0, "0", "1/01/1970, 00:00:00"},
      {1018137600, "0", "4/07/2002, 00:00:00"},
      {1018137600, "-4", "4/06/2002, 20:00:00"},
      {1018137600, "5.5", "4/07/2002, 05:30:00"},
      {1018137600, "Eastern", "4/07/2002, 00:00:00"},
      {951782400, "0", "2/29/2000, 00:00:00"},
      {946684799, "0", "12/31/1999, 23:59:59"},
      {1009843200, "-4", "12/31/2001, 20:00:00"},
      {2147483647, "0", "1/19/2038, 03:14:07"},
      {1018137600 + 45 * 60 + 9, "0", "4/07/2002, 00:45:09"},
  });
}

TEST(FormatTimestampTest, TimesBefore1970GetRealDates) {
  expectTimestamps({
      {-14400, "0", "12/31/1969, 20:00:00"},
      {0, "-4", "12/31/1969, 20:00:00"},
      {-1, "0", "12/31/1969, 23:59:59"},
      {-100000, "0", "12/30/1969, 20:13:20"},
      // 1900 is not a leap year; 1600 is.
      {-2203891201, "0", "2/28/1900, 23:59:59"},
      {-2203891200, "0", "3/01/1900, 00:00:00"},
      {-11644473600, "0", "1/01/1601, 00:00:00"},
      {-11644473600 - 86400, "0", "12/31/1600, 00:00:00"},
  });
}

TEST(FormatTimestampTest, TimesPast2038FollowTheCalendar) {
  expectTimestamps({
      {2147483647, "1", "1/19/2038, 04:14:07"},
      {2147483648, "0", "1/19/2038, 03:14:08"},
      {4294967294, "0", "2/07/2106, 06:28:14"},
      {4107542399, "0", "2/28/2100, 23:59:59"},
      {4107542399, "0.0002777777777777778", "3/01/2100, 00:00:00"},
  });
}

TEST(FormatTimestampTest, HalfSecondsRoundToEven) {
  // 0.03125 hours is exactly 112.5 seconds.
  expectTimestamps({
      {0, "0.03125", "1/01/1970, 00:01:52"},
      {1, "0.03125", "1/01/1970, 00:01:54"},
      {0, "-0.03125", "12/31/1969, 23:58:08"},
      {3, "-0.03125", "12/31/1969, 23:58:10"},
  });
}

// Outside the years 1 to 9999, or with a bias that is not finite, there is no date to give:
// the fixed placeholder stands in for it.
TEST(FormatTimestampTest, UnrepresentableTimesGiveThePlaceholder) {
  expectTimestamps({
      {253402300799, "0", "12/31/9999, 23:59:59"},
      {-62135596800, "0", "1/01/1, 00:00:00"},
  });
  for (const char* bias : {"1e300", "-1e300", "1e15", "-1e15", "1e999", "-1e999", "&HFFFFFFFFFF"}) {
    EXPECT_EQ(formatTimestamp(1018137600, bias), kUnrepresentableTimestamp) << bias;
  }
  EXPECT_EQ(formatTimestamp(253402300800, "0"), kUnrepresentableTimestamp);
  EXPECT_EQ(formatTimestamp(-62135596801, "0"), kUnrepresentableTimestamp);
  EXPECT_EQ(formatTimestamp(0, "1e-999"), "1/01/1970, 00:00:00");
}

// The export reads the bias through HoursBias and takes the date alone; both must say exactly
// what the whole timestamp from the bias text says.
TEST(FormatTimestampTest, CachedBiasAndDatePartAgreeWithTheWholeText) {
  archive::HoursBias bias;
  const char* texts[] = {"-4", "-4", "5.5", "0.03125", "abc", "1e300", "-4", " - 1 0 ", "&H10"};
  const std::int64_t starts[] = {0, 1, -14400, 1018137600, 2147483647, 4294967294, -1};
  for (const char* text : texts) {
    for (std::int64_t start : starts) {
      const std::string whole = formatTimestamp(start, text);
      EXPECT_EQ(archive::formatTimestamp(start, bias.seconds(text)), whole) << text;
      EXPECT_EQ(archive::formatTimestampDate(start, bias.seconds(text)),
                whole.substr(0, whole.find(',')))
          << text;
    }
  }
}

TEST(FormatTimestampTest, CachedBiasFollowsAnEditedText) {
  archive::HoursBias bias;
  EXPECT_EQ(bias.seconds("-4"), -14400.0);
  EXPECT_EQ(bias.seconds("-4"), -14400.0);
  EXPECT_EQ(bias.seconds("2"), 7200.0);
  EXPECT_EQ(bias.seconds(""), 0.0);
  EXPECT_EQ(bias.seconds("-4"), -14400.0);
}

// The value, and whether the number took the whole text (what the console's note on a bias
// read otherwise than typed rests on).
TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOfTheBiasText) {
  struct Case {
    const char* text;
    double value;
    bool whole;
  };
  const Case cases[] = {
      {"-4", -4, true},         {"5.5", 5.5, true},       {"letters", 0, false},
      {"", 0, false},           {" - 1 0 ", -10, true},   {"\t2\n", 2, true},
      {"1 2.5", 12.5, true},    {"+3", 3, true},          {"+", 0, false},
      {"-", 0, false},          {"--4", 0, false},        {".5", 0.5, true},
      {"-.25", -0.25, true},    {"7x", 7, false},         {"3.25.5", 3.25, false},
      {"12:30", 12, false},     {"1.5D1", 15, true},      {"1.5d-1", 0.15, true},
      {"2E2", 200, true},       {"2.E1", 20, true},       {"1 e 2", 100, true},
      {"1e", 1, false},         {"1e+", 1, false},        {"4E2x", 400, false},
      {"&H10", 16, true},       {"&h1f", 31, true},       {"&HFFFF", 65535, true},
      {"&H", 0, false},         {"&HG1", 0, false},       {"&O7", 7, true},
      {"&O17", 15, true},       {"&O8", 0, false},        {"& H10", 16, true},
      {"0.03125", 0.03125, true}, {"-13x", -13, false},   {"EST", 0, false},
      {"0", 0, true},           {".", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << "\"" << c.text << "\"";
    const archive::NumberReading reading = archive::readLeadingNumber(c.text);
    EXPECT_DOUBLE_EQ(reading.value, c.value) << "\"" << c.text << "\"";
    EXPECT_EQ(reading.wholeText, c.whole) << "\"" << c.text << "\"";
  }
}

TEST(LeadingNumberTest, BiasFormsShiftTheTimeByThatManyHours) {
  expectTimestamps({
      {1018137600, " - 1 0 ", "4/06/2002, 14:00:00"},
      {1018137600, "&H10", "4/07/2002, 16:00:00"},
      {1018137600, "&O7", "4/07/2002, 07:00:00"},
      {1018137600, "1.5D1", "4/07/2002, 15:00:00"},
      {1018137600, "7x", "4/07/2002, 07:00:00"},
      {1018137600, "+", "4/07/2002, 00:00:00"},
  });
}

TEST(HexTextTest, DigitsAndTheBadArgumentMessage) {
  RecordingMessages messages;
  std::string digits;
  for (std::uint64_t value = 0; value < 16; ++value) digits += archive::hexDigit(value, messages);
  EXPECT_EQ(digits, "0123456789ABCDEF");
  EXPECT_TRUE(messages.shown.empty());

  EXPECT_EQ(archive::hexDigit(16, messages), "");
  EXPECT_EQ(archive::hexDigit(4096, messages), "");
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"Bad argument:  16", "Bad argument:  4096"}));
}

TEST(HexTextTest, ThirtyTwoBitValuesAsEightDigitsInTwoGroups) {
  RecordingMessages messages;
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0, "0x0"},
      {1, "0x0000 0001"},
      {255, "0x0000 00FF"},
      {0x12345678, "0x1234 5678"},
      {2147483648u, "0x8000 0000"},
      {4294967295u, "0xFFFF FFFF"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(archive::hexText32(value, messages), expected);
  }
  EXPECT_EQ(archive::decimalHexText(255, messages), "255 (0x0000 00FF)");
  EXPECT_EQ(archive::decimalHexText(0, messages), "0 (0x0)");
  EXPECT_EQ(archive::decimalHexText(4294967295u, messages), "4294967295 (0xFFFF FFFF)");
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace vessory::testing
