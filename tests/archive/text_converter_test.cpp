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

// windows-1255 and windows-1258 letters followed by combining marks. Linux's decoder joins a
// letter and its marks into one character where Unicode has one, and holds each letter back to
// see; every letter must still come out: at the text's end, before a refused byte, before ASCII.
// Windows gives each byte its own character.
TEST(TextConverterTest, LettersBeforeCombiningMarksAreJoinedOrKeptNeverLost) {
  struct Case {
    const char* charset;
    std::string in;
    std::string joined;    // Linux and the WebAssembly build
    std::string separate;  // Windows
    int replacements;
  };
  const std::vector<Case> cases = {
      {"windows-1255", "\xE0", "\u05D0", "\u05D0", 0},
      {"windows-1255", "ab\xE0", "ab\u05D0", "ab\u05D0", 0},
      {"windows-1255", "\xE0\x81" "b", "\u05D0" + kFffd + "b", "\u05D0" + kFffd + "b", 1},
      {"windows-1255", "\xE0\xC8", "\uFB2F", "\u05D0\u05B8", 0},
      {"windows-1255", "\xF9\xD1\xC9", "\uFB2A\u05B9", "\u05E9\u05C1\u05B9", 0},
      {"windows-1255", "\xF9\xCC\xD1", "\uFB2C", "\u05E9\u05BC\u05C1", 0},
      {"CP1258", "x\xE2", "x\u00E2", "x\u00E2", 0},
      {"CP1258", "a\xCC.", "\u00E0.", "a\u0300.", 0},
      {"CP1258", "\xE2\xDE\x81", "\u1EAB" + kFffd, "\u00E2\u0303" + kFffd, 1},
  };
  for (const Case& c : cases) {
    auto converter = open(c.charset);
#ifdef _WIN32
    EXPECT_EQ(converter->toUtf8(c.in), c.separate) << c.charset << " " << c.in;
#else
    EXPECT_EQ(converter->toUtf8(c.in), c.joined) << c.charset << " " << c.in;
#endif
    EXPECT_EQ(converter->replacements(), c.replacements) << c.charset << " " << c.in;
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
