// The content-line rules: text escaped so that it reads back whole, and lines folded at every
// possible place without going past 75 octets or splitting a character.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "contacts/card_reading.h"
#include "contacts/vcard_lines.h"

namespace vessory::testing {
namespace {

TEST(VCardLinesTest, EscapesBackslashCommaSemicolonAndNewline) {
  struct Case {
    std::string_view text;
    std::string_view escaped;
  };
  for (const Case& c : {Case{"", ""}, Case{"plain text", "plain text"},
                        Case{"a,b;c\\d\ne", "a\\,b\\;c\\\\d\\ne"}, Case{"\\n", "\\\\n"},
                        Case{",;\n\\", "\\,\\;\\n\\\\"}, Case{"\n\n", "\\n\\n"},
                        Case{"Bücher, café", "Bücher\\, café"}}) {
    std::string out = "KEEP";
    contacts::appendEscaped(c.text, out);
    EXPECT_EQ(out, "KEEP" + std::string(c.escaped)) << c.text;
    EXPECT_EQ(unescape(c.escaped), c.text);
  }
}

// Every place a fold can fall, with characters of one to four octets: lines stay whole UTF-8,
// at most 75 octets, filled as far as the characters allow, and unfold to the line written.
TEST(VCardLinesTest, FoldsAtEveryPlaceWithoutSplittingCharacters) {
  for (const std::string_view wide : {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
    for (int ascii = 0; ascii <= 80; ++ascii) {
      for (int count = 0; count <= 60; ++count) {
        std::string line = "NOTE:" + std::string(static_cast<std::size_t>(ascii), 'x');
        for (int i = 0; i < count; ++i) line += wide;
        std::string out;
        contacts::appendFolded(line, out);
        const std::string where = std::to_string(ascii) + " ASCII, " + std::to_string(count) +
                                  " of " + std::to_string(wide.size()) + " octets";
        ASSERT_EQ(shapeProblem(out), "") << where;
        ASSERT_EQ(unfold(out), std::vector<std::string>{line}) << where;
        // Every line but the last is cut no earlier than the last whole character allows.
        std::size_t start = 0;
        for (std::size_t end = out.find("\r\n"); end + 2 < out.size();
             start = end + 2, end = out.find("\r\n", start)) {
          ASSERT_GE(end - start, 75 - (wide.size() - 1)) << where;
        }
      }
    }
  }
}

TEST(VCardLinesTest, CutsBytesThatAreNotUtf8WithoutOverlongLines) {
  const std::string line = "NOTE:" + std::string(200, '\x80');
  std::string out;
  contacts::appendFolded(line, out);
  std::size_t start = 0;
  for (std::size_t end = out.find("\r\n"); end != std::string::npos;
       start = end + 2, end = out.find("\r\n", start)) {
    EXPECT_LE(end - start, 75u);
  }
  EXPECT_EQ(unfold(out), std::vector<std::string>{line});
}

}  // namespace
}  // namespace vessory::testing
