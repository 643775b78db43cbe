#include "journal/entry_splitter.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vessory::journal {
namespace {

// (time text, entry text) of each entry, in order.
using Entries = std::vector<std::pair<std::string, std::string>>;

Entries split(std::string_view body, bool wordWrap) {
  JournalNote note;
  note.category = 3;
  note.dateText = "4/07/2002";
  note.body = body;
  Entries result;
  for (const JournalEntry& entry : splitJournalEntries(note, wordWrap)) {
    result.emplace_back(entry.timeText, entry.text);
  }
  return result;
}

// The splitting steps followed literally: positions count from 1, the segment is edited in
// place, and the scan position is not moved back after a carriage return is removed.
class ReferenceSplitter {
 public:
  static Entries split(const std::string& body, bool wordWrap) {
    Entries entries;
    std::string rest = body;
    while (!rest.empty()) {
      long colon = 0;
      for (long k = 4; k <= length(rest); ++k) {
        if (charAt(rest, k) == ':') {
          colon = k;
          break;
        }
      }
      std::string segment = trim(rest.substr(colon));
      if (segment.empty()) break;
      std::string label = colon == 0 ? "??:??" : trim(rest.substr(0, colon - 1));
      std::string text;
      bool ended = false;
      for (long i = 1; i < length(segment);) {
        if (charAt(segment, i) != '\n') {
          ++i;
          continue;
        }
        if (entryStart(segment, i)) {
          text = segment.substr(0, charAt(segment, i - 1) == '\r' ? i - 2 : i - 1);
          rest = segment.substr(i);
          ended = true;
          break;
        }
        if (wordWrap) segment[i - 1] = ' ';
        if (charAt(segment, i - 1) == '\r') segment.erase(i - 2, 1);
        ++i;
      }
      if (!ended) {
        text = segment;
        rest.clear();
      }
      while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
      for (char& c : label) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      }
      entries.emplace_back(label, text);
    }
    return entries;
  }

 private:
  static long length(const std::string& s) { return static_cast<long>(s.size()); }
  // The character at 1-based `pos`, or -1 ("no character") outside the text.
  static int charAt(const std::string& s, long pos) {
    return pos >= 1 && pos <= length(s) ? static_cast<unsigned char>(s[pos - 1]) : -1;
  }
  static bool digit(int c) { return c >= '0' && c <= '9'; }
  static bool separator(int c) { return c == ',' || c == ':' || c == '.'; }
  static bool entryStart(const std::string& t, long i) {
    int a = charAt(t, i + 1), b = charAt(t, i + 2), d = charAt(t, i + 3);
    return (digit(a) || a == ' ') && ((digit(b) && separator(d)) || (separator(b) && digit(d)));
  }
  static std::string trim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && s[first] == ' ') ++first;
    return s.substr(first);
  }
};

TEST(IsEntryStartTest, TimeLikeStartsBeginAnEntry) {
  for (std::string_view text : {"\n10:", "\n9:1", "\n 9:", "\n1.3", "\n2,4", "\n 1.", "\n0,0"}) {
    EXPECT_TRUE(isEntryStart(text, 0)) << text;
  }
  for (std::string_view text : {"\nx9:", "\n10 ", "\n1:a", "\n:1:", "\n 10", "\n\t9:", "\n11\n",
                                "\n1::", "\n  1", "\n1.\n"}) {
    EXPECT_FALSE(isEntryStart(text, 0)) << text;
  }
}

TEST(IsEntryStartTest, MissingCharactersMatchNothing) {
  EXPECT_FALSE(isEntryStart("\n", 0));
  EXPECT_FALSE(isEntryStart("\n1", 0));
  EXPECT_FALSE(isEntryStart("\n1:", 0));
  EXPECT_FALSE(isEntryStart("\n12", 0));
  EXPECT_TRUE(isEntryStart("ab\n1:2", 2));
  EXPECT_FALSE(isEntryStart("ab\n1:2", 3));
}

struct TableRow {
  const char* name;
  std::string body;
  bool wordWrap;
  Entries expected;
};

