// A later handheld's meeting in the event, role by role and status by status: who is the
// organiser, who a chair, who optional, who has no name or no address, and the line that names
// those without an address.

#include "calendar/meeting_properties.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_event.h"

namespace vessory::calendar {
namespace {

using archive::Meeting;

TEST(MeetingProperties, EachRoleStatusAndAbsentPartIsWrittenAsItStands) {
  struct Case {
    Meeting meeting;
    std::string description;  // before and after
    std::vector<std::string> lines;
    std::vector<std::string> notLines;
    std::string after;
  };
  const std::vector<Case> cases = {
      {{1, 0, {{0, "", "a@x.org"}, {0, "Ann", "ann@x.org"}, {2, "Cy", "cy@x.org"}, {1, "", ""}}},
       "Agenda",
       {"STATUS:TENTATIVE", "ORGANIZER:mailto:a@x.org", "ATTENDEE;CN=Ann;ROLE=CHAIR:mailto:ann@x.org",
        "ATTENDEE;CN=Cy;ROLE=OPT-PARTICIPANT:mailto:cy@x.org"},
       {"TRANSP", "CN=;"},
       "Agenda"},
      {{0, 2, {{1, "Bob", ""}, {2, "Dee", ""}}}, "", {}, {"STATUS", "TRANSP", "ATTENDEE"},
       "Attendees: Bob, Dee"},
      {{4, 1, {{2, "Eve", ""}}}, "Agenda", {"STATUS:CANCELLED", "TRANSP:TRANSPARENT"}, {},
       "Agenda\nAttendees: Eve"},
  };
  std::string error;
  const std::unique_ptr<archive::TextConverter> text =
      archive::TextConverter::open("windows-1252", error);
  for (const Case& c : cases) {
    const Component event(icalcomponent_new_vevent());
    addMeeting(c.meeting, *text, event.get());
    const std::string written = icalcomponent_as_ical_string(event.get());
    for (const std::string& line : c.lines) {
      EXPECT_NE(written.find(line + "\r\n"), std::string::npos) << line << "\n" << written;
    }
    for (const std::string& part : c.notLines) {
      EXPECT_EQ(written.find(part), std::string::npos) << part << "\n" << written;
    }
    std::string description = c.description;
    appendUnmailedAttendees(c.meeting, *text, description);
    EXPECT_EQ(description, c.after);
  }
}

}  // namespace
}  // namespace vessory::calendar
