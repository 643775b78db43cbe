#include "archive/text_converter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// Sequences some decoders let through although they are not UTF-8: values past U+10FFFF,
// surrogates and overlong forms. Output of a converter is always well-formed.
TEST(TextConverterTest, SequencesThatAreNotUtf8BecomeOneReplacementPerByte) {
  auto converter = open("UTF-8");
  EXPECT_EQ(converter->toUtf8("a\xF6\x90\x90\x90z"), "a" + kFffd + kFffd + kFffd + kFffd + "z");
  EXPECT_EQ(converter->toUtf8("\xED\xA0\x80."), kFffd + kFffd + kFffd + ".");
  EXPECT_EQ(converter->toUtf8("\xC0\x80\xF4\x90\x80\x80"), std::string() + kFffd + kFffd + kFffd +
                                                               kFffd + kFffd + kFffd);
  EXPECT_EQ(converter->replacements(), 13);
  EXPECT_EQ(converter->toUtf8("\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"), "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(converter->replacements(), 13);
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

// Plain ASCII takes a shorter way through the sets known to keep it; every set still gives the
// text its own meaning.
TEST(TextConverterTest, AsciiTextIsAsEachCharacterSetDefinesIt) {
  const std::string ascii = "Plain \\ text ~ with\r\n\tcontrols";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"windows-1250", ascii}, {"CP1252", ascii},      {"windows-1258", ascii},
      {"ISO-8859-2", ascii},   {"iso8859-15", ascii},  {"UTF-8", ascii},
      {"US-ASCII", ascii},
#ifndef _WIN32
      // iconv's SHIFT_JIS has the yen sign and the overline where ASCII has \\ and ~.
      {"SHIFT_JIS", "Plain \u00A5 text \u203E with\r\n\tcontrols"},
#endif
  };
  for (const auto& [charset, expected] : cases) {
    auto converter = open(charset);
    std::string out = "head:";
    converter->appendUtf8(ascii, out);
    EXPECT_EQ(out, "head:" + expected) << charset;
    EXPECT_EQ(converter->replacements(), 0) << charset;
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
