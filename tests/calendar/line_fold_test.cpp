#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "calendar/calendar_text.h"

namespace vessory::calendar {
namespace {

// What RFC 5545 wants of every line: at most 75 octets, ended by CR LF, no bare CR or LF.
std::string shapeProblem(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) return "no CR LF at the end";
    const std::string_view line(text.data() + start, end - start);
    if (line.size() > 75) return "a line of " + std::to_string(line.size()) + " octets";
    if (line.find_first_of("\r\n") != std::string_view::npos) return "a bare CR or LF";
    start = end + 2;
  }
  return {};
}

// Folding falls at every possible place of a line when texts of every length are folded, with
// one-, two- and three-octet characters; the line's own CR LF must never be split.
TEST(LineFoldTest, EveryFoldPlaceKeepsLinesWholeAndShort) {
  for (const std::string_view wide : {"\xC3\xA9", "\xE2\x82\xAC", "\xEF\xBF\xBD"}) {
    for (int ascii = 0; ascii < 80; ++ascii) {
      for (int count = 0; count < 60; count += 1) {
        std::string summary(static_cast<std::size_t>(ascii), 'a');
        for (int i = 0; i < count; ++i) summary += wide;
        icalcomponent* event = icalcomponent_new_vevent();
        icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
        icalcomponent_add_property(event, icalproperty_new_class(ICAL_CLASS_PRIVATE));
        std::string text;
        appendComponent(event, text);
        icalcomponent_free(event);
        ASSERT_EQ(shapeProblem(text), "") << ascii << " ASCII and " << count << " wide";
      }
    }
  }
}

// Unfolding the written lines gives the text back: the mending drops nothing but the stray CR.
TEST(LineFoldTest, FoldedTextReadsBackWhole) {
  std::string summary(44, 'a');
  for (int i = 0; i < 30; ++i) summary += "\xEF\xBF\xBD";
  summary += "-\xEF\xBF\xBD";
  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
  std::string text;
  appendComponent(event, text);
  icalcomponent_free(event);
  icalcomponent* parsed = icalparser_parse_string(text.c_str());
  ASSERT_NE(parsed, nullptr);
  icalcomponent* read = icalcomponent_isa(parsed) == ICAL_VEVENT_COMPONENT
                            ? parsed
                            : icalcomponent_get_first_component(parsed, ICAL_VEVENT_COMPONENT);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(std::string(icalcomponent_get_summary(read)), summary);
  icalcomponent_free(parsed);
}

}  // namespace
}  // namespace vessory::calendar
