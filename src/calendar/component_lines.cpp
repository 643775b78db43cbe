#include "calendar/component_lines.h"

#include <charconv>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

#include "calendar/ical_library.h"

namespace vessory::calendar {

namespace {

constexpr std::string_view kLineEnd{"\r\n"};
constexpr std::string_view kFold{"\r\n "};
// libical's longest line, its CR LF counted: a line of this many octets or more is folded.
constexpr std::size_t kFoldAt = 75;

struct TextFree {
  void operator()(char* text) const { std::free(text); }
};
using OwnedText = std::unique_ptr<char, TextFree>;

// A property written here: its name and the value type it has without a VALUE parameter.
struct KnownProperty {
  std::string_view name;
  icalvalue_kind defaultValue;
};

// The properties the calendar and the to-do list write, with the default value types libical
// gives them (those of RFC 5545). Any other is written by libical.
std::optional<KnownProperty> knownProperty(icalproperty_kind kind) {
  switch (kind) {
    case ICAL_UID_PROPERTY:
      return KnownProperty{"UID", ICAL_TEXT_VALUE};
    case ICAL_SUMMARY_PROPERTY:
      return KnownProperty{"SUMMARY", ICAL_TEXT_VALUE};
    case ICAL_DESCRIPTION_PROPERTY:
      return KnownProperty{"DESCRIPTION", ICAL_TEXT_VALUE};
    case ICAL_LOCATION_PROPERTY:
      return KnownProperty{"LOCATION", ICAL_TEXT_VALUE};
    case ICAL_CATEGORIES_PROPERTY:
      return KnownProperty{"CATEGORIES", ICAL_TEXT_VALUE};
    case ICAL_COMMENT_PROPERTY:
      return KnownProperty{"COMMENT", ICAL_TEXT_VALUE};
    case ICAL_TZID_PROPERTY:
      return KnownProperty{"TZID", ICAL_TEXT_VALUE};
    case ICAL_TZNAME_PROPERTY:
      return KnownProperty{"TZNAME", ICAL_TEXT_VALUE};
    case ICAL_PRIORITY_PROPERTY:
      return KnownProperty{"PRIORITY", ICAL_INTEGER_VALUE};
    case ICAL_PERCENTCOMPLETE_PROPERTY:
      return KnownProperty{"PERCENT-COMPLETE", ICAL_INTEGER_VALUE};
    case ICAL_SEQUENCE_PROPERTY:
      return KnownProperty{"SEQUENCE", ICAL_INTEGER_VALUE};
    case ICAL_DTSTAMP_PROPERTY:
      return KnownProperty{"DTSTAMP", ICAL_DATETIME_VALUE};
    case ICAL_DTSTART_PROPERTY:
      return KnownProperty{"DTSTART", ICAL_DATETIME_VALUE};
    case ICAL_DTEND_PROPERTY:
      return KnownProperty{"DTEND", ICAL_DATETIME_VALUE};
    case ICAL_DUE_PROPERTY:
      return KnownProperty{"DUE", ICAL_DATETIME_VALUE};
    case ICAL_COMPLETED_PROPERTY:
      return KnownProperty{"COMPLETED", ICAL_DATETIME_VALUE};
    case ICAL_EXDATE_PROPERTY:
      return KnownProperty{"EXDATE", ICAL_DATETIME_VALUE};
    case ICAL_STATUS_PROPERTY:
      return KnownProperty{"STATUS", ICAL_STATUS_VALUE};
    case ICAL_CLASS_PROPERTY:
      return KnownProperty{"CLASS", ICAL_CLASS_VALUE};
    case ICAL_TRANSP_PROPERTY:
      return KnownProperty{"TRANSP", ICAL_TRANSP_VALUE};
    case ICAL_ACTION_PROPERTY:
      return KnownProperty{"ACTION", ICAL_ACTION_VALUE};
    case ICAL_RRULE_PROPERTY:
      return KnownProperty{"RRULE", ICAL_RECUR_VALUE};
    case ICAL_TRIGGER_PROPERTY:
      return KnownProperty{"TRIGGER", ICAL_TRIGGER_VALUE};
    default:
      return std::nullopt;
  }
}

// Where libical starts the next line of a folded one: after the last ';', ':' or blank among
// the first 74 octets, else before the last octet among the first 75 that starts a character.
std::size_t nextLineStart(std::string_view rest) {
  if (rest.size() < kFoldAt) return rest.size();
  for (std::size_t at = kFoldAt - 2; at > 0; --at) {
    if (rest[at] == ';' || rest[at] == ':' || rest[at] == ' ') return at + 1;
  }
  for (std::size_t at = kFoldAt - 1; at > 0; --at) {
    const auto octet = static_cast<unsigned char>(rest[at]);
    if ((octet & 0x80) == 0 || (octet & 0xC0) == 0xC0) return at;
  }
  return kFoldAt - 1;
}

// `line` (one property, its CR LF included) folded as libical folds it.
void appendFolded(std::string_view line, std::string& out) {
  for (bool first = true; !line.empty(); first = false) {
    if (!first) out.append(kFold);
    const std::size_t next = nextLineStart(line);
    out.append(line.substr(0, next));
    line.remove_prefix(next);
  }
}

// The octets a TEXT value does not hold as they are: its end, and those escaped or dropped.
constexpr bool isTextSpecial(char c) {
  return c == '\0' || c == '\n' || c == '\r' || c == '\b' || c == '\f' || c == ',' || c == ';' ||
         c == '\\';
}

// A TEXT value as libical escapes it: backslashes, commas and semicolons (but not those of a
// CATEGORIES list) behind a backslash, newlines as "\n"; CR, BS and FF are dropped.
void appendText(const char* text, bool list, std::string& out) {
  for (const char* at = text;; ++at) {
    const char* run = at;
    while (!isTextSpecial(*at)) ++at;
    out.append(run, at);
    switch (*at) {
      case '\0':
        return;
      case '\n':
        out.append("\\n");
        break;
      case ',':
      case ';':
        if (!list) out += '\\';
        out += *at;
        break;
      case '\\':
        out.append("\\\\");
        break;
      default:  // CR, BS, FF
        break;
    }
  }
}

// `value` in `width` decimal digits, or false when it does not fit them (libical's layout would
// then differ from a plain one, and libical writes it).
bool appendDigits(int value, int width, std::string& out) {
  if (value < 0) return false;
  char digits[4];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  if (value != 0) return false;
  out.append(digits, static_cast<std::size_t>(width));
  return true;
}

bool appendTime(const icaltimetype& time, bool withClock, std::string& out) {
  if (!appendDigits(time.year, 4, out) || !appendDigits(time.month, 2, out) ||
      !appendDigits(time.day, 2, out)) {
    return false;
  }
  if (!withClock || time.is_date) return true;
  out += 'T';
  if (!appendDigits(time.hour, 2, out) || !appendDigits(time.minute, 2, out) ||
      !appendDigits(time.second, 2, out)) {
    return false;
  }
  if (ical().icaltime_is_utc(time)) out += 'Z';
  return true;
}

// Appends the value of `property` as libical writes it; false (with what it appended to be dropped)
// where libical must write the whole property.
bool appendValue(icalproperty* property, icalvalue* value, std::string& out) {
  switch (ical().icalvalue_isa(value)) {
    case ICAL_TEXT_VALUE: {
      const char* text = ical().icalvalue_get_text(value);
      if (text == nullptr) return false;
      appendText(text, ical().icalproperty_isa(property) == ICAL_CATEGORIES_PROPERTY, out);
      return true;
    }
    case ICAL_INTEGER_VALUE: {
      char digits[16];
      const auto end =
          std::to_chars(digits, digits + sizeof digits, ical().icalvalue_get_integer(value));
      out.append(digits, end.ptr);
      return true;
    }
    case ICAL_DATE_VALUE:
      return appendTime(ical().icalvalue_get_date(value), false, out);
    case ICAL_DATETIME_VALUE:
      return appendTime(ical().icalvalue_get_datetime(value), true, out);
    default: {
      const OwnedText text(ical().icalvalue_as_ical_string_r(value));
      if (!text) return false;
      out.append(text.get());
      return true;
    }
  }
}

// The name, the VALUE parameter where the value is not of the default type, and the other
// parameters as libical writes them; false where libical must write the whole property.
bool appendHead(icalproperty* property, icalvalue_kind valueKind, std::string& out) {
  const std::optional<KnownProperty> known = knownProperty(ical().icalproperty_isa(property));
  if (!known) return false;
  out.append(known->name);
  if (valueKind == ICAL_DATE_VALUE && known->defaultValue == ICAL_DATETIME_VALUE) {
    out.append(";VALUE=DATE");
  } else if (valueKind != known->defaultValue) {
    return false;
  }
  for (icalparameter* parameter =
           ical().icalproperty_get_first_parameter(property, ICAL_ANY_PARAMETER);
       parameter != nullptr;
       parameter = ical().icalproperty_get_next_parameter(property, ICAL_ANY_PARAMETER)) {
    if (ical().icalparameter_isa(parameter) == ICAL_VALUE_PARAMETER) return false;
    const OwnedText text(ical().icalparameter_as_ical_string_r(parameter));
    if (!text) continue;  // libical leaves out a parameter it cannot write
    out += ';';
    out.append(text.get());
  }
  return true;
}

// `out` from `start` on (one property, its CR LF included) folded as libical folds it.
void foldFrom(std::size_t start, std::string& out) {
  const std::string line = out.substr(start);
  out.resize(start);
  appendFolded(line, out);
}

void appendProperty(icalproperty* property, std::string& out) {
  const std::size_t start = out.size();
  icalvalue* value = ical().icalproperty_get_value(property);
  if (value != nullptr && appendHead(property, ical().icalvalue_isa(value), out)) {
    out += ':';
    if (appendValue(property, value, out)) {
      out.append(kLineEnd);
      if (out.size() - start >= kFoldAt) foldFrom(start, out);
      return;
    }
  }
  out.resize(start);
  const OwnedText text(ical().icalproperty_as_ical_string_r(property));
  if (text) out.append(text.get());
}

void appendComponentWith(icalcomponent* component, std::string& out) {
  const icalcomponent_kind kind = ical().icalcomponent_isa(component);
  const char* kindName = ical().icalcomponent_kind_to_string(kind);
  if (kind == ICAL_X_COMPONENT || kindName == nullptr) {
    const OwnedText text(ical().icalcomponent_as_ical_string_r(component));
    if (text) out.append(text.get());
    return;
  }
  const std::string_view name = kindName;
  out.append("BEGIN:").append(name).append(kLineEnd);
  for (icalproperty* property =
           ical().icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY);
       property != nullptr;
       property = ical().icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
    appendProperty(property, out);
  }
  for (icalcomponent* inner =
           ical().icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
       inner != nullptr;
       inner = ical().icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    appendComponentWith(inner, out);
  }
  out.append("END:").append(name).append(kLineEnd);
}

}  // namespace

void appendComponentLines(icalcomponent* component, std::string& out) {
  appendComponentWith(component, out);
}

}  // namespace vessory::calendar
