#include "journal/csv_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "journal/entry_splitter.h"
#include "journal/journal_selection.h"

namespace vessory::journal {
namespace {

JournalEntry entry(std::int64_t category, std::string timeText, std::string text) {
  JournalEntry e;
  e.category = category;
  e.dateText = "4/07/2002";
  e.timeText = std::move(timeText);
  e.text = std::move(text);
  return e;
}

// Writes one row with a fresh writer and returns the line.
std::string line(JournalEntry e, std::string_view delimiters) {
  files::StringOutput output;
  CsvJournalWriter writer(output);
  writer.writeJournalRow(e, delimiters);
  EXPECT_TRUE(output.close());
  return output.contents();
}

TEST(CsvPathForTest, DatAnywhereLosesLastThreeCharacters) {
  EXPECT_EQ(csvPathFor("C:\\Palm\\User\\datebook\\datebook.dat"),
            "C:\\Palm\\User\\datebook\\datebook.csv");
  EXPECT_EQ(csvPathFor("D:\\old.data\\datebook.bak"), "D:\\old.data\\datebook.csv");
  EXPECT_EQ(csvPathFor("D:\\Backup\\datebook.dat.old"), "D:\\Backup\\datebook.dat.csv");
  EXPECT_EQ(csvPathFor("/home/u/palm/Datebook.dat"), "/home/u/palm/Datebook.csv");
  EXPECT_EQ(csvPathFor(".dat"), ".csv");
}

TEST(CsvPathForTest, OtherPathsGetCsvAppended) {
  EXPECT_EQ(csvPathFor("D:\\Backup\\Datebook.DAT"), "D:\\Backup\\Datebook.DAT.csv");
  EXPECT_EQ(csvPathFor("D:\\Backup\\datebook"), "D:\\Backup\\datebook.csv");
  EXPECT_EQ(csvPathFor("x.da"), "x.da.csv");
  EXPECT_EQ(csvPathFor(""), ".csv");
}

TEST(DoubleQuotesTest, EveryQuotationMarkIsDoubled) {
  EXPECT_EQ(doubleQuotes("Lunch"), "Lunch");
  EXPECT_EQ(doubleQuotes(""), "");
  EXPECT_EQ(doubleQuotes("\""), "\"\"");
  EXPECT_EQ(doubleQuotes("\"\"\""), "\"\"\"\"\"\"");
  EXPECT_EQ(doubleQuotes("Meeting with \"Bob\""), "Meeting with \"\"Bob\"\"");
  EXPECT_EQ(doubleQuotes(std::string("\"\x00'\xFF\"", 5)), std::string("\"\"\x00'\xFF\"\"", 7));
}

TEST(ExtractKeywordTest, TextBetweenFirstOpeningAndFirstClosingDelimiter) {
  EXPECT_EQ(extractKeyword("Met <Bob> today", "<>", "old"), "Bob");
  EXPECT_EQ(extractKeyword("<a\"\"b> x", "<>", ""), "a\"\"b");
  EXPECT_EQ(extractKeyword("<<a>> <b>", "<>", ""), "<a");
  EXPECT_EQ(extractKeyword("x <> y", "<>", "old"), "");
  EXPECT_EQ(extractKeyword("[k] <v>", "[]x", ""), "k");
  EXPECT_EQ(extractKeyword("<v> ]x[", "[]x", ""), "");
}

TEST(ExtractKeywordTest, MissingOrReversedDelimitersGiveEmptyKeyword) {
  EXPECT_EQ(extractKeyword("Lunch", "<>", "old"), "");
  EXPECT_EQ(extractKeyword("<open only", "<>", "old"), "");
  EXPECT_EQ(extractKeyword("closed> only", "<>", "old"), "");
  EXPECT_EQ(extractKeyword("a > b <c>", "<>", "old"), "");
  EXPECT_EQ(extractKeyword("", "<>", "old"), "");
}

TEST(ExtractKeywordTest, EqualDelimitersNeverGiveAKeyword) {
  EXPECT_EQ(extractKeyword("|a|b|", "||", "old"), "");
  EXPECT_EQ(extractKeyword("||", "||", "old"), "");
}

TEST(ExtractKeywordTest, ShortDelimiterTextKeepsPreviousKeyword) {
  EXPECT_EQ(extractKeyword("<Bob>", "<", "Ann"), "Ann");
  EXPECT_EQ(extractKeyword("<Bob>", "", "Ann"), "Ann");
  EXPECT_EQ(extractKeyword("<Bob>", "<", ""), "");
}

TEST(WriteJournalRowTest, LinesAreExactToTheByte) {
  EXPECT_EQ(line(entry(3, "9:15 AM", "Met <Bob> today"), "<>"),
            "3,Bob,4/07/2002,9:15 AM,\"Met <Bob> today\"\r\n");
  EXPECT_EQ(line(entry(3, "9:15 AM", "Lunch"), "<>"), "3,,4/07/2002,9:15 AM,\"Lunch\"\r\n");
  EXPECT_EQ(line(entry(3, "9:15 AM", "Lunch"), ""), "3,4/07/2002,9:15 AM,\"Lunch\"\r\n");
  EXPECT_EQ(line(entry(3, "9:15 AM", "<Lunch>"), "<"), "3,,4/07/2002,9:15 AM,\"<Lunch>\"\r\n");
  EXPECT_EQ(line(entry(3, "9:15 AM", "Meeting with \"Bob\""), "<>"),
            "3,,4/07/2002,9:15 AM,\"Meeting with \"\"Bob\"\"\"\r\n");
  EXPECT_EQ(line(entry(3, "9:15 AM", "<a\"b> x"), "<>"),
            "3,a\"\"b,4/07/2002,9:15 AM,\"<a\"\"b> x\"\r\n");
  // The keyword is taken from the text after its quotation marks have been doubled.
  EXPECT_EQ(line(entry(3, "9:15 AM", "a\"b\"c"), "\"c"),
            "3,\"b\"\",4/07/2002,9:15 AM,\"a\"\"b\"\"c\"\r\n");
  EXPECT_EQ(line(entry(3, "8:00 AM", ""), "<>"), "3,,4/07/2002,8:00 AM,\"\"\r\n");
  EXPECT_EQ(line(entry(3, "2,45", "x"), "<>"), "3,,4/07/2002,2,45,\"x\"\r\n");
}

TEST(WriteJournalRowTest, CategoryIsPlainDecimal) {
  EXPECT_EQ(line(entry(-16, "??:??", "x"), ""), "-16,4/07/2002,??:??,\"x\"\r\n");
  EXPECT_EQ(line(entry(0, "??:??", "x"), ""), "0,4/07/2002,??:??,\"x\"\r\n");
  EXPECT_EQ(line(entry(4294967294, "??:??", "x"), ""), "4294967294,4/07/2002,??:??,\"x\"\r\n");
  EXPECT_EQ(line(entry(-1, "??:??", "x"), ""), "-1,4/07/2002,??:??,\"x\"\r\n");
}

TEST(WriteJournalRowTest, BytesPassThroughUnchanged) {
  using namespace std::string_literals;
  JournalEntry e = entry(1, "\xE9T\xE9"s, "a\x00\xFF\xAB\r\nb<\x00>"s);
  e.dateText =
      "\xAB"
      "NULL"
      "\xBB";
  EXPECT_EQ(line(e, "<>"),
            "1,\x00,\xAB"
            "NULL\xBB,\xE9T\xE9,\"a\x00\xFF\xAB\r\nb<\x00>\"\r\n"s);
}

TEST(WriteJournalRowTest, KeywordIsKeptWhileDelimiterTextIsShort) {
  files::StringOutput output;
  CsvJournalWriter writer(output);
  const struct {
    std::string text;
    std::string delimiters;
    std::string keyword;
    std::string row;
  } steps[] = {
      {"<Bob> one", "<>", "Bob", "1,Bob,d,t,\"<Bob> one\"\r\n"},
      {"<Ann> two", "<", "Bob", "1,Bob,d,t,\"<Ann> two\"\r\n"},
      {"<Ann> three", "", "Bob", "1,d,t,\"<Ann> three\"\r\n"},
      {"four", "<", "Bob", "1,Bob,d,t,\"four\"\r\n"},
      {"five", "<>", "", "1,,d,t,\"five\"\r\n"},
      {"[six]", "[", "", "1,,d,t,\"[six]\"\r\n"},
  };
  std::string expected;
  for (const auto& step : steps) {
    JournalEntry e;
    e.category = 1;
    e.dateText = "d";
    e.timeText = "t";
    e.text = step.text;
    writer.writeJournalRow(e, step.delimiters);
    EXPECT_EQ(e.keyword, step.keyword) << step.text;
    expected += step.row;
  }
  ASSERT_TRUE(output.close());
  EXPECT_EQ(output.contents(), expected);
}

// The note of one journal record taken through header, splitter and writer.
std::string exportNote(std::string_view note, std::int64_t startTime, bool wordWrap) {
  HeaderSplit header = splitJournalHeader(note, 1);
  JournalNote journal{header.category, journalDateText(startTime, "-4"), header.body};
  files::StringOutput output;
  CsvJournalWriter writer(output);
  EntrySplitter splitter;
  splitter.split(journal, wordWrap,
                 [&writer](JournalEntry& e) { writer.writeJournalRow(e, "<>"); });
  EXPECT_TRUE(output.close());
  return output.contents();
}

TEST(WholeRecordTest, NoteBecomesTheseLines) {
  const std::string note = "##xyE\n9:15 am: Met <Bob>\r\nat the cafe\r\n10:30 am: Said \"hi\"\n";
  const std::int64_t startTime = 1018185300;  // 2002-04-07 13:15:00, 09:15:00 with bias -4
  const std::string second = "5,,4/07/2002,10:30 AM,\"Said \"\"hi\"\"\"\r\n";
  EXPECT_EQ(exportNote(note, startTime, false),
            "5,Bob,4/07/2002,9:15 AM,\"Met <Bob>\nat the cafe\"\r\n" + second);
  EXPECT_EQ(exportNote(note, startTime, true),
            "5,Bob,4/07/2002,9:15 AM,\"Met <Bob> at the cafe\"\r\n" + second);
}

TEST(WholeRecordTest, NullMarkerNoteGivesOneUnlabelledRow) {
  EXPECT_EQ(exportNote("\xAB"
                       "NULL"
                       "\xBB",
                       1018185300, true),
            "1,,4/07/2002,??:??,\"\xAB"
            "NULL"
            "\xBB\"\r\n");
}

}  // namespace
}  // namespace vessory::journal