class WorkedExampleTest : public ::testing::TestWithParam<TableRow> {};

TEST_P(WorkedExampleTest, GivesTheListedEntries) {
  EXPECT_EQ(split(GetParam().body, GetParam().wordWrap), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedExampleTest,
    ::testing::Values(
        TableRow{"TwoEntries",
                 "9:15 am: Woke up\n10:30 am: Meeting\n",
                 false,
                 {{"9:15 AM", "Woke up"}, {"10:30 AM", "Meeting"}}},
        TableRow{"CrLfWrapOff",
                 "9:15 am: Line one\r\nline two\r\n 9:45 am: Next",
                 false,
                 {{"9:15 AM", "Line one\nline two"}, {"9:45 AM", "Next"}}},
        TableRow{"CrLfWrapOn",
                 "9:15 am: Line one\r\nline two\r\n 9:45 am: Next",
                 true,
                 {{"9:15 AM", "Line one line two"}, {"9:45 AM", "Next"}}},
        TableRow{"Separators",
                 "12:05 pm: Lunch\n1.30 pm: Back\n2,45: x\nabc",
                 false,
                 {{"12:05 PM", "Lunch"}, {"1.30 PM", "Back"}, {"2,45", "x\nabc"}}},
        TableRow{"WordLabel", "Note: buy milk", false, {{"NOTE", "buy milk"}}},
        TableRow{"ColonTooEarly", "9:15 buy milk", false, {{"??:??", "9:15 buy milk"}}},
        TableRow{"SecondEntryWithoutLabel",
                 "8:00 am: a\n1:00 b",
                 false,
                 {{"8:00 AM", "a"}, {"??:??", "1:00 b"}}},
        TableRow{"BlankThenOneDigit",
                 "8:00 am: x\n 5.2 kg",
                 false,
                 {{"8:00 AM", "x"}, {"??:??", "5.2 kg"}}},
        TableRow{"WordColonInside",
                 "8:00 am: Gym\nWeights: 3 sets",
                 false,
                 {{"8:00 AM", "Gym\nWeights: 3 sets"}}},
        TableRow{"TrailingBlanksKept",
                 "8:00 am: a  \n9:00 am: b  ",
                 false,
                 {{"8:00 AM", "a  "}, {"9:00 AM", "b"}}},
        TableRow{
            "EmptyEntry", "8:00 am:\n9:00 am: Run", false, {{"8:00 AM", ""}, {"9:00 AM", "Run"}}},
        TableRow{"LineFeedRightAfterColon", "8:00 am:\nGym\n", false, {{"8:00 AM", "\nGym"}}},
        TableRow{"BlankLine",
                 "7:00 am: text\n\n09:30 am: more",
                 false,
                 {{"7:00 AM", "text"}, {"09:30 AM", "more"}}},
        TableRow{"LineFeedAfterCrLfNotExamined",
                 "7:00 am: text\r\n\n09:30 am: more",
                 false,
                 {{"7:00 AM", "text\n\n09:30 am: more"}}},
        TableRow{"LineFeedInLabel", "Hi\n10:30: text", false, {{"HI\n10", "30: text"}}},
        TableRow{"ColonAndBlanksOnly", "8:00 am:   ", false, {}}),
    [](const ::testing::TestParamInfo<TableRow>& info) { return std::string(info.param.name); });

TEST(SplitJournalEntriesTest, EmptyOrBlankBodyGivesNoEntry) {
  EXPECT_EQ(split("", false), Entries{});
  EXPECT_EQ(split("     ", true), Entries{});
  EXPECT_EQ(split("8:00 am: x\n9:00 am:", false), (Entries{{"8:00 AM", "x"}}));
  EXPECT_EQ(split("8:00 am: x\n9:00 am:  ", true), (Entries{{"8:00 AM", "x"}}));
}

TEST(SplitJournalEntriesTest, ColonBeforeFourthPositionIsNoLabel) {
  EXPECT_EQ(split("10:15 walk", false), (Entries{{"??:??", "10:15 walk"}}));
  EXPECT_EQ(split("Hi: there", false), (Entries{{"??:??", "Hi: there"}}));
  EXPECT_EQ(split("Hey: there", false), (Entries{{"HEY", "there"}}));
  EXPECT_EQ(split("a:b:c", false), (Entries{{"A:B", "c"}}));
  EXPECT_EQ(split("abc", false), (Entries{{"??:??", "abc"}}));
  EXPECT_EQ(split("  :", false), (Entries{{"??:??", ":"}}));
}

TEST(SplitJournalEntriesTest, LeadingBlanksCountTowardTheFourthPosition) {
  EXPECT_EQ(split(" 10:15 am: x", false), (Entries{{"10", "15 am: x"}}));
  // After a line feed a blank and a two-digit hour stay in the entry; a one-digit hour splits.
  EXPECT_EQ(split("8:00 am: a\n 10:15 am: b", false), (Entries{{"8:00 AM", "a\n 10:15 am: b"}}));
  EXPECT_EQ(split("8:00 am: a\n 9:15 am: b", false), (Entries{{"8:00 AM", "a"}, {"9:15 AM", "b"}}));
}

TEST(SplitJournalEntriesTest, WordWrapTurnsInnerLineBreaksIntoBlanks) {
  EXPECT_EQ(split("8:00 am: Gym\nWeights: 3 sets", true),
            (Entries{{"8:00 AM", "Gym Weights: 3 sets"}}));
  EXPECT_EQ(split("8:00 am:\nGym\n", true), (Entries{{"8:00 AM", " Gym"}}));
  EXPECT_EQ(split("a\r\nb\nc\r\nd", true), (Entries{{"??:??", "a b c d"}}));
  EXPECT_EQ(split("a\r\nb\nc\r\nd", false), (Entries{{"??:??", "a\nb\nc\nd"}}));
  // The line feed that begins an entry, and the CR before it, are dropped whatever the option.
  EXPECT_EQ(split("8:00 am: a\r\n9:00 am: b", true), (Entries{{"8:00 AM", "a"}, {"9:00 AM", "b"}}));
}

TEST(SplitJournalEntriesTest, CharacterAfterRemovedCarriageReturnIsNotExamined) {
  EXPECT_EQ(split("7:00 am: text\r\n\n09:30 am: more", true),
            (Entries{{"7:00 AM", "text \n09:30 am: more"}}));
  EXPECT_EQ(split("x\r\n\n\nb", true), (Entries{{"??:??", "x \n b"}}));
  EXPECT_EQ(split("x\r\n\r\nb", false), (Entries{{"??:??", "x\n\nb"}}));
  // Here the passed-over character is a CR, so the next pair still splits.
  EXPECT_EQ(split("8:00 am: a \r\n\r\n9:00 am: b", false),
            (Entries{{"8:00 AM", "a "}, {"9:00 AM", "b"}}));
}

TEST(SplitJournalEntriesTest, LastCharacterIsNeverExamined) {
  // A final line feed examined with word wrap on would leave a blank behind.
  EXPECT_EQ(split("8:00 am: a\n", true), (Entries{{"8:00 AM", "a"}}));
  EXPECT_EQ(split("8:00 am: a\r\n", true), (Entries{{"8:00 AM", "a"}}));
  EXPECT_EQ(split("8:00 am: a\r\n\n", true), (Entries{{"8:00 AM", "a "}}));
  EXPECT_EQ(split("8:00 am: a\r\n\r\n", false), (Entries{{"8:00 AM", "a"}}));
}

TEST(SplitJournalEntriesTest, TrailingLineBreaksGoButTabsAndBlanksStay) {
  EXPECT_EQ(split("8:00 am: a\t\r\n\n\r\n9:00 am: b", false),
            (Entries{{"8:00 AM", "a\t"}, {"9:00 AM", "b"}}));
  EXPECT_EQ(split("\t8:00 am:\ta\t", false), (Entries{{"\t8:00 AM", "\ta\t"}}));
}

TEST(SplitJournalEntriesTest, LabelIsUpperCasedForAToZOnly) {
  EXPECT_EQ(split("\xE9t\xE9 am: x", false), (Entries{{"\xE9T\xE9 AM", "x"}}));
  EXPECT_EQ(split(std::string("\x00\xFF:z:y", 6), false),
            (Entries{{std::string("\x00\xFF:Z", 4), "y"}}));
}

TEST(SplitJournalEntriesTest, EveryEntryCarriesCategoryAndDate) {
  JournalNote note;
  note.category = -16;
  note.dateText = "12/31/2001";
  note.body = "8:00 am: a\n9:00 am: b\n10:00 am: c";
  std::vector<JournalEntry> entries = splitJournalEntries(note, false);
  ASSERT_EQ(entries.size(), 3u);
  for (const JournalEntry& entry : entries) {
    EXPECT_EQ(entry.category, -16);
    EXPECT_EQ(entry.dateText, "12/31/2001");
    EXPECT_EQ(entry.keyword, "");
  }
}

TEST(SplitJournalEntriesTest, BodiesBeyondSixteenBitPositionsAreSplit) {
  const std::string longText(70000, 'x');
  std::string body = "8:00 am: " + longText + "\r\n" + longText + "\n9:00 am: " + longText;
  Entries entries = split(body, true);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].second, longText + " " + longText);
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"9:00 AM", longText}));
}

