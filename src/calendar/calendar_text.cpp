#include "calendar/calendar_text.h"

#include <cstdlib>
#include <memory>
#include <string_view>

#include "calendar/component_lines.h"
#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

constexpr char kEndLine[] = "END:VCALENDAR\r\n";
constexpr char kSplitLineEnd[] = "\r\r\n \n";
constexpr std::string_view kLineEnd{"\r\n"};
constexpr std::string_view kFold{"\r\n "};
constexpr std::string_view kCategoriesLine{"\r\nCATEGORIES:"};
constexpr std::size_t kMaxLineOctets = 75;  // a continuation line's blank counts

bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// `line` (one content line, unfolded) folded at kMaxLineOctets, never inside a UTF-8 character,
// with its CR LF.
void appendFoldedLine(std::string_view line, std::string& out) {
  std::size_t room = kMaxLineOctets;
  while (line.size() > room) {
    std::size_t cut = room;
    while (cut > 1 && continuesCharacter(line[cut])) --cut;
    out.append(line.substr(0, cut));
    out.append(kFold);
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;
  }
  out.append(line);
  out.append(kLineEnd);
}

// Where the content line that starts at `start` ends (at its CR LF), its folds included.
std::size_t logicalLineEnd(const std::string& text, std::size_t start) {
  std::size_t end = text.find(kLineEnd, start);
  while (end != std::string::npos && text.compare(end, kFold.size(), kFold) == 0) {
    end = text.find(kLineEnd, end + kFold.size());
  }
  return end;
}

// `line` unfolded, with every comma and semicolon that no backslash escapes escaped.
std::string escapedUnfolded(std::string_view line) {
  std::string unfolded;
  for (std::size_t at = line.find(kFold); at != std::string_view::npos; at = line.find(kFold)) {
    unfolded.append(line.substr(0, at));
    line.remove_prefix(at + kFold.size());
  }
  unfolded.append(line);
  std::string escaped;
  for (std::size_t i = 0; i < unfolded.size(); ++i) {
    if (unfolded[i] == '\\' && i + 1 < unfolded.size()) {
      escaped += unfolded[i++];
    } else if (unfolded[i] == ',' || unfolded[i] == ';') {
      escaped += '\\';
    }
    escaped += unfolded[i];
  }
  return escaped;
}

// libical writes a CATEGORIES value as a list and leaves the commas and semicolons in it bare, so
// that "Errands, misc" reads as two categories. Every CATEGORIES property this program writes
// holds one name: each bare comma or semicolon in it is part of the name and is escaped here
// (libical has escaped the backslashes and newlines already), and the line folded again.
void escapeCategoryNames(std::string& out, std::size_t start) {
  for (std::size_t at = out.find(kCategoriesLine, start); at != std::string::npos;
       at = out.find(kCategoriesLine, at)) {
    const std::size_t lineStart = at + kLineEnd.size();
    const std::size_t lineEnd = logicalLineEnd(out, lineStart);
    if (lineEnd == std::string::npos) return;
    std::string folded;
    appendFoldedLine(escapedUnfolded(std::string_view(out).substr(lineStart, lineEnd - lineStart)),
                     folded);
    out.replace(lineStart, lineEnd + kLineEnd.size() - lineStart, folded);
    at = lineStart + folded.size() - kLineEnd.size();
  }
}

struct TextFree {
  void operator()(char* text) const { std::free(text); }
};
using OwnedText = std::unique_ptr<char, TextFree>;

}  // namespace

CalendarFrame calendarFrame(const std::string& productId) {
  icalcomponent* calendar = ical().icalcomponent_new_vcalendar();
  ical().icalcomponent_add_property(calendar, ical().icalproperty_new_prodid(productId.c_str()));
  ical().icalcomponent_add_property(calendar, ical().icalproperty_new_version("2.0"));
  ical().icalcomponent_add_property(calendar, ical().icalproperty_new_calscale("GREGORIAN"));
  // Programs that import a file (rather than subscribe to it) look for PUBLISH.
  ical().icalcomponent_add_property(calendar, ical().icalproperty_new_method(ICAL_METHOD_PUBLISH));
  const OwnedText text(ical().icalcomponent_as_ical_string_r(calendar));
  ical().icalcomponent_free(calendar);
  // An empty calendar is its head followed by its tail; the events go in between.
  std::string whole = text ? text.get() : "";
  CalendarFrame frame;
  const std::size_t end = whole.rfind(kEndLine);
  frame.head = whole.substr(0, end);
  frame.tail = end == std::string::npos ? kEndLine : whole.substr(end);
  return frame;
}

void appendComponent(icalcomponent* event, std::string& out) {
  const std::size_t start = out.size();
  appendComponentLines(event, out);
  // libical counts a property's own CR as content when it decides where to fold, so a line
  // that fills the 75 octets to the last one is folded between its CR and its LF. Calendar
  // text never holds a bare CR (line breaks are escaped), so the sequence is only ever that.
  for (std::size_t at = out.find(kSplitLineEnd, start); at != std::string::npos;
       at = out.find(kSplitLineEnd, at)) {
    out.replace(at, sizeof kSplitLineEnd - 1, "\r\n");
  }
  escapeCategoryNames(out, start);
}

std::string productId() { return "-//Vessory//Vessory " VESSORY_VERSION "//EN"; }

}  // namespace vessory::calendar
