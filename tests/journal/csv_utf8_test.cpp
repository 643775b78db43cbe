// Journal rows written in UTF-8: the keyword is found in the text as read, and both are
// converted.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "archive/text_converter.h"
#include "journal/csv_writer.h"

namespace vessory::journal {
namespace {

class Utf8RowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    converter_ = archive::TextConverter::open("windows-1252", error);
    ASSERT_NE(converter_, nullptr) << error;
  }
  // One row of `text` under `delimiters`, through a writer that lives for the whole test.
  std::string row(const std::string& text, const std::string& delimiters,
                  const std::string& label = "9:15 AM") {
    JournalEntry entry{2, "", "4/07/2002", label, text};
    writer_.writeJournalRow(entry, delimiters);
    output_.flush();
    std::string written = output_.contents().substr(taken_);
    taken_ = output_.contents().size();
    return written;
  }

  std::unique_ptr<archive::TextConverter> converter_;
  files::StringOutput output_;
  CsvJournalWriter writer_{output_, nullptr};
  std::size_t taken_ = 0;
};

class Utf8WriterTest : public Utf8RowTest {
 protected:
  void SetUp() override {
    Utf8RowTest::SetUp();
    utf8Writer_ = std::make_unique<CsvJournalWriter>(output_, converter_.get());
  }
  std::string utf8Row(const std::string& text, const std::string& delimiters,
                      const std::string& label = "9:15 AM") {
    JournalEntry entry{2, "", "4/07/2002", label, text};
    utf8Writer_->writeJournalRow(entry, delimiters);
    output_.flush();
    std::string written = output_.contents().substr(taken_);
    taken_ = output_.contents().size();
    return written;
  }
  std::unique_ptr<CsvJournalWriter> utf8Writer_;
};

TEST_F(Utf8WriterTest, KeywordAndTextAreConvertedAndQuotesStillDoubled) {
  EXPECT_EQ(utf8Row("Met <Caf\xE9> \"\x80\"", "<>"),
            "2,Caf\u00E9,4/07/2002,9:15 AM,\"Met <Caf\u00E9> \"\"\u20AC\"\"\"\r\n");
  EXPECT_EQ(utf8Row("plain", ""), "2,4/07/2002,9:15 AM,\"plain\"\r\n");
}

TEST_F(Utf8WriterTest, DelimitersAreFoundInTheTextAsRead) {
  // In UTF-8, the second byte of the encoded "«" is the very byte AB the delimiter is.
  EXPECT_EQ(utf8Row("\xABK\xE9y\xBB rest", "\xAB\xBB"),
            "2,K\u00E9y,4/07/2002,9:15 AM,\"\u00ABK\u00E9y\u00BB rest\"\r\n");
}

TEST_F(Utf8WriterTest, KeptKeywordIsConvertedOnceForEveryRow) {
  EXPECT_EQ(utf8Row("<\xE9t\xE9>", "<>"),
            "2,\u00E9t\u00E9,4/07/2002,9:15 AM,\"<\u00E9t\u00E9>\"\r\n");
  EXPECT_EQ(utf8Row("next", "<"), "2,\u00E9t\u00E9,4/07/2002,9:15 AM,\"next\"\r\n");
  EXPECT_EQ(utf8Row("again", "<"), "2,\u00E9t\u00E9,4/07/2002,9:15 AM,\"again\"\r\n");
}

// The time label (upper-cased in the archive's bytes by the splitter) is converted like the
// text beside it; without a converter it keeps its bytes.
TEST_F(Utf8WriterTest, TimeLabelIsConvertedOnlyWithAConverter) {
  const struct {
    std::string label;
    std::string converted;
  } rows[] = {
      {"8:10 AM PLAN CAF\xE9 M\xFCLLER", "8:10 AM PLAN CAF\u00E9 M\u00FCLLER"},
      {"8:10 AM PLAN\r\nCAF\xC9 \x80", "8:10 AM PLAN\r\nCAF\u00C9 \u20AC"},
      {"No Time", "No Time"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.converted);
    EXPECT_EQ(utf8Row("x", "", r.label), "2,4/07/2002," + r.converted + ",\"x\"\r\n");
    EXPECT_EQ(row("x", "", r.label), "2,4/07/2002," + r.label + ",\"x\"\r\n");
  }
}

TEST_F(Utf8RowTest, WithoutAConverterBytesGoOutAsRead) {
  EXPECT_EQ(row("Met <Caf\xE9> \x80", "<>"),
            "2,Caf\xE9,4/07/2002,9:15 AM,\"Met <Caf\xE9> \x80\"\r\n");
}

}  // namespace
}  // namespace vessory::journal
