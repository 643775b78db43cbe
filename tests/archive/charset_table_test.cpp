// The character set tables of the WebAssembly build against this machine's iconv, which they
// were written from: every byte, every two-byte sequence, marks joined to letters and the ways a
// text can break off must decode alike, replacements counted alike.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "archive/text_converter.h"
#include "archive/text_converter_table.h"

namespace vessory::archive {
namespace {

struct Decoders {
  std::unique_ptr<TextConverter> table;
  std::unique_ptr<TextConverter> iconv;
};

Decoders decoders(const std::string& charset) {
  Decoders both;
  const CharsetTable* table = findCharsetTable(charset);
  EXPECT_NE(table, nullptr) << charset;
  if (table != nullptr) both.table = openTableConverter(*table);
  std::string error;
  both.iconv = TextConverter::open(charset, error);
  EXPECT_NE(both.iconv, nullptr) << charset << ": " << error;
  return both;
}

std::string hex(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    text += kDigits[c >> 4];
    text += kDigits[c & 15];
    text += ' ';
  }
  return text;
}

// Every text of `texts` decodes alike both ways; the first difference is reported, not all.
void expectSameDecoding(const std::string& charset, const std::vector<std::string>& texts) {
  Decoders both = decoders(charset);
  if (!both.table || !both.iconv) return;
  for (const std::string& text : texts) {
    const std::string fromTable = both.table->toUtf8(text);
    const std::string fromIconv = both.iconv->toUtf8(text);
    if (fromTable != fromIconv) {
      ADD_FAILURE() << charset << ": " << hex(text) << "gives " << hex(fromTable)
                    << "from the table, " << hex(fromIconv) << "from iconv";
      return;
    }
  }
  EXPECT_EQ(both.table->replacements(), both.iconv->replacements()) << charset;
}

const char* const kTableCharsets[] = {"CP932", "SHIFT_JIS", "GBK",    "BIG5",
                                      "EUC-KR", "CP1255",    "CP1258"};

TEST(CharsetTableTest, EveryByteAndEveryTwoByteSequenceDecodesAsIconvDoes) {
  for (const char* charset : kTableCharsets) {
    std::vector<std::string> texts;
    for (int first = 0; first < 256; ++first) {
      texts.emplace_back(1, static_cast<char>(first));
      for (int second = 0; second < 256; ++second) {
        texts.push_back({static_cast<char>(first), static_cast<char>(second)});
      }
    }
    expectSameDecoding(charset, texts);
  }
}

// Lead bytes the text ends after, refused trail bytes before ASCII and before another lead,
// and runs of sequences: where iconv starts again after a refusal, the table must too.
TEST(CharsetTableTest, BrokenSequencesResumeWhereIconvResumes) {
  const std::vector<std::string> texts = {
      "\x82",
      "a\x82",
      "\x82\xA0\x41",
      "\x82\x7F\x82\xA0",
      "\x81\x81\x81",
      "\x87\x40\x87",
      "\xFC\xFC\x82\xA0",
      "\x82\xA0\x5C\x7E",
      "\xA0\xFD\xFE\xFF\x80",
      "\xEF\x40\xF0\x40\x82",
  };
  for (const char* charset : kTableCharsets) expectSameDecoding(charset, texts);
}

// A letter with two marks after it, the second joining what the first made (shin, dagesh and
// shin dot in windows-1255), or not joining it, or a letter after a letter.
TEST(CharsetTableTest, MarksJoinOneAfterAnotherAsIconvJoinsThem) {
  for (const char* charset : {"CP1255", "CP1258"}) {
    std::vector<std::string> texts;
    for (int first = 0x20; first < 256; ++first) {
      for (int second = 0xC0; second < 256; ++second) {
        for (int third = 0xC0; third < 256; ++third) {
          texts.push_back({static_cast<char>(first), static_cast<char>(second),
                           static_cast<char>(third)});
        }
      }
    }
    expectSameDecoding(charset, texts);
  }
}

TEST(CharsetTableTest, TablesAreFoundByEveryNameIconvTakesAndNoOther) {
  struct Case {
    const char* name;
    bool found;
  };
  const Case cases[] = {{"cp932", true},         {"Windows-31J", true}, {"MS932", true},
                        {"shift_jis", true},     {"SJIS", true},        {"ms_kanji", true},
                        {"windows-1255", true},  {"MS-HEBR", true},     {"Windows-1258", true},
                        {"CP936", true},         {"Big5", true},        {"euc-kr", true},
                        {"windows-1252", false}, {"EUC-JP", false},     {"", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(findCharsetTable(c.name) != nullptr, c.found) << c.name;
  }
  // Aliases share one table.
  EXPECT_EQ(findCharsetTable("windows-31j"), findCharsetTable("CP932"));
  EXPECT_NE(findCharsetTable("SJIS"), findCharsetTable("CP932"));
}

}  // namespace
}  // namespace vessory::archive
