// libFuzzer target: the calendar's own writing of component lines against libical's. The bytes
// choose a component and its properties (texts of any octets, numbers, dates and date-times of
// any field values, enumerations, parameters, inner components); the text written must be the
// one icalcomponent_as_ical_string_r writes, octet for octet.

#include <libical/ical.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "calendar/component_lines.h"

namespace {

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
  int number() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | next();
    return static_cast<int>(value);
  }
  std::string text() {
    std::string text;
    for (std::size_t length = next(); length > 0 && !empty(); --length) {
      const auto octet = static_cast<char>(next());
      if (octet != '\0') text += octet;
    }
    return text;
  }
  icaltimetype time() {
    icaltimetype time = icaltime_null_time();
    time.year = static_cast<std::int16_t>(next() << 8 | next());
    time.month = next() % 110;
    time.day = next() % 110;
    time.hour = next() % 110;
    time.minute = next() % 110;
    time.second = next() % 110;
    const std::uint8_t flags = next();
    time.is_date = flags & 1;
    if (flags & 2) time.zone = icaltimezone_get_utc_timezone();
    return time;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

icalproperty* textProperty(std::uint8_t which, const std::string& text) {
  switch (which % 8) {
    case 0:
      return icalproperty_new_summary(text.c_str());
    case 1:
      return icalproperty_new_description(text.c_str());
    case 2:
      return icalproperty_new_categories(text.c_str());
    case 3:
      return icalproperty_new_location(text.c_str());
    case 4:
      return icalproperty_new_uid(text.c_str());
    case 5:
      return icalproperty_new_tzname(text.c_str());
    case 6:
      return icalproperty_new_comment(text.c_str());
    default:
      return icalproperty_new_tzid(text.c_str());
  }
}

icalproperty* timeProperty(std::uint8_t which, icaltimetype time) {
  switch (which % 6) {
    case 0:
      return icalproperty_new_dtstart(time);
    case 1:
      return icalproperty_new_dtend(time);
    case 2:
      return icalproperty_new_due(time);
    case 3:
      return icalproperty_new_completed(time);
    case 4:
      return icalproperty_new_exdate(time);
    default:
      return icalproperty_new_dtstamp(time);
  }
}

icalproperty* otherProperty(std::uint8_t which, Bytes& bytes) {
  switch (which % 10) {
    case 0:
      return icalproperty_new_priority(bytes.number());
    case 1:
      return icalproperty_new_percentcomplete(bytes.number());
    case 2:
      return icalproperty_new_sequence(bytes.number());
    case 3:
      return icalproperty_new_status(bytes.next() % 2 ? ICAL_STATUS_TENTATIVE
                                                      : ICAL_STATUS_COMPLETED);
    case 4:
      return icalproperty_new_class(ICAL_CLASS_PRIVATE);
    case 5:
      return icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT);
    case 6:
      return icalproperty_new_action(ICAL_ACTION_DISPLAY);
    case 7: {
      icaltriggertype when;
      when.time = bytes.next() % 2 ? bytes.time() : icaltime_null_time();
      when.duration = icaldurationtype_from_int(bytes.number() % 100000000);
      return icalproperty_new_trigger(when);
    }
    case 8: {
      constexpr const char* kRules[] = {"FREQ=DAILY", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;WKST=SU",
                                        "FREQ=MONTHLY;UNTIL=20070101T000000Z;BYDAY=-1SU",
                                        "FREQ=YEARLY;COUNT=5;BYMONTH=2;BYMONTHDAY=29"};
      return icalproperty_new_rrule(
          icalrecurrencetype_from_string(kRules[bytes.next() % std::size(kRules)]));
    }
    default: {
      icalproperty* property = icalproperty_new_x(bytes.text().c_str());
      icalproperty_set_x_name(property, "X-FUZZ");
      return property;
    }
  }
}

icalproperty* nextProperty(Bytes& bytes) {
  const std::uint8_t which = bytes.next();
  icalproperty* property = nullptr;
  switch (which % 3) {
    case 0:
      property = textProperty(which / 3, bytes.text());
      break;
    case 1:
      property = timeProperty(which / 3, bytes.time());
      break;
    default:
      property = otherProperty(which / 3, bytes);
      break;
  }
  const std::uint8_t parameter = bytes.next();
  if (parameter % 4 == 1)
    icalproperty_add_parameter(property, icalparameter_new_tzid(bytes.text().c_str()));
  if (parameter % 4 == 2)
    icalproperty_add_parameter(property, icalparameter_new_cn(bytes.text().c_str()));
  if (parameter % 4 == 3)
    icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_DATE));
  return property;
}

constexpr icalcomponent_kind kKinds[] = {ICAL_VEVENT_COMPONENT,    ICAL_VTODO_COMPONENT,
                                         ICAL_VALARM_COMPONENT,    ICAL_VTIMEZONE_COMPONENT,
                                         ICAL_XSTANDARD_COMPONENT, ICAL_XDAYLIGHT_COMPONENT};

// A component of the kind the next byte chooses; its inner components go two deep.
icalcomponent* nextComponent(Bytes& bytes, int depth) {
  icalcomponent* component = icalcomponent_new(kKinds[bytes.next() % std::size(kKinds)]);
  while (!bytes.empty()) {
    const std::uint8_t step = bytes.next();
    if (step == 0xFF) break;
    if (step == 0xFE && depth < 2) {
      icalcomponent_add_component(component, nextComponent(bytes, depth + 1));
    } else {
      icalcomponent_add_property(component, nextProperty(bytes));
    }
  }
  return component;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  icalcomponent* component = nextComponent(bytes, 0);
  char* libical = icalcomponent_as_ical_string_r(component);
  std::string ours;
  vessory::calendar::appendComponentLines(component, ours);
  icalcomponent_free(component);
  const std::string theirs = libical != nullptr ? libical : "";
  std::free(libical);
  if (ours != theirs) {
    std::fprintf(stderr, "component lines differ from libical's:\n--- libical\n%s--- ours\n%s",
                 theirs.c_str(), ours.c_str());
    std::abort();
  }
  return 0;
}
