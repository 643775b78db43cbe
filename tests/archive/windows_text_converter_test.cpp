// The code-page converter must write what the iconv one writes on Linux, byte for byte: the
// same characters, the same replacements, the same names accepted and refused.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "archive/text_converter.h"

namespace vessory::archive {
namespace {

std::unique_ptr<TextConverter> open(const std::string& charset) {
  std::string error;
  auto converter = TextConverter::open(charset, error);
  EXPECT_NE(converter, nullptr) << charset << ": " << error;
  return converter;
}

const std::string kFffd(kReplacementCharacter);

TEST(Windows1252Test, AccentedTextBecomesUtf8) {
  auto converter = open("windows-1252");
  EXPECT_EQ(converter->toUtf8("Caf\xE9 na\xEFve \x80 5 \x9C\x9F \xDF\xFF"),
            "Caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC 5 \xC5\x93\xC5\xB8 \xC3\x9F\xC3\xBF");
  EXPECT_EQ(converter->replacements(), 0);
}

TEST(Windows1252Test, UndefinedBytesBecomeReplacementCharacters) {
  auto converter = open("windows-1252");
  EXPECT_EQ(converter->toUtf8("a\x81"
                              "b\x8D\x8F\x90\x9D"
                              "c"),
            "a" + kFffd + "b" + kFffd + kFffd + kFffd + kFffd + "c");
  EXPECT_EQ(converter->replacements(), 5);
}

TEST(Windows1252Test, OnlyTheFiveUndefinedBytesAreReplaced) {
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte.push_back(static_cast<char>(byte));
  auto converter = open("windows-1252");
  const std::string utf8 = converter->toUtf8(everyByte);
  EXPECT_EQ(converter->replacements(), 5);
  EXPECT_EQ(utf8.substr(0, 128), everyByte.substr(0, 128));
}

TEST(Windows1252Test, ReplacementsAddUpOverCalls) {
  auto converter = open("windows-1252");
  converter->toUtf8("\x81");
  converter->toUtf8("ok");
  converter->toUtf8("\x90\x9D");
  EXPECT_EQ(converter->replacements(), 3);
}

TEST(CharsetNamesTest, CaseAndSpellingDoNotMatter) {
  for (const char* name : {"WINDOWS-1252", "Windows-1252", "cp1252", "CP1252"}) {
    EXPECT_EQ(open(name)->toUtf8("\xE9\x80"), "\xC3\xA9\xE2\x82\xAC") << name;
  }
  for (const char* name : {"ISO-8859-1", "iso_8859-1", "ISO8859-1", "latin1", "L1"}) {
    EXPECT_EQ(open(name)->toUtf8("\xE9\xA4"), "\xC3\xA9\xC2\xA4") << name;
  }
  for (const char* name : {"ISO-8859-15", "latin-9", "LATIN9"}) {
    EXPECT_EQ(open(name)->toUtf8("\xE9\xA4"), "\xC3\xA9\xE2\x82\xAC") << name;
  }
}

TEST(CharsetNamesTest, UnknownNamesGiveNoConverter) {
  for (const std::string name : {"no-such-charset", "cp99999", "windows-", "cp12x", "ibm"}) {
    std::string error;
    EXPECT_EQ(TextConverter::open(name, error), nullptr) << name;
    EXPECT_EQ(error, "unknown character set " + name);
  }
  std::string error;
  EXPECT_EQ(TextConverter::open("", error), nullptr);
  EXPECT_EQ(error, "no character set named");
}

TEST(OtherCodePagesTest, DosAndMacintoshTextBecomesUtf8) {
  EXPECT_EQ(open("cp437")->toUtf8("\xC9\xCD\xBB \x82"),
            "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97 \xC3\xA9");
  EXPECT_EQ(open("IBM850")->toUtf8("\x82\xD5"), "\xC3\xA9\xC4\xB1");
  EXPECT_EQ(open("cp850")->toUtf8("\x82\xD5"), "\xC3\xA9\xC4\xB1");
  EXPECT_EQ(open("macintosh")->toUtf8("\x8E\xA5"), "\xC3\xA9\xE2\x80\xA2");
}

TEST(OtherCodePagesTest, Latin1KeepsItsControlBytes) {
  auto converter = open("iso-8859-1");
  EXPECT_EQ(converter->toUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
  EXPECT_EQ(converter->replacements(), 0);
}

TEST(OtherCodePagesTest, AsciiHasNoUpperHalf) {
  auto converter = open("US-ASCII");
  EXPECT_EQ(converter->toUtf8("a\xC1z"), "a" + kFffd + "z");
  EXPECT_EQ(converter->replacements(), 1);
}

TEST(Utf8Test, ValidTextPassesThroughUnchanged) {
  const std::string text =
      "Stra\xC3\x9F"
      "e \xE2\x82\xAC \xF0\x9F\x93\x85 \xE6\x97\xA5\r\n";
  auto converter = open("UTF-8");
  EXPECT_EQ(converter->toUtf8(text), text);
  EXPECT_EQ(converter->replacements(), 0);
}

TEST(Utf8Test, BadBytesAreReplacedOneAtATime) {
  auto converter = open("utf-8");
  // A stray continuation byte, a sequence cut short by another character, one cut short by the
  // end of the text: each bad byte is one replacement and the text after it stays.
  EXPECT_EQ(converter->toUtf8("a\x80"
                              "b\xE2\x82"
                              "c\xC3"),
            "a" + kFffd + "b" + kFffd + kFffd + "c" + kFffd);
  EXPECT_EQ(converter->replacements(), 4);
  EXPECT_EQ(converter->toUtf8("\xFF\xC3\xA9"), kFffd + "\xC3\xA9");
  EXPECT_EQ(converter->replacements(), 5);
}

}  // namespace
}  // namespace vessory::archive