TEST(EntrySplitterTest, ReusedSplitterCarriesNothingOver) {
  EntrySplitter splitter;
  const std::string bodies[] = {"8:00 am: a long first entry\r\nline\n9:00 am: second", "x", "",
                                "Note: y\n1:2", "10:00 am:"};
  for (bool wordWrap : {false, true}) {
    for (const std::string& body : bodies) {
      JournalNote note;
      note.body = body;
      Entries got;
      splitter.split(note, wordWrap,
                     [&got](JournalEntry& entry) { got.emplace_back(entry.timeText, entry.text); });
      EXPECT_EQ(got, split(body, wordWrap)) << body;
    }
  }
}

std::string randomBody(std::mt19937& random, std::string_view alphabet, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> lengthOf(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string body(lengthOf(random), ' ');
  for (char& c : body) c = alphabet[pick(random)];
  return body;
}

TEST(SplitJournalEntriesTest, AgreesWithTheStepByStepAlgorithmOnRandomBodies) {
  // Digits, separators, blanks and line breaks are repeated so that time-like starts, CR LF
  // pairs and colons at every position come up often.
  constexpr std::string_view kAlphabet = "0123456789 :.,\r\n  ::\n\n\r\r11aAx,.\t";
  std::mt19937 random(20020407);
  for (int round = 0; round < 40000; ++round) {
    std::string body = randomBody(random, kAlphabet, round % 4 == 0 ? 60 : 16);
    for (bool wordWrap : {false, true}) {
      ASSERT_EQ(split(body, wordWrap), ReferenceSplitter::split(body, wordWrap))
          << "round " << round << ", wrap " << wordWrap << ", body [" << body << "]";
    }
  }
}

TEST(SplitJournalEntriesTest, AgreesWithTheStepByStepAlgorithmOnJournalLikeBodies) {
  const std::string_view pieces[] = {
      "8:00 am: ", "\r\n", "\n",  " 9:15: ", "10:30 pm:", "1.5",      "2,4",
      "word ",     " ",    "x\r", ":",       "\n\n",      "\r\n\r\n", "7"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> count(0, 12);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int round = 0; round < 20000; ++round) {
    std::string body;
    for (std::size_t n = count(random); n > 0; --n) body += pieces[pick(random)];
    for (bool wordWrap : {false, true}) {
      ASSERT_EQ(split(body, wordWrap), ReferenceSplitter::split(body, wordWrap))
          << "round " << round << ", wrap " << wordWrap << ", body [" << body << "]";
    }
  }
}

}  // namespace
}  // namespace vessory::journal
