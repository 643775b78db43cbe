#include "journal/daily_notes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/markdown_text.h"
#include "support/fake_export.h"

namespace vessory::journal {
namespace {

struct Row {
  std::string in;
  std::string out;
};

std::string markdown(const std::string& text) {
  std::string out;
  appendMarkdownText(text, out);
  return out;
}

// Every character and line start a CommonMark reader (or a notes app) takes for markup, and
// the line breaks and blanks it would drop; scripts/check-daily-notes renders the same texts
// through cmark.
TEST(MarkdownText, EscapesWhatWouldBecomeMarkupAndKeepsEveryLineBreak) {
  const std::vector<Row> rows = {
      {"plain words, 3.14 and a-b+c > d", "plain words, 3.14 and a-b+c > d"},
      {"<Anna> & Tom", "\\<Anna> & Tom"},
      {"*b* _e_ **s** `c` \\", "\\*b\\* \\_e\\_ \\*\\*s\\*\\* \\`c\\` \\\\"},
      {"# h #tag [x](y) ![i](j) [[w]] [^1]", "\\# h \\#tag \\[x\\](y) !\\[i\\](j) \\[\\[w\\]\\] \\[^1\\]"},
      {"| a | ~~s~~ $x$ ==m== %%c%% 50%", "\\| a \\| \\~\\~s\\~\\~ \\$x\\$ \\==m\\== \\%%c\\%% 50%"},
      {"&amp; &#65; &lt;", "\\&amp; \\&\\#65; \\&lt;"},
      {"> q", "\\> q"},
      {"- l", "\\- l"},
      {"+ l", "\\+ l"},
      {"---", "\\---"},
      {"===", "\\=\\=="},
      {"1. n", "1\\. n"},
      {"2) n", "2\\) n"},
      {"123456789.", "123456789\\."},
      {"1234567890. n", "1234567890. n"},
      {"    code", "&#32;&#32;&#32;&#32;code"},
      {"\tx\t", "&#9;x&#9;"},
      {"two  ", "two&#32;&#32;"},
      {"\fv\v", "&#12;v&#11;"},
      {std::string("a\0b", 3), "a\xEF\xBF\xBD" "b"},
      {"  ", "&#32;&#32;"},
      {"a\nb", "a\\\nb"},
      {"a\r\nb\rc", "a\\\nb\\\nc"},
      {"a\n\n\nb", "a\\\n\\\n\\\nb"},
      {"\nlead", "\\\nlead"},
      {"end\\\nx", "end\\\\\\\nx"},
      {"tail\n\r\n", "tail"},
      {"", ""},
      {"\n", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(markdown(row.in), row.out) << row.in;
}

TEST(MarkdownText, HeadingsTagsAndYaml) {
  const std::vector<Row> headings = {
      {"7:30 AM", "7:30 AM"}, {"??:??", "??:??"}, {"7:30\nAM", "7:30 AM"},
      {"# *x* #", "\\# \\*x\\* \\#"}, {" \r\n ", ""}};
  for (const Row& row : headings) {
    std::string out;
    appendMarkdownHeading(row.in, out);
    EXPECT_EQ(out, row.out) << row.in;
  }
  const std::vector<std::pair<std::string, bool>> tags = {
      {"Anna", true},      {"x-y/z9", true},  {"a_b", true},   {"K\xC3\xB6ln", true},
      {"", false},         {"2004", false},   {"Anna Bob", false}, {"<double", false},
      {"_a", false},       {"a/_b_", false},  {"a_", false},   {"a*b", false}};
  for (const auto& [word, valid] : tags) EXPECT_EQ(isTagWord(word), valid) << word;
  const std::vector<Row> yaml = {
      {"Business", "\"Business\""},
      {"B\xC3\xBCro: \"K\xC3\xB6ln\" #2", "\"B\xC3\xBCro: \\\"K\xC3\xB6ln\\\" #2\""},
      {"a\\b\t-\x7F", "\"a\\\\b\\x09-\\x7F\""},
      {"\xC2\x85\xC2\xA0\xE2\x80\xA8\xE2\x80\xA9\xEF\xBF\xBF", "\"\\x85\xC2\xA0\\L\\P\\uFFFF\""},
      {"- [x]: yes", "\"- [x]: yes\""}};
  for (const Row& row : yaml) {
    std::string out;
    appendYamlQuoted(row.in, out);
    EXPECT_EQ(out, row.out) << row.in;
  }
}

TEST(DailyNotesDays, DatesNamesAndTitles) {
  struct Case {
    std::string dateText;
    std::string file;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"3/15/2004", "2004/2004-03-15.md", "Monday, 15 March 2004"},
      {"1/02/2005", "2005/2005-01-02.md", "Sunday, 2 January 2005"},
      {"2/29/2008", "2008/2008-02-29.md", "Friday, 29 February 2008"},
      {"1/01/0001", "0001/0001-01-01.md", "Monday, 1 January 1"},
      {"12/31/9999", "9999/9999-12-31.md", "Friday, 31 December 9999"},
      {"?/??" "/????", "undated.md", "Undated"},  // split: "??/" is a trigraph
      {"2/30/2004", "undated.md", "Undated"},
      {"13/01/2004", "undated.md", "Undated"},
      {"3/15/2004x", "undated.md", "Undated"},
  };
  for (const Case& c : cases) {
    const JournalDay day = parseJournalDate(c.dateText).value_or(JournalDay{});
    EXPECT_EQ(dayFileName(day), c.file) << c.dateText;
    EXPECT_EQ(dayTitle(day), c.title) << c.dateText;
  }
  EXPECT_EQ(dailyNotesFolderBeside("jp/Datebook.dat"), "jp/Datebook-journal");
  EXPECT_EQ(dailyNotesFolderBeside("a.b/DatebookDB"), "a.b/DatebookDB-journal");
  EXPECT_EQ(dailyNotesFolderForCsv("out/journal-archive.csv"), "out/journal-archive");
}

std::vector<std::pair<std::string, std::string>> rendered(const DailyNotes& notes) {
  std::vector<std::pair<std::string, std::string>> files;
  notes.render([&](const std::string& name, const std::string& text) {
    files.emplace_back(name, text);
    return true;
  });
  return files;
}

// Two records on one day share its file in the order added, their categories as tags once
// each; an entry without a time label keeps "??:??"; an entry without text is its heading.
TEST(DailyNotes, DaysGatherEntriesInOrderWithTheirTags) {
  DailyNotes notes;
  notes.add("3/16/2004", "", {"9:15 AM", "Met <Bob>\nat the cafe", "Bob"});
  notes.add("3/15/2004", "Business", {"7:30 AM", "Woke", ""});
  notes.add("3/15/2004", "Pers: \"x\"", {"??:??", "", "<d"});
  notes.add("3/15/2004", "Business", {"8:00 AM", "- a", ""});
  const auto files = rendered(notes);
  ASSERT_EQ(files.size(), 2U);
  EXPECT_EQ(files[0].first, "2004/2004-03-15.md");
  EXPECT_EQ(files[0].second,
            "---\ndate: 2004-03-15\ntags:\n  - \"Business\"\n  - \"Pers: \\\"x\\\"\"\n---\n\n"
            "# Monday, 15 March 2004\n\n## 7:30 AM\n\nWoke\n\n## ??:??\n\n## 8:00 AM\n\n\\- a\n");
  EXPECT_EQ(files[1].second,
            "---\ndate: 2004-03-16\n---\n\n# Tuesday, 16 March 2004\n\n"
            "## 9:15 AM #Bob\n\nMet \\<Bob>\\\nat the cafe\n");
}

TEST(DailyNotes, WritesDayFilesWholeAndLeavesOtherDaysAlone) {
  testing::MemoryFiles files;
  files.earlier("out/2003/2003-01-01.md", "an earlier day");
  files.earlier("out/2004/2004-03-15.md", "earlier text");
  files.earlier("out/2004/notes.txt", "not a day");
  DailyNotes notes;
  notes.add("3/15/2004", "", {"7:30 AM", "Woke", ""});
  notes.add("1/02/2005", "", {"8:00", "New", ""});
  DailyNotesWritten written = writeDailyNotes(files, "out", notes);
  EXPECT_EQ(written.error, "");
  EXPECT_EQ(written.days, 2);
#ifndef _WIN32  // the folders in memory are listed with the system's separator
  EXPECT_EQ(written.leftAlone, 1);
#endif
  EXPECT_EQ(files.csv("out/2003/2003-01-01.md"), "an earlier day");
  EXPECT_NE(files.csv("out/2005/2005-01-02.md").find("## 8:00\n\nNew\n"), std::string::npos);
  EXPECT_NE(files.csv("out/2004/2004-03-15.md").find("Woke"), std::string::npos);

  // A failed write leaves the earlier file as it was and says which file failed.
  files.earlier("out/2004/2004-03-15.md", "earlier text");
  files.failWritesAfter = 10;
  written = writeDailyNotes(files, "out", notes);
  EXPECT_EQ(written.error.rfind("Cannot write out/2004/2004-03-15.md: ", 0), 0U) << written.error;
  EXPECT_EQ(written.days, 0);
  EXPECT_EQ(files.csv("out/2004/2004-03-15.md"), "earlier text");
}

}  // namespace
}  // namespace vessory::journal
