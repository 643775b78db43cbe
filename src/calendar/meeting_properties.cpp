#include "calendar/meeting_properties.h"

#include "calendar/event_text.h"
#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

constexpr int kOrganiser = 0;
constexpr int kRequired = 1;
constexpr int kTentative = 1;
constexpr int kCancelled = 4;
constexpr int kShownFree = 1;
constexpr char kMailto[] = "mailto:";
constexpr char kAttendeesLine[] = "Attendees: ";

icalproperty* person(icalproperty* property, const std::string& name) {
  if (!name.empty())
    ical().icalproperty_add_parameter(property, ical().icalparameter_new_cn(name.c_str()));
  return property;
}

}  // namespace

void addMeeting(const archive::Meeting& meeting, archive::TextConverter& text,
                icalcomponent* event) {
  bool organiserWritten = false;
  for (const archive::Attendee& attendee : meeting.attendees) {
    const std::string email = eventText(attendee.email, text);
    if (email.empty()) continue;
    const std::string address = kMailto + email;
    const std::string name = eventText(attendee.name, text);
    if (attendee.role == kOrganiser && !organiserWritten) {
      ical().icalcomponent_add_property(
          event, person(ical().icalproperty_new_organizer(address.c_str()), name));
      organiserWritten = true;
      continue;
    }
    icalproperty* property = person(ical().icalproperty_new_attendee(address.c_str()), name);
    const icalparameter_role role = attendee.role == kOrganiser  ? ICAL_ROLE_CHAIR
                                    : attendee.role == kRequired ? ICAL_ROLE_REQPARTICIPANT
                                                                 : ICAL_ROLE_OPTPARTICIPANT;
    ical().icalproperty_add_parameter(property, ical().icalparameter_new_role(role));
    ical().icalcomponent_add_property(event, property);
  }
  if (meeting.status == kCancelled) {
    ical().icalcomponent_add_property(event, ical().icalproperty_new_status(ICAL_STATUS_CANCELLED));
  } else if (meeting.status == kTentative) {
    ical().icalcomponent_add_property(event, ical().icalproperty_new_status(ICAL_STATUS_TENTATIVE));
  }
  if (meeting.showAs == kShownFree) {
    ical().icalcomponent_add_property(event,
                                      ical().icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
  }
}

void appendUnmailedAttendees(const archive::Meeting& meeting, archive::TextConverter& text,
                             std::string& description) {
  std::string names;
  for (const archive::Attendee& attendee : meeting.attendees) {
    if (!attendee.email.empty()) continue;
    const std::string name = eventText(attendee.name, text);
    if (name.empty()) continue;
    if (!names.empty()) names += ", ";
    names += name;
  }
  if (names.empty()) return;
  if (!description.empty()) description += '\n';
  description += kAttendeesLine + names;
}

}  // namespace vessory::calendar
