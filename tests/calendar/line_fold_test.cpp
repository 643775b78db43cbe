#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

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

std::string unfolded(std::string text) {
  for (std::size_t at = text.find("\r\n "); at != std::string::npos; at = text.find("\r\n ", at)) {
    text.erase(at, 3);
  }
  return text;
}

// A category name as a TEXT value: backslash, comma, semicolon escaped.
std::string escapedName(const std::string& name) {
  std::string escaped;
  for (char c : name) {
    if (c == '\\' || c == ',' || c == ';') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

// libical leaves the commas and semicolons of a CATEGORIES value bare, where a reader takes one
// name for two ("Errands, misc"). Each is escaped, in events and to-dos alike, and the line is
// folded again wherever the escapes move its folds; the other lines stay as they were.
TEST(LineFoldTest, CategoryNamesKeepTheirCommasAndSemicolons) {
  std::vector<std::string> names = {"Errands, misc", "a;b", "x\\,y", "Caf\xC3\xA9, Bar;",
                                    std::string(40, ',')};
  for (std::size_t length = 55; length < 80; ++length) {
    names.push_back(std::string(length, 'a') + ",b;c,\xE2\x82\xAC,\xE2\x82\xAC,d");
  }
  for (const std::string& name : names) {
    for (icalcomponent* component : {icalcomponent_new_vevent(), icalcomponent_new_vtodo()}) {
      icalcomponent_add_property(component, icalproperty_new_summary("a, b"));
      icalcomponent_add_property(component, icalproperty_new_categories(name.c_str()));
      icalcomponent_add_property(component, icalproperty_new_categories("Plain"));
      icalcomponent_add_property(component, icalproperty_new_description("c; d"));
      std::string text = "BEGIN:VCALENDAR\r\n";
      appendComponent(component, text);
      icalcomponent_free(component);
      SCOPED_TRACE(text);
      ASSERT_EQ(shapeProblem(text), "");
      const std::string lines = unfolded(text);
      EXPECT_NE(lines.find("\r\nCATEGORIES:" + escapedName(name) + "\r\n"), std::string::npos);
      EXPECT_NE(lines.find("\r\nCATEGORIES:Plain\r\n"), std::string::npos);
      EXPECT_NE(lines.find("\r\nSUMMARY:a\\, b\r\n"), std::string::npos);
      EXPECT_NE(lines.find("\r\nDESCRIPTION:c\\; d\r\n"), std::string::npos);
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
