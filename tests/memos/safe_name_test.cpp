// Names made from archive text: each rule of safeName() and safeFolderName(), and random bytes
// that must still give a name that stays in its folder on every system.

#include "memos/safe_name.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "memos/memo_names.h"
#include "memos/memo_text.h"
#include "memos/utf8.h"

namespace vessory::memos {
namespace {

struct NameCase {
  std::string given;
  std::string safe;
};

void expectSafe(const std::vector<NameCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(safeName(c.given), c.safe) << c.given;
}

TEST(SafeNameTest, UnsafeAndControlCharactersBecomeUnderscores) {
  expectSafe({
      {"What? A \"quote\" <tag> | pipe * star: colon",
       "What_ A _quote_ _tag_ _ pipe _ star_ colon"},
      {"Tab\there and a bell \x07 too", "Tab_here and a bell _ too"},
      {"del\x7F"
       "c1\xC2\x85"
       "nul" +
           std::string(1, '\0') + "x",
       "del_c1_nul_x"},
      {"bad \xFF\xC0\x80 utf8 \xED\xA0\x80", "bad \uFFFD\uFFFD\uFFFD utf8 \uFFFD\uFFFD\uFFFD"},
      {"\t  Caf\u00E9 \u3000", "Caf\u00E9"},
  });
}

TEST(SafeNameTest, NoNameLeadsOutOfItsFolder) {
  expectSafe({
      {"../../x", "_.._x"},
      {"..\\..\\y", "_.._y"},
      {"/etc/passwd", "_etc_passwd"},
      {"C:\\x", "C__x"},
      {"\\\\server\\share", "__server_share"},
      {"..", ""},
      {".", ""},
      {". . .", ""},
      {".hidden", "hidden"},
      {"...dots at both ends...", "dots at both ends"},
      {"trailing dots and blanks . . .  ", "trailing dots and blanks"},
  });
}

TEST(SafeNameTest, WindowsDeviceNamesGetAnUnderscore) {
  expectSafe({
      {"CON", "CON_"},
      {"con.txt", "con_.txt"},
      {"Aux.tar.gz", "Aux_.tar.gz"},
      {"LPT9", "LPT9_"},
      {"nul..", "nul_"},
      {"com1", "com1_"},
      {"PRN .txt", "PRN_ .txt"},
      {"COM\u00B2", "COM\u00B2_"},
      {"COM10", "COM10"},
      {"CONSOLE", "CONSOLE"},
      {"LPT0", "LPT0"},
      {"A CON", "A CON"},
  });
}

TEST(SafeNameTest, CutToSixtyFourWholeCharactersThenTrailingBlanksGo) {
  const auto times = [](int n, const std::string& s) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  expectSafe({
      {times(63, "x") + "\u00E9 rest", times(63, "x") + "\u00E9"},
      {times(70, "\u20AC"), times(64, "\u20AC")},
      {times(63, "z") + " blank at the cut", times(63, "z")},
      {times(62, "z") + ". dot", times(62, "z")},
      // Four-byte characters meet the byte limit first.
      {times(64, "\U0001F600"), times(kNameBytes / 4, "\U0001F600")},
  });
}

TEST(SafeNameTest, CategoryFoldersAreSafeUnfiledOrNumbered) {
  const struct {
    std::string name;
    std::int64_t index;
    std::string folder;
  } cases[] = {
      {"Work/Home", 2, "Work_Home"},         {"Con", 3, "Con_"},      {"", 0, "Unfiled"},
      {"Gesch\u00E4ft", 4, "Gesch\u00E4ft"}, {"..", 5, "Category 5"}, {"../..", 6, "_"},
  };
  for (const auto& c : cases) EXPECT_EQ(safeFolderName(c.name, c.index), c.folder) << c.name;
}

bool validUtf8(const std::string& s) {
  for (std::size_t at = 0; at < s.size();) {
    const std::size_t before = at;
    if (nextCodePoint(s, at) == kReplacement && s.compare(before, 3, "\xEF\xBF\xBD") != 0) {
      return false;
    }
  }
  return true;
}

// Random bytes, weighted towards the characters the rules are about, as titles and folders.
TEST(SafeNameTest, RandomBytesAlwaysGiveASafePathInsideTheFolder) {
  const std::string alphabet = "./\\:*?\"<>| \t\r\nCONULPTAUXcom19\x7F\x80\xC3\xA9\xE2\x82\xAC\xF0";
  std::mt19937 random(20240611);
  MemoNames names;
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 90, '\0');
    for (char& c : text) {
      c = random() % 4 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
    }
    const std::string folder = safeFolderName(text.substr(0, text.size() / 3), round % 7);
    const std::string title = memoTitle(text, round);
    const std::string path = names.next(folder, title);
    SCOPED_TRACE(::testing::PrintToString(text));
    for (const std::string& part : {folder, title}) {
      EXPECT_FALSE(part.empty());
      EXPECT_EQ(safeName(part), part);  // nothing left to make safe, a device name included
      EXPECT_TRUE(part != "." && part != "..");
      EXPECT_EQ(part.find_first_of("/\\:*?\"<>|"), std::string::npos);
      EXPECT_TRUE(validUtf8(part));
      EXPECT_LE(decodeUtf8(part).size(), kNameCharacters + 9);  // "Category N" may be longer
      EXPECT_NE(part.front(), '.');
      EXPECT_TRUE(part.back() != '.' && part.back() != ' ');
      for (const char c : part) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
    }
    EXPECT_EQ(path.find('/'), folder.size());
    EXPECT_EQ(path.rfind('/'), folder.size());
    EXPECT_LE(path.size() - folder.size() - 1, 255u);
  }
}

}  // namespace
}  // namespace vessory::memos
