#include "journal/journal_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "archive/event_record.h"
#include "archive/format.h"

namespace vessory::journal {
namespace {

using archive::EventRecord;

EventRecord journalRecord(std::string description, std::string note) {
  EventRecord record;
  record.description = std::move(description);
  record.note = std::move(note);
  record.category = 2;
  return record;
}

TEST(DeriveJournalNameTest, BoxTextsOfferedGiveTheirJournalNames) {
  EXPECT_EQ(deriveJournalName("English: Daily Journal"), "daily journal");
  EXPECT_EQ(deriveJournalName("German: Logbuch"), "logbuch");
  EXPECT_EQ(deriveJournalName("French: Journal quotidien"), "journal quotidien");
  EXPECT_EQ(deriveJournalName("Italian: Diario Giornaliero"), "diario giornaliero");
  EXPECT_EQ(deriveJournalName("Spanish: Diario"), "diario");
}

TEST(DeriveJournalNameTest, TypedTextWithoutColonIsTakenWhole) {
  EXPECT_EQ(deriveJournalName("Daily Journal"), "daily journal");
  EXPECT_EQ(deriveJournalName("  Daily Journal  "), "daily journal");
  EXPECT_EQ(deriveJournalName("English:Daily Journal"), "daily journal");
}

// Messages name the journal with its letters as typed; the match uses the lower case.
TEST(DeriveJournalNameTest, TypedNameKeepsItsLettersAndTheMatchIsTheirLowerCase) {
  for (const auto& [box, typed] : {std::pair<const char*, const char*>{"English: Daily Journal",
                                                                        "Daily Journal"},
                                   {"  Flight UA 291 ", "Flight UA 291"},
                                   {"A: B: C", "B: C"},
                                   {"English:", ""}}) {
    EXPECT_EQ(typedJournalName(box), typed) << box;
    EXPECT_EQ(deriveJournalName(box), lowerCase(typed)) << box;
  }
}

TEST(DeriveJournalNameTest, OnlyTheFirstColonCounts) {
  EXPECT_EQ(deriveJournalName("A: B: C"), "b: c");
  EXPECT_EQ(deriveJournalName("English:"), "");
  EXPECT_EQ(deriveJournalName(":x"), "x");
}

TEST(DeriveJournalNameTest, OnlyBlanksAreTrimmedAndInnerBlanksStay) {
  EXPECT_EQ(deriveJournalName(""), "");
  EXPECT_EQ(deriveJournalName("   "), "");
  EXPECT_EQ(deriveJournalName("E:\tDaily  Journal \t"), "\tdaily  journal \t");
}

TEST(CaseMappingTest, OnlyLettersAToZChange) {
  EXPECT_EQ(lowerCase("AZaz@[`{09"), "azaz@[`{09");
  EXPECT_EQ(upperCase("AZaz@[`{09"), "AZAZ@[`{09");
  // Latin-1 letters and every other byte pass through.
  const std::string latin{"\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x00\xFF", 9};
  EXPECT_EQ(lowerCase(latin), latin);
  EXPECT_EQ(upperCase(latin), latin);
}

TEST(TrimBlanksTest, RemovesOuterBlanksOnly) {
  EXPECT_EQ(trimBlanks("  a b  "), "a b");
  EXPECT_EQ(trimBlanks("    "), "");
  EXPECT_EQ(trimBlanks(""), "");
  EXPECT_EQ(trimBlanks("\t a \r\n"), "\t a \r\n");
  EXPECT_EQ(trimBlanks(" \n "), "\n");
}

TEST(IsJournalRecordTest, MatchIgnoresCaseAndOuterBlanks) {
  const std::string name = deriveJournalName("English: Daily Journal");
  EXPECT_TRUE(isJournalRecord(journalRecord("Daily Journal", "x"), name));
  EXPECT_TRUE(isJournalRecord(journalRecord(" Daily Journal ", "x"), name));
  EXPECT_TRUE(isJournalRecord(journalRecord("DAILY JOURNAL", "x"), name));
  EXPECT_TRUE(isJournalRecord(journalRecord("dAiLy jOuRnAl   ", "x"), name));
}

TEST(IsJournalRecordTest, EveryCharacterMustMatch) {
  const std::string name = "daily journal";
  EXPECT_FALSE(isJournalRecord(journalRecord("\tDaily Journal", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily Journal\r", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily  Journal", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily Journals", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily Journa", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily_Journal", "x"), name));
}

TEST(IsJournalRecordTest, NonAsciiLettersAreComparedAsTheyAre) {
  // "Logbuch für Ärzte": only A to Z are folded, so the capital umlaut must match exactly.
  const std::string name = deriveJournalName("German: Logbuch f\xFCr \xC4rzte");
  EXPECT_EQ(name, "logbuch f\xFCr \xC4rzte");
  EXPECT_TRUE(isJournalRecord(journalRecord("LOGBUCH F\xFCR \xC4RZTE", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("logbuch f\xFCr \xE4rzte", "x"), name));
}

TEST(IsJournalRecordTest, RepeatingEventIsNeverAJournal) {
  EventRecord record = journalRecord("Daily Journal", "8:00 am: Up");
  record.repeat.isRepeating = true;
  EXPECT_FALSE(isJournalRecord(record, "daily journal"));
  record.repeat.isRepeating = false;
  EXPECT_TRUE(isJournalRecord(record, "daily journal"));
}

TEST(IsJournalRecordTest, EmptyNoteIsNotAJournalButNullMarkerIs) {
  EXPECT_FALSE(isJournalRecord(journalRecord("Daily Journal", ""), "daily journal"));
  EXPECT_TRUE(isJournalRecord(
      journalRecord("Daily Journal", std::string(archive::kNullStringMarker)), "daily journal"));
}

TEST(IsJournalRecordTest, EmptyNameMatchesBlankDescriptionsOnly) {
  const std::string name = deriveJournalName("");
  EXPECT_TRUE(isJournalRecord(journalRecord("", "x"), name));
  EXPECT_TRUE(isJournalRecord(journalRecord("   ", "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord(std::string(archive::kNullStringMarker), "x"), name));
  EXPECT_FALSE(isJournalRecord(journalRecord("\t", "x"), name));
}

TEST(SplitJournalHeaderTest, NoteWithoutHeaderKeepsRecordCategoryAndWholeNote) {
  const std::string notes[] = {"8:00 am: Up",
                               "#A\n8:00 am: Up",
                               "# #E\n8:00 am: Up",
                               "",
                               std::string(archive::kNullStringMarker),
                               " ##E\nx"};
  for (const std::string& note : notes) {
    HeaderSplit split = splitJournalHeader(note, 7);
    EXPECT_EQ(split.category, 7) << note;
    EXPECT_EQ(split.body, note);
  }
}

TEST(SplitJournalHeaderTest, HeaderGivesCategoryFromFifthCharacterAndCutsFirstLine) {
  HeaderSplit split = splitJournalHeader("##xyE\n7:00 am: Up", 2);
  EXPECT_EQ(split.category, 5);
  EXPECT_EQ(split.body, "7:00 am: Up");

  EXPECT_EQ(splitJournalHeader("##xy@\n", 2).category, 0);
  EXPECT_EQ(splitJournalHeader("##xyA\n", 2).category, 1);
  EXPECT_EQ(splitJournalHeader("##xyO\n", 2).category, 15);
  EXPECT_EQ(splitJournalHeader("##xy0\n", 2).category, -16);
}

TEST(SplitJournalHeaderTest, CategoryCoversEveryByteFromMinus64To191) {
  for (int code = 0; code < 256; ++code) {
    std::string note = "##ab";
    note += static_cast<char>(code);
    note += "\nbody";
    HeaderSplit split = splitJournalHeader(note, 99);
    EXPECT_EQ(split.category, code - 64) << code;
    if (code != '\n') {
      EXPECT_EQ(split.body, "body") << code;
    }
  }
}

TEST(SplitJournalHeaderTest, BodyStartsAfterTheFirstLineFeedWhereverItIs) {
  // The line feed may come before the fifth character; the category still uses that character.
  HeaderSplit early = splitJournalHeader("##\nAB9:00 am: x\nmore", 4);
  EXPECT_EQ(early.category, 'B' - 64);
  EXPECT_EQ(early.body, "AB9:00 am: x\nmore");

  HeaderSplit crlf = splitJournalHeader("##xyE\r\n7:00 am: Up\n8:00 am: On", 4);
  EXPECT_EQ(crlf.category, 5);
  EXPECT_EQ(crlf.body, "7:00 am: Up\n8:00 am: On");

  EXPECT_EQ(splitJournalHeader("##xyE\n", 4).body, "");
}

TEST(SplitJournalHeaderTest, HeaderWithoutLineFeedStaysInBody) {
  HeaderSplit split = splitJournalHeader("##xyE 7:00 am: Up", 2);
  EXPECT_EQ(split.category, 5);
  EXPECT_EQ(split.body, "##xyE 7:00 am: Up");
  EXPECT_EQ(splitJournalHeader("##xyE", 2).category, 5);
  EXPECT_EQ(splitJournalHeader("##xyE", 2).body, "##xyE");
}

TEST(SplitJournalHeaderTest, ShortHeaderKeepsRecordCategory) {
  EXPECT_EQ(splitJournalHeader("##", 3).category, 3);
  EXPECT_EQ(splitJournalHeader("##", 3).body, "##");
  EXPECT_EQ(splitJournalHeader("##AB", -2).category, -2);
  EXPECT_EQ(splitJournalHeader("##AB", -2).body, "##AB");
  HeaderSplit withLineFeed = splitJournalHeader("##\nx", 3);
  EXPECT_EQ(withLineFeed.category, 3);
  EXPECT_EQ(withLineFeed.body, "x");
  EXPECT_EQ(splitJournalHeader("##A\n", 3).body, "");
}

TEST(JournalDateTextTest, DateIsTheDayOfTheBiasedStartTime) {
  // 1018137600 is 2002-04-07 00:00:00.
  EXPECT_EQ(journalDateText(1018137600, "0"), "4/07/2002");
  EXPECT_EQ(journalDateText(1018137600, "-4"), "4/06/2002");
  EXPECT_EQ(journalDateText(1018137600, "23.99"), "4/07/2002");
  EXPECT_EQ(journalDateText(1018137600, "24"), "4/08/2002");
  EXPECT_EQ(journalDateText(1018137599, ""), "4/06/2002");
  EXPECT_EQ(journalDateText(1018137599, "not a number"), "4/06/2002");
  EXPECT_EQ(journalDateText(0, "0"), "1/01/1970");
  EXPECT_EQ(journalDateText(1009843199, "0"), "12/31/2001");
}

TEST(JournalDateTextTest, UnrepresentableTimeKeepsTheDateShape) {
  EXPECT_EQ(journalDateText(1018137600, "1e999"),
            "?/??"
            "/????");  // split: "??/" is a trigraph
}

}  // namespace
}  // namespace vessory::journal
