// The edges of two forms archive text takes: UTF-8 sequences at the ends of each lead byte's
// range (kept whole, or each replaced when one byte leaves it), and the time-zone bias written
// as a hexadecimal or octal number in either case.

#include <gtest/gtest.h>

#include <string>

#include "archive/text_converter.h"
#include "archive/timestamp.h"

namespace vessory::archive {
namespace {

TEST(TextForms, UTF8SequencesAreKeptOnlyInsideTheirLeadBytesRange) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {{"\xE0\xA0\x80", true},      {"\xE0\x9F\xBF", false},     {"\xED\x9F\xBF", true},
               {"\xED\xA0\x80", false},     {"\xE1\x80\x41", false},     {"\xF0\x90\x80\x80", true},
               {"\xF0\x8F\xBF\xBF", false}, {"\xF4\x8F\xBF\xBF", true},  {"\xF4\x90\x80\x80", false},
               {"\xF5\x80\x80\x80", false}, {"\xC3", false},             {"\xC3\xA9", true}};
  std::string error;
  const std::unique_ptr<TextConverter> utf8 = TextConverter::open("UTF-8", error);
  ASSERT_TRUE(utf8) << error;
  for (const auto& c : cases) {
    const std::string text = "a" + c.bytes + "z";
    const std::string out = utf8->toUtf8(text);
    EXPECT_EQ(out == text, c.valid) << out;
    EXPECT_EQ(out.find(kReplacementCharacter) == std::string::npos, c.valid) << out;
  }
}

TEST(TextForms, TheBiasIsReadInHexadecimalAndOctalWhateverTheCase) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"&hff", 255}, {"&HFF", 255}, {"&h1aF", 431}, {"&o17", 15}, {"&O17", 15},
               {"&h1g", 1}};
  for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace vessory::archive
