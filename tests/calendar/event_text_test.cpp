// Archive text as calendar text: converted to UTF-8, line breaks and control characters made
// calendar-safe, and written so that a calendar program reads back exactly that text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_reading.h"

namespace vessory::testing {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

RecordPlan textRecord(std::string description, std::string note) {
  RecordPlan r;
  r.description = std::move(description);
  r.note = std::move(note);
  return r;
}

struct Texts {
  std::string summary;
  std::string description;
  int descriptions = 0;
};

Texts textsOf(const CalendarExport& out) {
  ReadCalendar calendar(out.text);
  EXPECT_TRUE(calendar.clean()) << out.text;
  if (calendar.size() != 1) {
    ADD_FAILURE() << "expected one event in\n" << out.text;
    return {};
  }
  icalcomponent* e = calendar.event(0);
  const char* summary = icalcomponent_get_summary(e);
  const char* description = icalcomponent_get_description(e);
  return {summary ? summary : "", description ? description : "",
          countOf(e, ICAL_DESCRIPTION_PROPERTY)};
}

Texts textsOf(const RecordPlan& record, const std::string& charset = "windows-1252") {
  exporting::CalendarSettings settings = testSettings();
  settings.charset = charset;
  return textsOf(exportCalendar(ArchiveBuilder().archive({record}).bytes(), settings));
}

// True when `line` is whole UTF-8: no sequence cut off at either end.
bool wholeUtf8(const std::string& line) {
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    const std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (length == 0 || i + length > line.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(line[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST(EventTextTest, Windows1252AccentsAndTheEuroSignBecomeUtf8) {
  const Texts t = textsOf(textRecord("Caf\xE9 \x80 5 \x93ok\x94",
                                     "Gr\xFC\xDF"
                                     "e \x8A\x9F"));
  EXPECT_EQ(t.summary, "Caf\u00E9 \u20AC 5 \u201Cok\u201D");
  EXPECT_EQ(t.description, "Gr\u00FC\u00DFe \u0160\u0178");
}

TEST(EventTextTest, TheFiveUndefinedBytesEachBecomeAReplacementCharacter) {
  const Texts t =
      textsOf(textRecord("a\x81"
                         "b\x8D"
                         "c\x8F"
                         "d\x90"
                         "e\x9D"
                         "f",
                         "x"));
  EXPECT_EQ(t.summary, "a" + kFffd + "b" + kFffd + "c" + kFffd + "d" + kFffd + "e" + kFffd + "f");
}

TEST(EventTextTest, EveryLineBreakOfTheNoteIsOneNewline) {
  const Texts t = textsOf(textRecord("x", "one\r\ntwo\rthree\nfour\r\n\r\nsix\r"));
  EXPECT_EQ(t.description, "one\ntwo\nthree\nfour\n\nsix\n");
}

TEST(EventTextTest, ControlCharactersAreReplacedAndTabsKept) {
  const Texts t = textsOf(textRecord(std::string("a\0b", 3), std::string("\x01x\ty\x7F\x1F", 6)));
  EXPECT_EQ(t.summary, "a" + kFffd + "b");
  EXPECT_EQ(t.description, kFffd + "x\ty" + kFffd + kFffd);
}

TEST(EventTextTest, CommasSemicolonsAndBackslashesReadBackUnchanged) {
  const std::string text = "a,b;c\\d \\n e,,;;\\";
  const CalendarExport out = exportRecords({textRecord(text, text)});
  const Texts t = textsOf(out);
  EXPECT_EQ(t.summary, text);
  EXPECT_EQ(t.description, text);
  EXPECT_NE(out.text.find("SUMMARY:a\\,b\\;c\\\\d \\\\n e\\,\\,\\;\\;\\\\\r\n"), std::string::npos);
}

// An empty SUMMARY is valid text; libical's own reader flags it (and drops it), so the
// file is looked at as written.
TEST(EventTextTest, EmptyTextsAndTheEmptyStringMarkerGiveAnEmptySummaryAndNoDescription) {
  const std::string marker =
      "\xAB"
      "NULL"
      "\xBB";
  for (const std::string& empty : {std::string(), marker}) {
    const std::string text = exportRecords({textRecord(empty, empty)}).text;
    EXPECT_NE(text.find("\r\nSUMMARY:\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("DESCRIPTION"), std::string::npos) << text;
  }
  const Texts inside = textsOf(textRecord("x", marker + "!"));
  EXPECT_EQ(inside.description, "\u00ABNULL\u00BB!");
}

// Every physical line of `text`: ended by CR LF, at most 75 octets, no character split.
void expectWellFormedLines(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "text does not end in CR LF";
    const std::string line = text.substr(at, end - at);
    EXPECT_LE(line.size(), 75u) << line;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    EXPECT_TRUE(wholeUtf8(line)) << line;
    at = end + 2;
  }
}

TEST(EventTextTest, LinesOfEveryLengthEndInCrLfAndFoldAt75Octets) {
  // Lines that end just short of, on, and just past each fold.
  for (std::size_t length = 50; length < 240; ++length) {
    SCOPED_TRACE("summary of " + std::to_string(length));
    const std::string summary(length, 's');
    const CalendarExport out = exportRecords({textRecord(summary, "")});
    expectWellFormedLines(out.text);
    EXPECT_EQ(textsOf(out).summary, summary);
  }
}

TEST(EventTextTest, FoldsNeverSplitACharacter) {
  // Two- and three-byte characters after every possible lead-in, so that folds fall at each
  // position inside them.
  for (int lead = 0; lead < 4; ++lead) {
    SCOPED_TRACE("lead " + std::to_string(lead));
    std::string note(static_cast<std::size_t>(lead), 'x');
    std::string expected = note;
    for (int i = 0; i < 120; ++i) {
      note += i % 3 == 0 ? "\x80" : "\xE9";
      expected += i % 3 == 0 ? "\u20AC" : "\u00E9";
    }
    const CalendarExport out = exportRecords({textRecord("x", note)});
    expectWellFormedLines(out.text);
    EXPECT_EQ(textsOf(out).description, expected);
  }
}

TEST(EventTextTest, AnotherCharacterSetIsReadWhenNamed) {
  EXPECT_EQ(textsOf(textRecord("\xA4 \xBD", "x")).summary, "\u00A4 \u00BD");
  EXPECT_EQ(textsOf(textRecord("\xA4 \xBD", "x"), "ISO-8859-15").summary, "\u20AC \u0153");
  EXPECT_EQ(textsOf(textRecord("Caf\xC3\xA9 \xFF!", "x"), "UTF-8").summary,
            "Caf\u00E9 " + kFffd + "!");
}

}  // namespace
}  // namespace vessory::testing
