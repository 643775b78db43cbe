// A memo as a file: the text it holds, the title its name comes from, and the names of one
// export kept apart.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "memos/memo_names.h"
#include "memos/memo_text.h"

namespace vessory::memos {
namespace {

TEST(MemoTextTest, FileHoldsTheWholeTextWithLfLineEndsEndingInOne) {
  const struct {
    std::string text, file;
  } cases[] = {
      {"Shopping list\r\nmilk\r\neggs", "Shopping list\nmilk\neggs\n"},
      {"Ends with one line break\n", "Ends with one line break\n"},
      {"two\r\n\r\n", "two\n\n"},
      {"old Mac\rline", "old Mac\nline\n"},
      {"", "\n"},
      {"   ", "   \n"},
      {"Tab\there \x07", "Tab\there \x07\n"},
      {"\r", "\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(memoFileText(c.text), c.file) << c.text;
}

TEST(MemoTextTest, TitleIsTheFirstLineWithTextOrTheRecordId) {
  const struct {
    std::string text, title;
  } cases[] = {
      {"Shopping list\r\nmilk", "Shopping list"},
      {"\r\n   \r\n  Trimmed title  \r\nbody", "Trimmed title"},
      {"\t\u3000\nSecond line", "Second line"},
      {"", "Memo 7"},
      {"   ", "Memo 7"},
      {"\r\n\r\n", "Memo 7"},
      {"..\nbody", "Memo 7"},  // the first line with text decides, even when none of it is safe
      {"CON\nbody", "CON_"},
  };
  for (const auto& c : cases) EXPECT_EQ(memoTitle(c.text, 7), c.title) << c.text;
}

TEST(MemoTextTest, ArchiveTextIsConvertedBeforeAnyRuleSees) {
  std::string error;
  const auto cp932 = archive::TextConverter::open("CP932", error);
  ASSERT_NE(cp932, nullptr) << error;
  // The second byte of the katakana SO is 0x5C, a backslash in ASCII.
  const std::string utf8 = memoUtf8("\x83\x5C\x83\x74\x83\x67\r\n\x89\xEF\x8B\x63", *cp932);
  EXPECT_EQ(memoTitle(utf8, 1), "\u30BD\u30D5\u30C8");
  EXPECT_EQ(memoFileText(utf8), "\u30BD\u30D5\u30C8\n\u4F1A\u8B70\n");
  EXPECT_EQ(memoUtf8("\xAB"
                     "NULL\xBB",
                     *cp932),
            "");
}

TEST(MemoNamesTest, RepeatedTitlesAreCountedPerFolderIgnoringCase) {
  const struct {
    std::string folder, title, path;
  } sequence[] = {
      {"Unfiled", "Shopping", "Unfiled/Shopping.txt"},
      {"Unfiled", "Shopping", "Unfiled/Shopping (2).txt"},
      {"Business", "Shopping", "Business/Shopping.txt"},
      {"Unfiled", "Shopping (3)", "Unfiled/Shopping (3).txt"},  // a real title first
      {"Unfiled", "Shopping", "Unfiled/Shopping (4).txt"},
      {"Unfiled", "SHOPPING", "Unfiled/SHOPPING (5).txt"},
      {"unfiled", "Ideas", "Unfiled/Ideas.txt"},  // the folder as first spelt
      {"BUSINESS", "shopping", "Business/shopping (2).txt"},
      {"Unfiled", "Shopping (2)", "Unfiled/Shopping (2) (2).txt"},
      {"Unfiled", "\u00C9T\u00C9", "Unfiled/\u00C9T\u00C9.txt"},
      {"Unfiled", "\u00E9t\u00E9", "Unfiled/\u00E9t\u00E9 (2).txt"},
      {"Unfiled", "\u0416\u017D\u0391", "Unfiled/\u0416\u017D\u0391.txt"},
      {"Unfiled", "\u0436\u017E\u03B1", "Unfiled/\u0436\u017E\u03B1 (2).txt"},
      {"Unfiled", "\u00D7", "Unfiled/\u00D7.txt"},  // no letter: not the division sign's pair
      {"Unfiled", "\u00F7", "Unfiled/\u00F7.txt"},
  };
  MemoNames names;
  for (const auto& s : sequence) EXPECT_EQ(names.next(s.folder, s.title), s.path) << s.title;
}

// How long the names take is measured by BM_MemoNamesOfOneTitle.
TEST(MemoNamesTest, ThousandsOfOneTitleAreNumberedInTurn) {
  constexpr int kMemos = 100000;
  MemoNames names;
  names.next("Unfiled", "Note (5)");
  std::string last;
  for (int i = 0; i < kMemos; ++i) last = names.next("Unfiled", "Note");
  // One counter is skipped for the real "Note (5)".
  EXPECT_EQ(last, "Unfiled/Note (" + std::to_string(kMemos + 1) + ").txt");
}

}  // namespace
}  // namespace vessory::memos
