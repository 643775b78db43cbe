#include "calendar/calendar_text.h"

#include <cstdlib>
#include <memory>

namespace vessory::calendar {

namespace {

constexpr char kEndLine[] = "END:VCALENDAR\r\n";
constexpr char kSplitLineEnd[] = "\r\r\n \n";

struct TextFree {
  void operator()(char* text) const { std::free(text); }
};
using OwnedText = std::unique_ptr<char, TextFree>;

}  // namespace

CalendarFrame calendarFrame(const std::string& productId) {
  icalcomponent* calendar = icalcomponent_new_vcalendar();
  icalcomponent_add_property(calendar, icalproperty_new_prodid(productId.c_str()));
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
  // Programs that import a file (rather than subscribe to it) look for PUBLISH.
  icalcomponent_add_property(calendar, icalproperty_new_method(ICAL_METHOD_PUBLISH));
  const OwnedText text(icalcomponent_as_ical_string_r(calendar));
  icalcomponent_free(calendar);
  // An empty calendar is its head followed by its tail; the events go in between.
  std::string whole = text ? text.get() : "";
  CalendarFrame frame;
  const std::size_t end = whole.rfind(kEndLine);
  frame.head = whole.substr(0, end);
  frame.tail = end == std::string::npos ? kEndLine : whole.substr(end);
  return frame;
}

void appendComponent(icalcomponent* event, std::string& out) {
  const OwnedText text(icalcomponent_as_ical_string_r(event));
  if (!text) return;
  const std::size_t start = out.size();
  out += text.get();
  // libical counts a property's own CR as content when it decides where to fold, so a line
  // that fills the 75 octets to the last one is folded between its CR and its LF. Calendar
  // text never holds a bare CR (line breaks are escaped), so the sequence is only ever that.
  for (std::size_t at = out.find(kSplitLineEnd, start); at != std::string::npos;
       at = out.find(kSplitLineEnd, at)) {
    out.replace(at, sizeof kSplitLineEnd - 1, "\r\n");
  }
}

std::string productId() { return "-//Vessory//Vessory " VESSORY_VERSION "//EN"; }

}  // namespace vessory::calendar
