#include "archive/text_converter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vessory::archive {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

std::unique_ptr<TextConverter> open(const std::string& charset) {
  std::string error;
  std::unique_ptr<TextConverter> converter = TextConverter::open(charset, error);
  EXPECT_NE(converter, nullptr) << charset << ": " << error;
  return converter;
}

TEST(TextConverterTest, UnknownOrMissingNamesGiveNoConverterAndAReason) {
  for (const std::string& name :
       {std::string("no-such-charset"), std::string("windows-99999"), std::string()}) {
    std::string error;
    EXPECT_EQ(TextConverter::open(name, error), nullptr) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST(TextConverterTest, NamesAreTakenInAnyCase) {
  EXPECT_EQ(open("Windows-1252")->toUtf8("\x80"), "\u20AC");
  EXPECT_EQ(open("iso-8859-15")->toUtf8("\xA4"), "\u20AC");
}

TEST(TextConverterTest, EveryUndefinedByteIsOneReplacementCountedAcrossCalls) {
  auto converter = open("windows-1252");
  EXPECT_EQ(converter->toUtf8("\x81x\x8D\x8F"), kFffd + "x" + kFffd + kFffd);
  EXPECT_EQ(converter->replacements(), 3);
  EXPECT_EQ(converter->toUtf8("ok \x90\x9D"), "ok " + kFffd + kFffd);
  EXPECT_EQ(converter->replacements(), 5);
  EXPECT_EQ(converter->toUtf8("\xE9"), "\u00E9");
  EXPECT_EQ(converter->replacements(), 5);
}

TEST(TextConverterTest, BrokenUtf8IsReplacedByteForByteAndTheRestKept) {
  auto converter = open("UTF-8");
  EXPECT_EQ(converter->toUtf8("a\xFF"
                              "b\xC3\xA9"),
            "a" + kFffd + "b\u00E9");
  // A sequence the text ends inside.
  EXPECT_EQ(converter->toUtf8("z\xE2\x82"), "z" + kFffd + kFffd);
  EXPECT_EQ(converter->replacements(), 3);
}

TEST(TextConverterTest, TextLongerThanOneBufferIsConvertedWhole) {
  auto converter = open("windows-1252");
  // Output lengths on both sides of the converter's buffer, with two- and three-byte
  // characters falling across its end.
  for (std::size_t lead = 1015; lead < 1030; ++lead) {
    std::string in(lead, 'a');
    std::string expected(lead, 'a');
    for (int i = 0; i < 700; ++i) {
      in += i % 2 == 0 ? "\xE9" : "\x80";
      expected += i % 2 == 0 ? "\u00E9" : "\u20AC";
    }
    in +=
        "\x81"
        "end";
    expected += kFffd + "end";
    ASSERT_EQ(converter->toUtf8(in), expected) << lead;
  }
}

TEST(TextConverterTest, AppendKeepsWhatWasThereAndEmptyTextAddsNothing) {
  auto converter = open("windows-1252");
  std::string out = "head:";
  converter->appendUtf8("", out);
  converter->appendUtf8("\xFC", out);
  EXPECT_EQ(out, "head:\u00FC");
}

}  // namespace
}  // namespace vessory::archive
